#include "xml/tree_writer.h"

#include <libxml/encoding.h>
#include <libxml/globals.h>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>

#include <array>
#include <cstring>

#include "text/compare.h"
#include "text/encoding.h"

namespace velquior::xml::detail {
namespace {

// How ASCII bytes are escaped in each place, as libxml2 escapes them.
enum class Place { kRaw, kText, kAttribute };

using Replacements = std::array<const char*, 128>;

constexpr Replacements MakeReplacements(Place place) {
  Replacements r{};
  if (place == Place::kRaw) return r;
  r['<'] = "&lt;";
  r['>'] = "&gt;";
  r['&'] = "&amp;";
  r['\r'] = "&#13;";
  if (place == Place::kAttribute) {
    r['"'] = "&quot;";
    r['\n'] = "&#10;";
    r['\t'] = "&#9;";
  }
  return r;
}

constexpr Replacements kRawEscapes = MakeReplacements(Place::kRaw);
constexpr Replacements kTextEscapes = MakeReplacements(Place::kText);
constexpr Replacements kAttributeEscapes = MakeReplacements(Place::kAttribute);

constexpr Replacements MakeQuoteEscapes() {
  Replacements r{};
  r['"'] = "&quot;";
  return r;
}
constexpr Replacements kQuoteEscapes = MakeQuoteEscapes();

// libxml2's indent: two spaces a level, never more than 30 levels.
constexpr int kIndentLevels = 30;
constexpr char kSpaces[] = "                                                            ";
static_assert(sizeof(kSpaces) - 1 == std::size_t{2} * kIndentLevels);

class Writer {
 public:
  Writer(Charset charset, std::string& out) : charset_(charset), out_(out) {}

  bool ok() const { return ok_; }

  void Ascii(std::string_view s) { out_.append(s); }

  void Indent(int level) {
    out_.append(kSpaces, 2 * static_cast<std::size_t>(level < kIndentLevels ? level : kIndentLevels));
  }

  // UTF-8 text, with `escapes` applied to its ASCII bytes, in the charset.
  void Put(const xmlChar* utf8, const Replacements& escapes) {
    if (utf8 == nullptr) return;
    const auto* p = reinterpret_cast<const unsigned char*>(utf8);
    const unsigned char* run = p;
    for (;;) {
      const unsigned char b = *p;
      if (b == 0) break;
      if (b < 0x80) {
        if (escapes[b] == nullptr) {
          ++p;
          continue;
        }
        Flush(run, p);
        out_.append(escapes[b]);
        run = ++p;
        continue;
      }
      if (charset_ == Charset::kUtf8) {
        ++p;  // copied as it stands, as libxml2 does without an encoder
        continue;
      }
      Flush(run, p);
      char32_t cp = 0;
      if (!Decode(p, cp)) {
        ok_ = false;
        return;
      }
      const int byte = Encode(cp);
      if (byte >= 0) {
        out_ += static_cast<char>(byte);
      } else {
        out_ += "&#";
        out_ += std::to_string(static_cast<unsigned long>(cp));
        out_ += ';';
      }
      run = p;
    }
    Flush(run, p);
  }

  void Name(const xmlNs* ns, const xmlChar* name) {
    if (ns != nullptr && ns->prefix != nullptr) {
      Put(ns->prefix, kRawEscapes);
      out_ += ':';
    }
    Put(name, kRawEscapes);
  }

 private:
  void Flush(const unsigned char* from, const unsigned char* to) {
    out_.append(reinterpret_cast<const char*>(from), static_cast<std::size_t>(to - from));
  }

  // One well-formed UTF-8 sequence at `p`, which it passes.
  static bool Decode(const unsigned char*& p, char32_t& cp) {
    const unsigned char b = *p;
    int extra;
    if (b >= 0xC2 && b <= 0xDF) {
      cp = b & 0x1F;
      extra = 1;
    } else if (b >= 0xE0 && b <= 0xEF) {
      cp = b & 0x0F;
      extra = 2;
    } else if (b >= 0xF0 && b <= 0xF4) {
      cp = b & 0x07;
      extra = 3;
    } else {
      return false;
    }
    for (int k = 1; k <= extra; ++k) {
      if ((p[k] & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (p[k] & 0x3F);
    }
    if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF)) {
      return false;
    }
    p += extra + 1;
    return true;
  }

  // The byte of a code point past ASCII, or -1 when the charset lacks it.
  int Encode(char32_t cp) const {
    switch (charset_) {
      case Charset::kLatin1:
        return cp < 0x100 ? static_cast<int>(cp) : -1;
      case Charset::kWindows1252:
        // U+0080..U+009F are not in the code page: its bytes there are other
        // characters, or none.
        if (cp < 0xA0) return -1;
        return text::AnsiFromCodePoint(cp);
      default:
        return -1;
    }
  }

  Charset charset_;
  std::string& out_;
  bool ok_ = true;
};

bool HasFormattingBreaker(const xmlNode* element) {
  for (const xmlNode* c = element->children; c != nullptr; c = c->next) {
    if (c->type == XML_TEXT_NODE || c->type == XML_CDATA_SECTION_NODE || c->type == XML_ENTITY_REF_NODE) {
      return true;
    }
  }
  return false;
}

// Declarations of namespaces, their names quoted as libxml2 quotes them:
// in double quotes, in single ones when only a double quote is inside, and
// with the double quotes escaped when both are.
void WriteNamespaces(Writer& w, const xmlNs* ns) {
  for (; ns != nullptr; ns = ns->next) {
    if (ns->type != XML_LOCAL_NAMESPACE || ns->href == nullptr) continue;
    if (ns->prefix != nullptr && xmlStrEqual(ns->prefix, BAD_CAST "xml")) continue;
    if (ns->prefix != nullptr) {
      w.Ascii(" xmlns:");
      w.Put(ns->prefix, kRawEscapes);
    } else {
      w.Ascii(" xmlns");
    }
    const bool double_inside = xmlStrchr(ns->href, '"') != nullptr;
    const bool single_inside = xmlStrchr(ns->href, '\'') != nullptr;
    if (double_inside && !single_inside) {
      w.Ascii("='");
      w.Put(ns->href, kRawEscapes);
      w.Ascii("'");
    } else {
      w.Ascii("=\"");
      w.Put(ns->href, double_inside ? kQuoteEscapes : kRawEscapes);
      w.Ascii("\"");
    }
  }
}

void WriteAttributes(Writer& w, const xmlNode* element) {
  for (const xmlAttr* a = element->properties; a != nullptr; a = a->next) {
    w.Ascii(" ");
    w.Name(a->ns, a->name);
    w.Ascii("=\"");
    for (const xmlNode* c = a->children; c != nullptr; c = c->next) {
      if (c->type == XML_TEXT_NODE) {
        w.Put(c->content, kAttributeEscapes);
      } else if (c->type == XML_ENTITY_REF_NODE) {
        w.Ascii("&");
        w.Put(c->name, kRawEscapes);
        w.Ascii(";");
      }
    }
    w.Ascii("\"");
  }
}

// A CDATA section, split after every "]]" that a ">" follows.
void WriteCdata(Writer& w, const xmlChar* content) {
  if (content == nullptr || *content == 0) {
    w.Ascii("<![CDATA[]]>");
    return;
  }
  std::string_view rest(reinterpret_cast<const char*>(content));
  std::string piece;
  for (;;) {
    const auto end = rest.find("]]>");
    if (end == std::string_view::npos) break;
    piece.assign(rest.substr(0, end + 2));
    w.Ascii("<![CDATA[");
    w.Put(reinterpret_cast<const xmlChar*>(piece.c_str()), kRawEscapes);
    w.Ascii("]]>");
    rest.remove_prefix(end + 2);
  }
  if (!rest.empty()) {
    w.Ascii("<![CDATA[");
    w.Put(reinterpret_cast<const xmlChar*>(rest.data()), kRawEscapes);
    w.Ascii("]]>");
  }
}

}  // namespace

std::optional<Charset> WriterCharset(std::string_view encoding) {
  if (encoding.empty()) return Charset::kUtf8;
  const std::string name(encoding);
  switch (xmlParseCharEncoding(name.c_str())) {
    case XML_CHAR_ENCODING_UTF8:
      return Charset::kUtf8;
    case XML_CHAR_ENCODING_8859_1:
      return Charset::kLatin1;
    default:
      break;
  }
  if (text::EqualsNoCase(name, "US-ASCII") || text::EqualsNoCase(name, "ASCII")) return Charset::kAscii;
  if (text::EqualsNoCase(name, "windows-1252") || text::EqualsNoCase(name, "cp1252")) {
    return Charset::kWindows1252;
  }
  return std::nullopt;
}

bool CanWrite(const xmlNode* top) {
  switch (top->type) {
    case XML_ELEMENT_NODE:
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
    case XML_COMMENT_NODE:
    case XML_PI_NODE:
    case XML_ENTITY_REF_NODE:
      return true;
    default:
      return false;
  }
}

WriteResult WriteNode(const xmlNode* top, Charset charset, std::string& out, const Spill& spill) {
  constexpr std::size_t kSpillAt = 1 << 20;
  Writer w(charset, out);
  int level = 0;
  bool format = true;
  const xmlNode* unformatted = nullptr;  // the element whose content stands as written
  const xmlNode* cur = top;
  for (;;) {
    if (spill && out.size() >= kSpillAt) spill(out);
    switch (cur->type) {
      case XML_ELEMENT_NODE:
        if (cur != top && format) w.Indent(level);
        w.Ascii("<");
        w.Name(cur->ns, cur->name);
        WriteNamespaces(w, cur->nsDef);
        WriteAttributes(w, cur);
        if (cur->children == nullptr) {
          w.Ascii("/>");
          break;
        }
        if (format && HasFormattingBreaker(cur)) {
          format = false;
          unformatted = cur;
        }
        w.Ascii(format ? ">\n" : ">");
        ++level;
        cur = cur->children;
        continue;
      case XML_TEXT_NODE:
        w.Put(cur->content, cur->name == xmlStringTextNoenc ? kRawEscapes : kTextEscapes);
        break;
      case XML_PI_NODE:
        if (cur != top && format) w.Indent(level);
        w.Ascii("<?");
        w.Put(cur->name, kRawEscapes);
        if (cur->content != nullptr) {
          w.Ascii(" ");
          w.Put(cur->content, kRawEscapes);
        }
        w.Ascii("?>");
        break;
      case XML_COMMENT_NODE:
        if (cur != top && format) w.Indent(level);
        if (cur->content != nullptr) {
          w.Ascii("<!--");
          w.Put(cur->content, kRawEscapes);
          w.Ascii("-->");
        }
        break;
      case XML_ENTITY_REF_NODE:
        w.Ascii("&");
        w.Put(cur->name, kRawEscapes);
        w.Ascii(";");
        break;
      case XML_CDATA_SECTION_NODE:
        WriteCdata(w, cur->content);
        break;
      case XML_XINCLUDE_START:
      case XML_XINCLUDE_END:
        break;  // markers that libxml2 writes as nothing
      default:
        return WriteResult::kUnknownNode;  // no parse or conversion puts one inside an element
    }
    // Up to the next sibling, closing the elements left on the way.
    for (;;) {
      if (!w.ok()) return WriteResult::kNotUtf8;
      if (cur == top) return WriteResult::kOk;
      if (format && cur->type != XML_XINCLUDE_START && cur->type != XML_XINCLUDE_END) w.Ascii("\n");
      if (cur->next != nullptr) {
        cur = cur->next;
        break;
      }
      cur = cur->parent;
      if (level > 0) --level;
      if (format) w.Indent(level);
      w.Ascii("</");
      w.Name(cur->ns, cur->name);
      w.Ascii(">");
      if (cur == unformatted) {
        format = true;
        unformatted = nullptr;
      }
    }
  }
}

}  // namespace velquior::xml::detail

// Saving: the document goes back in the form it came in (byte order mark,
// declaration as written, encoding), indented, and replaces its file
// atomically once it has been written whole.

#include <libxml/encoding.h>
#include <libxml/tree.h>
#include <libxml/xmlIO.h>

#include <optional>

#include "common/error.h"
#include "common/files.h"
#include "common/format.h"
#include "common/messages.h"
#include "platform/file_system.h"
#include "xml/doc_state.h"
#include "xml/document.h"
#include "xml/libxml_errors.h"
#include "xml/tree_writer.h"

namespace velquior::xml {
namespace detail {
namespace {

thread_local std::string* t_first_error = nullptr;

void RecordFirst(void*, xmlErrorPtr error) noexcept {
  if (t_first_error != nullptr && t_first_error->empty() && error != nullptr && error->level >= XML_ERR_ERROR) {
    try {
      *t_first_error = CleanMessage(error->message);
    } catch (...) {
      // No exception may cross libxml2's frames; the failure is still seen.
    }
  }
}

int AppendToString(void* context, const char* buffer, int len) {
  try {
    static_cast<std::string*>(context)->append(buffer, static_cast<std::size_t>(len));
    return len;
  } catch (...) {
    return -1;  // no exception may cross libxml2's frames
  }
}

// UTF-8 (as libxml2 writes it, so well formed) to UTF-16 in the given order.
std::string ToUtf16(std::string_view utf8, bool big_endian, bool bom) {
  std::string out;
  out.reserve(utf8.size() * 2 + 2);
  auto unit = [&](char32_t u) {
    char hi = static_cast<char>((u >> 8) & 0xFF), lo = static_cast<char>(u & 0xFF);
    if (big_endian) {
      out += hi;
      out += lo;
    } else {
      out += lo;
      out += hi;
    }
  };
  if (bom) unit(0xFEFF);
  for (std::size_t i = 0; i < utf8.size();) {
    auto b = static_cast<unsigned char>(utf8[i]);
    char32_t cp;
    int extra;
    if (b < 0x80) {
      cp = b;
      extra = 0;
    } else if ((b & 0xE0) == 0xC0) {
      cp = b & 0x1F;
      extra = 1;
    } else if ((b & 0xF0) == 0xE0) {
      cp = b & 0x0F;
      extra = 2;
    } else {
      cp = b & 0x07;
      extra = 3;
    }
    ++i;
    for (int k = 0; k < extra && i < utf8.size(); ++k, ++i) {
      cp = (cp << 6) | (static_cast<unsigned char>(utf8[i]) & 0x3F);
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      unit(0xD800 + (cp >> 10));
      unit(0xDC00 + (cp & 0x3FF));
    } else {
      unit(cp);
    }
  }
  return out;
}

bool IsEncoding(const std::string& name, std::initializer_list<xmlCharEncoding> kinds) {
  xmlCharEncoding e = xmlParseCharEncoding(name.c_str());
  for (auto k : kinds) {
    if (e == k) return true;
  }
  return false;
}

// Sets doc->encoding for the writing: libxml2 writes non-ASCII attribute
// text as character references when a document has none.
class EncodingForWriting {
 public:
  EncodingForWriting(xmlDoc* doc, const char* name) : doc_(doc), saved_(doc->encoding) {
    doc_->encoding = xmlStrdup(reinterpret_cast<const xmlChar*>(name));
  }
  ~EncodingForWriting() {
    xmlFree(const_cast<xmlChar*>(doc_->encoding));
    doc_->encoding = saved_;
  }
  EncodingForWriting(const EncodingForWriting&) = delete;
  EncodingForWriting& operator=(const EncodingForWriting&) = delete;

 private:
  xmlDoc* doc_;
  const xmlChar* saved_;
};

// Appends `node` as libxml2's writer gives it in `encoding` (UTF-8 or a name
// its encoders know).
bool LibxmlWrite(xmlDoc* doc, xmlNode* node, const std::string& encoding, std::string& written, std::string& reason) {
  xmlCharEncodingHandlerPtr handler = nullptr;
  if (encoding != "UTF-8") {
    handler = xmlFindCharEncodingHandler(encoding.c_str());
    if (handler == nullptr) {
      reason = Format(msg::kXmlCodificacionNoAdmitida, {encoding});
      return false;
    }
  }
  std::string first_error;
  t_first_error = &first_error;
  struct Reset {
    ~Reset() { t_first_error = nullptr; }
  } reset;
  ScopedErrorHandler taken(RecordFirst);
  xmlOutputBufferPtr out = xmlOutputBufferCreateIO(AppendToString, nullptr, &written, handler);
  if (out == nullptr) {
    if (handler != nullptr) xmlCharEncCloseFunc(handler);
    throw std::bad_alloc();
  }
  xmlNodeDumpOutput(out, doc, node, 0, 1, encoding.c_str());
  const int error = out->error;
  const int rc = xmlOutputBufferClose(out);
  if (error != 0 || rc < 0) {
    reason = first_error.empty() ? std::string(msg::kXmlErrorDesconocido) : first_error;
    return false;
  }
  return true;
}

// XHTML documents get libxml2's XHTML rules, which the own writer lacks.
bool IsXhtml(xmlDoc* doc) {
  const xmlDtd* dtd = xmlGetIntSubset(doc);
  return dtd != nullptr && dtd->ExternalID != nullptr && xmlIsXHTML(dtd->SystemID, dtd->ExternalID) == 1;
}

}  // namespace

bool SerializeTo(xmlDoc* doc, const ByteSink& sink, std::string& reason, bool libxml_only) {
  InitLibxml();
  reason.clear();
  const SourceForm& form = StateOf(doc).form;
  const bool utf16 = form.utf16 != Utf16::kNo;
  // The bytes of a UTF-16 file are made here from UTF-8; any other encoding
  // is written directly, what it lacks as character references.
  std::string encoding = "UTF-8";
  if (!utf16 && !form.encoding.empty() &&
      !IsEncoding(form.encoding, {XML_CHAR_ENCODING_UTF8, XML_CHAR_ENCODING_UTF16LE, XML_CHAR_ENCODING_UTF16BE})) {
    encoding = form.encoding;
  }
  std::optional<Charset> charset = WriterCharset(encoding);
  if (libxml_only || IsXhtml(doc) || xmlIndentTreeOutput == 0) charset.reset();
  bool first_piece = true;
  // Pieces always end after a whole character, so each converts alone.
  const Spill spill = [&](std::string& buffered) {
    if (utf16) {
      sink(ToUtf16(buffered, form.utf16 == Utf16::kBigEndian, form.bom && first_piece));
    } else {
      sink(buffered);
    }
    first_piece = false;
    buffered.clear();
  };
  std::string written;
  written.reserve(std::size_t{1} << 21);
  EncodingForWriting as(doc, encoding.c_str());
  // A byte order mark stays only where the bytes are UTF-8 or UTF-16.
  if (form.bom && !utf16 && encoding == "UTF-8") written += "\xEF\xBB\xBF";
  if (!form.declaration.empty()) {
    written += form.declaration;
    written += '\n';
  }
  for (xmlNode* n = doc->children; n != nullptr; n = n->next) {
    if (charset && CanWrite(n)) {
      const WriteResult r = WriteNode(n, *charset, written, spill);
      if (r != WriteResult::kOk) {
        reason = r == WriteResult::kNotUtf8 ? msg::kXmlTextoNoUtf8 : msg::kXmlNodoDesconocido;
        return false;
      }
    } else if (!LibxmlWrite(doc, n, encoding, written, reason)) {
      return false;
    }
    written += '\n';
  }
  if (!written.empty() || first_piece) spill(written);
  return true;
}

bool Serialize(xmlDoc* doc, std::string& bytes, std::string& reason, bool libxml_only) {
  bytes.clear();
  const bool ok = SerializeTo(
      doc, [&](std::string_view piece) { bytes.append(piece); }, reason, libxml_only);
  if (!ok) bytes.clear();
  return ok;
}

}  // namespace detail

namespace {

[[noreturn]] void ThrowSave(const std::filesystem::path& file, std::string_view reason) {
  throw Error(Format(msg::kXmlNoSePuedeGuardar, {PathForMessage(file), reason}));
}

// The write bits count even for root: a file or folder someone marked
// read-only is not written over by this program.
void CheckWritable(const std::filesystem::path& file) {
  using platform::FileKind;
  if (const FileKind kind = platform::KindOf(file); kind != FileKind::kMissing) {
    if (kind == FileKind::kDirectory) throw Error(Format(msg::kEsUnDirectorio, {PathForMessage(file)}));
    if (kind != FileKind::kRegular) ThrowSave(file, msg::kXmlNoEsArchivoNormal);
    if (platform::IsReadOnly(file)) ThrowSave(file, msg::kXmlSoloLectura);
    if (auto error = platform::CheckWriteAccess(file)) ThrowSave(file, error.message());
  }
  std::filesystem::path dir = file.parent_path();
  if (dir.empty()) dir = ".";
  if (platform::KindOf(dir) == FileKind::kDirectory) {
    if (platform::IsReadOnly(dir)) {
      ThrowSave(file, Format(msg::kXmlDirectorioSoloLectura, {PathForMessage(dir)}));
    }
    if (auto error = platform::CheckWriteAccess(dir)) ThrowSave(file, error.message());
  }
}

}  // namespace

void Document::save(const std::filesystem::path& file) const {
  // An empty document (a failed load) must never replace a file.
  if (doc_ == nullptr || xmlDocGetRootElement(doc_) == nullptr) ThrowSave(file, msg::kXmlSinRaiz);
  // A link stays a link: the document it points to is the one replaced.
  std::error_code ec;
  std::filesystem::path target = file;
  if (std::filesystem::is_symlink(file, ec)) {
    auto resolved = std::filesystem::weakly_canonical(file, ec);
    if (!ec) target = resolved;
  }
  CheckWritable(target);
  // Written as it is made: an import's document can be tens of megabytes.
  AtomicReplaceFile(target, [&](const ByteSink& sink) {
    std::string reason;
    if (!detail::SerializeTo(doc_, sink, reason)) ThrowSave(file, reason);
  });
}

std::string Document::saveToString() const {
  if (doc_ == nullptr || xmlDocGetRootElement(doc_) == nullptr) {
    throw Error(Format(msg::kXmlNoSePuedeSerializar, {msg::kXmlSinRaiz}));
  }
  std::string bytes, reason;
  if (!detail::Serialize(doc_, bytes, reason)) throw Error(Format(msg::kXmlNoSePuedeSerializar, {reason}));
  return bytes;
}

}  // namespace velquior::xml

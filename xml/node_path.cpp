#include "xml/node_path.h"

#include <algorithm>

#include "text/encoding.h"

namespace velquior::xml::detail {
namespace {

const char* U(const xmlChar* s) { return reinterpret_cast<const char*>(s); }

}  // namespace

// `ansi` as UTF-8: the text itself when it is ASCII (every SAGA name is),
// else its conversion kept in `storage`. Names are looked up thousands of
// times per run.
std::string_view AsUtf8(std::string_view ansi, std::string& storage) {
  if (std::none_of(ansi.begin(), ansi.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; })) {
    return ansi;
  }
  storage = text::AnsiToUtf8(ansi);
  return storage;
}

bool NameEquals(const xmlChar* local, const xmlNs* ns, std::string_view qname) {
  std::string_view name = U(local);
  if (ns != nullptr && ns->prefix != nullptr) {
    std::string_view prefix = U(ns->prefix);
    return qname.size() == prefix.size() + 1 + name.size() && qname.starts_with(prefix) &&
           qname[prefix.size()] == ':' && qname.ends_with(name);
  }
  return qname == name;
}

// The qualified name ("prefix:local" or "local") of an element or attribute, UTF-8.
std::string QualifiedName(const xmlChar* local, const xmlNs* ns) {
  std::string out;
  if (ns != nullptr && ns->prefix != nullptr) {
    out = U(ns->prefix);
    out += ':';
  }
  if (local != nullptr) out += U(local);
  return out;
}

// DOM's name of a node, UTF-8.
std::string NameOf(const xmlNode* n) {
  switch (n->type) {
    case XML_ELEMENT_NODE:
      return QualifiedName(n->name, n->ns);
    case XML_TEXT_NODE:
      return "#text";
    case XML_CDATA_SECTION_NODE:
      return "#cdata-section";
    case XML_COMMENT_NODE:
      return "#comment";
    case XML_DOCUMENT_NODE:
      return "#document";
    default:
      return n->name != nullptr ? U(n->name) : "";
  }
}

// The child elements reached from `context` along `path`, in document order;
// an absolute path starts from the document node. With `first_only` the walk
// ends at the first match. A path with an empty step selects nothing. Steps
// are read in place: the conversions select thousands of times per run.
std::vector<xmlNode*> Select(xmlNode* context, std::string_view path, bool first_only) {
  std::vector<xmlNode*> current;
  if (context == nullptr) return current;
  if (path.starts_with('/')) {
    if (context->doc == nullptr) return current;
    context = reinterpret_cast<xmlNode*>(context->doc);
    path.remove_prefix(1);
  }
  std::string storage;
  path = AsUtf8(path, storage);
  if (path.empty()) return current;
  current.push_back(context);
  std::vector<xmlNode*> next;
  for (;;) {
    const auto slash = path.find('/');
    const std::string_view step = path.substr(0, slash);
    const bool last = slash == std::string_view::npos;
    if (step.empty()) return {};
    next.clear();
    for (xmlNode* parent : current) {
      // Attributes and entity references have children that are no element's.
      if (parent->type != XML_ELEMENT_NODE && parent->type != XML_DOCUMENT_NODE) continue;
      for (xmlNode* c = parent->children; c != nullptr; c = c->next) {
        if (c->type == XML_ELEMENT_NODE && NameEquals(c->name, c->ns, step)) {
          next.push_back(c);
          if (last && first_only) return next;
        }
      }
    }
    current.swap(next);
    if (last || current.empty()) break;
    path.remove_prefix(slash + 1);
  }
  return current;
}

}  // namespace velquior::xml::detail

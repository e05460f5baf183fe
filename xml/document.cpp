#include "xml/document.h"

#include <algorithm>

#include <libxml/tree.h>
// After tree.h: it needs the xmlChar that tree.h brings.
#include <libxml/dict.h>

#include <cstddef>
#include <cstring>
#include <new>
#include <vector>

#include "common/error.h"
#include "common/format.h"
#include "common/messages.h"
#include "text/encoding.h"
#include "xml/doc_state.h"
#include "xml/node_path.h"

namespace velquior::xml {
namespace detail {

DocState& StateOf(xmlDoc* doc) {
  if (doc->_private == nullptr) doc->_private = new DocState();
  return *static_cast<DocState*>(doc->_private);
}

void FreeDocument(xmlDoc* doc) {
  if (doc == nullptr) return;
  if (auto* state = static_cast<DocState*>(doc->_private)) {
    // Collect first: freeing a root frees the loose nodes below it too.
    std::vector<xmlNode*>& loose = state->loose;
    std::sort(loose.begin(), loose.end());
    loose.erase(std::unique(loose.begin(), loose.end()), loose.end());
    std::vector<xmlNode*> roots;
    for (xmlNode* n : loose) {
      if (n->parent == nullptr) roots.push_back(n);
    }
    for (xmlNode* n : roots) xmlFreeNode(n);
    delete state;
    doc->_private = nullptr;
  }
  xmlFreeDoc(doc);
}

}  // namespace detail

namespace {

using detail::AsUtf8;
using detail::NameEquals;
using detail::NameOf;
using detail::QualifiedName;
using detail::Select;

const char* U(const xmlChar* s) { return reinterpret_cast<const char*>(s); }

bool IsXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view TrimXmlSpace(std::string_view s) {
  while (!s.empty() && IsXmlSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsXmlSpace(s.back())) s.remove_suffix(1);
  return s;
}

// Text and CDATA below `n` in document order. Entity references are not
// entered: their children belong to the declaration and expanding them is
// what an entity bomb relies on.
void AppendDescendantText(const xmlNode* n, std::string& out) {
  const xmlNode* cur = n->children;
  while (cur != nullptr) {
    if (cur->type == XML_TEXT_NODE || cur->type == XML_CDATA_SECTION_NODE) {
      if (cur->content != nullptr) out += U(cur->content);
    } else if (cur->type == XML_ELEMENT_NODE && cur->children != nullptr) {
      cur = cur->children;
      continue;
    }
    while (cur != n && cur->next == nullptr) cur = cur->parent;
    if (cur == n) break;
    cur = cur->next;
  }
}

[[noreturn]] void ThrowNotElement(const xmlNode* n) { throw Error(Format(msg::kXmlNoEsElemento, {NameOf(n)})); }

bool IsAsciiNameChar(unsigned char c, bool first) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_') return true;
  return !first && ((c >= '0' && c <= '9') || c == '-' || c == '.');
}

// Refuses a name XML cannot carry. The plain ASCII names every SAGA element
// and attribute has are told apart without libxml2, which checks character
// classes for each call.
void CheckName(std::string_view utf8_name) {
  bool plain = !utf8_name.empty();
  for (std::size_t i = 0; plain && i < utf8_name.size(); ++i) {
    plain = IsAsciiNameChar(static_cast<unsigned char>(utf8_name[i]), i == 0);
  }
  if (plain) return;
  std::string name(utf8_name);
  if (name.empty() || name.size() != std::strlen(name.c_str()) ||
      xmlValidateName(reinterpret_cast<const xmlChar*>(name.c_str()), 0) != 0) {
    throw Error(Format(msg::kXmlNombreNoValido, {name}));
  }
}

// `name` as libxml2 keeps it: in the document's dictionary when it has one.
// The names are few and repeated for every node.
const xmlChar* DocName(xmlDoc* doc, std::string_view utf8_name) {
  const auto* n = reinterpret_cast<const xmlChar*>(utf8_name.data());
  const int len = static_cast<int>(utf8_name.size());
  const xmlChar* name = doc->dict != nullptr ? xmlDictLookup(doc->dict, n, len) : xmlStrndup(n, len);
  if (name == nullptr) throw std::bad_alloc();
  return name;
}

// A text node holding `utf8`. Short texts live inside the node, as libxml2's
// own compact parsing keeps them, which spares an allocation for each of an
// import's many short values; libxml2 frees both forms alike.
xmlNode* NewText(xmlDoc* doc, std::string_view utf8) {
  xmlNode* t = xmlNewDocText(doc, nullptr);
  if (t == nullptr) throw std::bad_alloc();
  // The two pointer fields a text node never uses, as bytes.
  constexpr std::size_t kInline = sizeof(t->properties) + sizeof(t->nsDef);  // NOLINT(bugprone-sizeof-expression)
  static_assert(offsetof(xmlNode, nsDef) ==
                offsetof(xmlNode, properties) + sizeof(t->properties));  // NOLINT(bugprone-sizeof-expression)
  if (utf8.size() < kInline) {
    auto* inside = reinterpret_cast<xmlChar*>(&t->properties);
    std::memcpy(inside, utf8.data(), utf8.size());
    inside[utf8.size()] = 0;
    t->content = inside;
  } else {
    t->content = xmlStrndup(reinterpret_cast<const xmlChar*>(utf8.data()), static_cast<int>(utf8.size()));
    if (t->content == nullptr) {
      xmlFreeNode(t);
      throw std::bad_alloc();
    }
  }
  return t;
}

}  // namespace

// ---- Attribute, AttributeMap ------------------------------------------------

std::string Attribute::name() const { return text::Utf8ToAnsi(QualifiedName(attr_->name, attr_->ns)); }

std::string Attribute::text() const {
  const xmlNode* only = attr_->children;
  if (only != nullptr && only->next == nullptr && only->type == XML_TEXT_NODE) {
    return only->content != nullptr ? text::Utf8ToAnsi(U(only->content)) : std::string();
  }
  std::string value;
  for (const xmlNode* c = attr_->children; c != nullptr; c = c->next) {
    if (c->type == XML_TEXT_NODE && c->content != nullptr) value += U(c->content);
  }
  return text::Utf8ToAnsi(value);
}

long AttributeMap::length() const {
  if (node_ == nullptr || node_->type != XML_ELEMENT_NODE) return 0;
  long n = 0;
  for (const xmlAttr* a = node_->properties; a != nullptr; a = a->next) ++n;
  return n;
}

std::optional<Attribute> AttributeMap::getNamedItem(std::string_view name) const {
  if (node_ == nullptr || node_->type != XML_ELEMENT_NODE) return std::nullopt;
  std::string storage;
  const std::string_view utf8 = AsUtf8(name, storage);
  for (xmlAttr* a = node_->properties; a != nullptr; a = a->next) {
    if (NameEquals(a->name, a->ns, utf8)) return Attribute(a);
  }
  return std::nullopt;
}

std::optional<Attribute> AttributeMap::item(long index) const {
  if (index < 0 || node_ == nullptr || node_->type != XML_ELEMENT_NODE) return std::nullopt;
  xmlAttr* a = node_->properties;
  for (; a != nullptr && index > 0; a = a->next) --index;
  if (a == nullptr) return std::nullopt;
  return Attribute(a);
}

// ---- NodeList, Node ---------------------------------------------------------

std::optional<Node> NodeList::item(long index) const {
  if (index < 0 || index >= length()) return std::nullopt;
  return Node(nodes_[static_cast<std::size_t>(index)]);
}

NodeList Node::selectNodes(std::string_view path) const { return NodeList(Select(node_, path, false)); }

std::optional<Node> Node::selectSingleNode(std::string_view path) const {
  auto found = Select(node_, path, true);
  if (found.empty()) return std::nullopt;
  return Node(found.front());
}

AttributeMap Node::attributes() const { return AttributeMap(node_); }

NodeList Node::childNodes() const {
  std::vector<xmlNode*> children;
  if (node_->type == XML_ELEMENT_NODE) {
    for (xmlNode* c = node_->children; c != nullptr; c = c->next) children.push_back(c);
  }
  return NodeList(std::move(children));
}

std::string Node::text() const {
  std::string joined;
  switch (node_->type) {
    case XML_ELEMENT_NODE:
      AppendDescendantText(node_, joined);
      break;
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
    case XML_COMMENT_NODE:
    case XML_PI_NODE:
      if (node_->content != nullptr) joined = U(node_->content);
      break;
    default:
      break;
  }
  return text::Utf8ToAnsi(TrimXmlSpace(joined));
}

std::string Node::nodeName() const { return text::Utf8ToAnsi(NameOf(node_)); }

Node Node::appendChild(Node child) {
  xmlNode* c = child.node_;
  // Refused: a foreign node, a node into itself or its own subtree, and any
  // parent that is not an element.
  bool ok = node_->type == XML_ELEMENT_NODE && c != nullptr && c->doc == node_->doc && c->type != XML_ATTRIBUTE_NODE &&
            c->type != XML_DOCUMENT_NODE && c->type != XML_DTD_NODE;
  for (xmlNode* up = node_; ok && up != nullptr; up = up->parent) ok = up != c;
  if (!ok) throw Error(Format(msg::kXmlNoSePuedeAnadir, {c ? NameOf(c) : "", NameOf(node_)}));
  // Linked by hand: xmlAddChild would merge adjacent text nodes and free the
  // one the caller holds.
  xmlUnlinkNode(c);
  c->parent = node_;
  c->prev = node_->last;
  c->next = nullptr;
  if (node_->last != nullptr) {
    node_->last->next = c;
  } else {
    node_->children = c;
  }
  node_->last = c;
  return child;
}

void Node::removeChild(Node child) {
  xmlNode* c = child.node_;
  if (c == nullptr || c->parent != node_) {
    throw Error(Format(msg::kXmlNoEsHijo, {c ? NameOf(c) : "", NameOf(node_)}));
  }
  xmlUnlinkNode(c);
  // Kept until the document dies, so a handle the caller still holds stays valid.
  detail::StateOf(node_->doc).loose.push_back(c);
}

void Node::setAttribute(std::string_view name, std::string_view ansi_value) {
  if (node_->type != XML_ELEMENT_NODE) ThrowNotElement(node_);
  std::string name_storage, value_storage;
  const std::string_view utf8_name = AsUtf8(name, name_storage);
  CheckName(utf8_name);
  // A byte XML 1.0 cannot carry would make the saved file unreadable.
  for (char ch : ansi_value) {
    auto b = static_cast<unsigned char>(ch);
    if (b < 0x20 && b != '\t' && b != '\n' && b != '\r') {
      throw Error(Format(msg::kXmlCaracterNoValido, {std::string(utf8_name), std::to_string(b)}));
    }
  }
  const std::string_view utf8_value = AsUtf8(ansi_value, value_storage);
  // An existing attribute keeps its place; xmlSetProp replaces the value in it.
  for (xmlAttr* a = node_->properties; a != nullptr; a = a->next) {
    if (NameEquals(a->name, a->ns, utf8_name)) {
      const std::string value(utf8_value);
      if (xmlSetNsProp(node_, a->ns, a->name, reinterpret_cast<const xmlChar*>(value.c_str())) == nullptr) {
        throw std::bad_alloc();
      }
      return;
    }
  }
  // A new one is built as xmlNewProp builds it, its text made by NewText.
  xmlNode* value = NewText(node_->doc, utf8_value);
  const std::string terminated(utf8_name);
  xmlAttr* attr = xmlNewDocProp(node_->doc, reinterpret_cast<const xmlChar*>(terminated.c_str()), nullptr);
  if (attr == nullptr) {
    xmlFreeNode(value);
    throw std::bad_alloc();
  }
  attr->parent = node_;
  attr->children = attr->last = value;
  value->parent = reinterpret_cast<xmlNode*>(attr);
  if (node_->properties == nullptr) {
    node_->properties = attr;
  } else {
    xmlAttr* last = node_->properties;
    while (last->next != nullptr) last = last->next;
    last->next = attr;
    attr->prev = last;
  }
}

// ---- Document ---------------------------------------------------------------

Document::Document() { detail::InitLibxml(); }

Document::~Document() { detail::FreeDocument(doc_); }

Document::Document(Document&& other) noexcept : doc_(other.doc_) { other.doc_ = nullptr; }

Document& Document::operator=(Document&& other) noexcept {
  if (this != &other) {
    detail::FreeDocument(doc_);
    doc_ = other.doc_;
    other.doc_ = nullptr;
  }
  return *this;
}

std::optional<Node> Document::documentElement() const {
  if (doc_ == nullptr) return std::nullopt;
  xmlNode* root = xmlDocGetRootElement(doc_);
  if (root == nullptr) return std::nullopt;
  return Node(root);
}

Node Document::createElement(std::string_view name) {
  std::string storage;
  const std::string_view utf8 = AsUtf8(name, storage);
  CheckName(utf8);
  if (doc_ == nullptr) {
    doc_ = xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0"));
    if (doc_ == nullptr) throw std::bad_alloc();
  }
  detail::DocState& state = detail::StateOf(doc_);
  xmlNode* n = xmlNewDocNodeEatName(doc_, nullptr, const_cast<xmlChar*>(DocName(doc_, utf8)), nullptr);
  if (n == nullptr) throw std::bad_alloc();
  try {
    state.loose.push_back(n);
  } catch (...) {
    xmlFreeNode(n);
    throw;
  }
  return Node(n);
}

NodeList Document::selectNodes(std::string_view path) const {
  if (doc_ == nullptr) return NodeList();
  return NodeList(Select(reinterpret_cast<xmlNode*>(doc_), path, false));
}

}  // namespace velquior::xml

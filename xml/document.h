#pragma once
// The SAGA document as the conversions use it: a small DOM over libxml2 with
// the operation names the conversions are written against.
//
// Texts in and out are Windows-1252 (text/encoding.h): a character that the
// code page cannot hold reads as "?". Only the values the conversions read
// pass through Windows-1252; the rest of the document stays as loaded.
//
// Paths are element names joined by "/": absolute ("/document/groups/group")
// from a Document, relative ("assigned-subjects/assigned-subject") from a
// Node. They select child elements only, in document order.
//
// Nodes are light handles into their Document; they stay valid while the
// Document lives and the node is in it.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// libxml2's own names, declared so that this header needs none of its.
struct _xmlNode;  // NOLINT(bugprone-reserved-identifier)
struct _xmlAttr;  // NOLINT(bugprone-reserved-identifier)
struct _xmlDoc;   // NOLINT(bugprone-reserved-identifier)

namespace velquior::xml {

class Node;
class NodeList;

class Attribute {
 public:
  explicit Attribute(_xmlAttr* attr) : attr_(attr) {}
  std::string name() const;
  std::string text() const;  // the value, Windows-1252
 private:
  _xmlAttr* attr_;
};

class AttributeMap {
 public:
  explicit AttributeMap(_xmlNode* node) : node_(node) {}
  long length() const;
  std::optional<Attribute> getNamedItem(std::string_view name) const;
  std::optional<Attribute> item(long index) const;

 private:
  _xmlNode* node_;
};

class Node {
 public:
  explicit Node(_xmlNode* node) : node_(node) {}
  NodeList selectNodes(std::string_view path) const;
  std::optional<Node> selectSingleNode(std::string_view path) const;
  AttributeMap attributes() const;
  NodeList childNodes() const;
  // The joined text of all descendants, without leading and trailing XML
  // white space (space, tab, CR, LF); white space inside stays. References
  // to entities declared in the document are not expanded.
  std::string text() const;
  std::string nodeName() const;
  Node appendChild(Node child);  // adds as the last child; returns it
  void removeChild(Node child);
  void setAttribute(std::string_view name, std::string_view ansi_value);
  bool operator==(const Node&) const = default;
  _xmlNode* raw() const { return node_; }

 private:
  _xmlNode* node_;
};

class NodeList {
 public:
  NodeList() = default;
  explicit NodeList(std::vector<_xmlNode*> nodes) : nodes_(std::move(nodes)) {}
  long length() const { return static_cast<long>(nodes_.size()); }
  std::optional<Node> item(long index) const;  // nothing past the end
 private:
  std::vector<_xmlNode*> nodes_;
};

// Outcome of a load: whether it worked, and if not where and why.
struct LoadResult {
  bool ok = false;
  int line = 0;        // 0 when the failure has no position
  std::string reason;  // UTF-8, the parser's words
  // The error box's text for a failed load of `file`, UTF-8.
  std::string message(const std::filesystem::path& file) const;
};

class Document {
 public:
  Document();  // empty: no document element
  ~Document();
  Document(Document&&) noexcept;
  Document& operator=(Document&&) noexcept;

  // Loads safely for untrusted files: no network, no DTD loading, no
  // external entities, no entity substitution, default parser limits.
  // White-space-only text between elements is dropped. On failure the
  // document is left empty. Never raises.
  LoadResult load(const std::filesystem::path& file);
  LoadResult loadXml(std::string_view bytes);  // same, from memory

  std::optional<Node> documentElement() const;
  Node createElement(std::string_view name);
  NodeList selectNodes(std::string_view path) const;

  // Writes the whole document, indented, in its own encoding and with its
  // own declaration, replacing the file atomically (common/files.h). Raises
  // Error naming the file on failure; the old file then stays whole.
  void save(const std::filesystem::path& file) const;
  std::string saveToString() const;  // the bytes save() would write

 private:
  _xmlDoc* doc_ = nullptr;
};

}  // namespace velquior::xml

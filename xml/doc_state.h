#pragma once
// What a Document keeps beside libxml2's tree (in xmlDoc::_private): how the
// file looked on disk, so that saving writes it back in the same form, and
// the nodes outside the tree, which libxml2 would never free.

#include <string>
#include <string_view>
#include <unordered_set>

struct _xmlDoc;
struct _xmlNode;

namespace velquior::xml::detail {

enum class Utf16 { kNo, kLittleEndian, kBigEndian };

// The outward form of a document, read from its first bytes.
struct SourceForm {
  bool bom = false;         // a byte order mark (UTF-8 or UTF-16) led the file
  Utf16 utf16 = Utf16::kNo;
  std::string declaration;  // the XML declaration as written, ASCII; empty when absent
  std::string encoding;     // declared encoding name; empty for UTF-8 by default
};

SourceForm ReadSourceForm(std::string_view bytes);

struct DocState {
  SourceForm form;
  // Created or removed nodes. Those without a parent when the document dies
  // are the roots of the subtrees to free.
  std::unordered_set<_xmlNode*> detached;
};

// The state of `doc`, created on first use.
DocState& StateOf(_xmlDoc* doc);
// Frees the detached subtrees, the state and the tree.
void FreeDocument(_xmlDoc* doc);

// The document's bytes in its own form, indented: by the own writer where it
// covers the nodes, else, and always with `libxml_only`, by libxml2's, which
// gives the same bytes. False, with the reason
// (UTF-8), when libxml2 cannot write it.
bool Serialize(_xmlDoc* doc, std::string& bytes, std::string& reason, bool libxml_only = false);

// Installs the process-wide libxml2 settings the program relies on (the
// external entity loader that refuses everything). Idempotent.
void InitLibxml();

}  // namespace velquior::xml::detail

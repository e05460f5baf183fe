#pragma once
// What a Document keeps beside libxml2's tree (in xmlDoc::_private): how the
// file looked on disk, so that saving writes it back in the same form, and
// the nodes outside the tree, which libxml2 would never free.

#include <string>
#include <string_view>
#include <vector>

#include "common/files.h"

struct _xmlDoc;
struct _xmlNode;

namespace velquior::xml::detail {

enum class Utf16 { kNo, kLittleEndian, kBigEndian };

// The outward form of a document, read from its first bytes.
struct SourceForm {
  bool bom = false;  // a byte order mark (UTF-8 or UTF-16) led the file
  Utf16 utf16 = Utf16::kNo;
  std::string declaration;  // the XML declaration as written, ASCII; empty when absent
  std::string encoding;     // declared encoding name; empty for UTF-8 by default
};

SourceForm ReadSourceForm(std::string_view bytes);

struct DocState {
  SourceForm form;
  // Every node created or removed, some more than once: a list, as an
  // import creates hundreds of thousands. Those without a parent when the
  // document dies are the roots of the subtrees to free.
  std::vector<_xmlNode*> loose;
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
// The same bytes given to `sink` in pieces of about a megabyte. On failure
// some pieces may have gone out already.
bool SerializeTo(_xmlDoc* doc, const ByteSink& sink, std::string& reason, bool libxml_only = false);

// Installs the process-wide libxml2 settings the program relies on (the
// external entity loader that refuses everything, the Windows-1252
// encoding). Idempotent.
void InitLibxml();

}  // namespace velquior::xml::detail

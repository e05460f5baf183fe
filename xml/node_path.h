#pragma once
// Names of nodes, and the paths the document selects by: steps of child
// elements by qualified name ("/document/teachers/teacher"), nothing more.

#include <libxml/tree.h>

#include <string>
#include <string_view>
#include <vector>

namespace velquior::xml::detail {

// `ansi` as UTF-8: the text itself when it is ASCII (every SAGA name is),
// else its conversion kept in `storage`. Names are looked up thousands of
// times per run.
std::string_view AsUtf8(std::string_view ansi, std::string& storage);

// Whether the element or attribute named `local` in `ns` has the qualified
// name `qname` (UTF-8).
bool NameEquals(const xmlChar* local, const xmlNs* ns, std::string_view qname);

// The qualified name ("prefix:local" or "local") of an element or attribute, UTF-8.
std::string QualifiedName(const xmlChar* local, const xmlNs* ns);

// DOM's name of a node, UTF-8.
std::string NameOf(const xmlNode* n);

// The child elements reached from `context` along `path`, in document order;
// an absolute path starts from the document node. With `first_only` the walk
// ends at the first match. A path with an empty step selects nothing.
std::vector<xmlNode*> Select(xmlNode* context, std::string_view path, bool first_only);

}  // namespace velquior::xml::detail

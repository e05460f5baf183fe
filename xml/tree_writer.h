#pragma once
// The document's own writer: the bytes libxml2's indented writer
// (xmlNodeDumpOutput with format on) gives for a top-level node, made
// straight into the target encoding in one pass. libxml2's writer goes
// through a chain of buffers and an encoder and was most of an import's time.
//
// It covers what a SAGA document holds: elements, attributes, text, CDATA,
// comments, processing instructions and entity references. Anything else
// (a DTD, namespace declarations, XInclude markers) is left to libxml2.

#include <optional>
#include <string>
#include <string_view>

struct _xmlNode;

namespace velquior::xml::detail {

// Encodings whose bytes the writer makes itself.
enum class Charset { kUtf8, kLatin1, kAscii, kWindows1252 };

// The charset of a declared encoding name; nothing for the others, which
// libxml2's encoders write.
std::optional<Charset> WriterCharset(std::string_view encoding);

// Whether WriteNode covers `top` and everything below it.
bool CanWrite(const _xmlNode* top);

// Appends `top`, written at level 0 as libxml2 writes it: indented by two
// spaces a level (at most 60), elements with text, CDATA or entity
// references inside written as they stand, characters that `charset` lacks
// as "&#N;". False, with `out` as it was, when the tree holds text that is
// not UTF-8 (libxml2's encoder then gives the reason) or a node CanWrite
// refuses.
bool WriteNode(const _xmlNode* top, Charset charset, std::string& out);

}  // namespace velquior::xml::detail

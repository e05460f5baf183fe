#pragma once
// The document's own writer: the bytes libxml2's indented writer
// (xmlNodeDumpOutput with format on) gives for a top-level node, made
// straight into the target encoding in one pass. libxml2's writer goes
// through a chain of buffers and an encoder and was most of an import's time.
//
// It covers what a document's elements hold: attributes, namespace
// declarations, text, CDATA, comments, processing instructions and entity
// references. A DTD is left to libxml2.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

struct _xmlNode;  // NOLINT(bugprone-reserved-identifier): libxml2's name

namespace velquior::xml::detail {

// Encodings whose bytes the writer makes itself.
enum class Charset { kUtf8, kLatin1, kAscii, kWindows1252 };

// The charset of a declared encoding name; nothing for the others, which
// libxml2's encoders write.
std::optional<Charset> WriterCharset(std::string_view encoding);

// Whether WriteNode covers a top-level node of this kind (a DTD it leaves
// to libxml2).
bool CanWrite(const _xmlNode* top);

// Takes the bytes gathered so far out of the buffer, which then goes on
// filling from empty.
using Spill = std::function<void(std::string& buffered)>;

enum class WriteResult {
  kOk,
  kNotUtf8,      // text that is not UTF-8, in a charset other than UTF-8
  kUnknownNode,  // a kind of node no element holds in a parsed or converted tree
};

// Appends `top`, which CanWrite must accept, written at level 0 as libxml2
// writes it: indented by two spaces a level (at most 60), elements with
// text, CDATA or entity references inside written as they stand, characters
// that `charset` lacks as "&#N;". Whenever a megabyte has gathered in `out`
// it goes to `spill`, if given, always after a whole character. On failure
// what was written for `top` is to be dropped.
WriteResult WriteNode(const _xmlNode* top, Charset charset, std::string& out, const Spill& spill = {});

}  // namespace velquior::xml::detail

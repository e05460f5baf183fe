#pragma once
// JSON output of the command line: texts as JSON strings.

#include <string>
#include <string_view>

namespace velquior::cli {

// `utf8` quoted, with the characters JSON reserves escaped.
std::string JsonString(std::string_view utf8);

}  // namespace velquior::cli

#pragma once
// The bytes that the help compiler used here writes differently on every
// run, set to fixed values so that the shipped help file is the same from
// build to build: the compile time in #SYSTEM, and the record count of the
// keyword maps, which it leaves uninitialised.

#include <string>
#include <string_view>

namespace velquior::help {

// #SYSTEM with its timestamp record (code 10) zeroed; the other records as
// they were. Throws std::runtime_error when the records do not parse.
std::string ClearSystemTimestamp(std::string_view system);

// A $WW...Links/Map (a 16-bit record count, then 8-byte records: first
// keyword of a listing block, block number) with its count set to the number
// of records it holds. Throws std::runtime_error when the size does not fit.
std::string SetKeywordMapCount(std::string_view map);

// Applies the above to the objects they concern; other objects unchanged.
std::string WithoutCompilerVariance(std::string_view name, std::string_view bytes);

}  // namespace velquior::help

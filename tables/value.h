#pragma once
// One stored value as the reader decodes it, for callers that want the type
// (the dump command, tests). Texts are Windows-1252 without trailing blanks.

#include <cstdint>
#include <string>
#include <variant>

namespace velquior::tables {

struct Null {
  bool operator==(const Null&) const = default;
};

// Integer for N without decimals, I, +, and whole-number Y; Float for N with
// decimals, F, B, O; bool for L; text for C, D (as YYYYMMDD), @ (as
// "YYYYMMDD HH:MM:SS") and memo fields (always empty).
using Value = std::variant<Null, std::string, std::int64_t, double, bool>;

}  // namespace velquior::tables

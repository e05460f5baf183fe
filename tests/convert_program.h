#pragma once
// Where the build put the command-line converter.

#include <string>

namespace velquior::testing {

inline const std::string kConvert = VELQUIOR_CONVERT_BIN;

}  // namespace velquior::testing

#pragma once
// Random parts of new file names, for platform/windows.

#include <string>

namespace velquior::platform {

// Six random letters or digits, as mkstemp puts in a name.
std::wstring RandomNameSuffix();

}  // namespace velquior::platform

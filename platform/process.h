#pragma once
// The command line as the system gave it.

#include <string>
#include <vector>

namespace velquior::platform {

// The arguments after the program's name, in UTF-8. `argc` and `argv` are
// main's; where the system keeps a wider form of the command line (Windows)
// that one is read, so that no character is lost to a narrow code page.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

}  // namespace velquior::platform

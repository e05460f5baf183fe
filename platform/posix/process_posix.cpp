#include "platform/process.h"

namespace velquior::platform {

// The bytes are the file names' own: nothing to convert.
std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  if (argc < 1) return {};
  return std::vector<std::string>(argv + 1, argv + argc);
}

}  // namespace velquior::platform

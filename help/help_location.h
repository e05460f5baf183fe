#pragma once
// Where the window finds its help file: beside the program, as on Windows
// and in a build folder, else where an installation under a prefix puts it
// (prefix/bin/velquior, prefix/share/velquior/SAGA.chm).

#include <string>
#include <string_view>

namespace velquior::help {

// The folder, ending in a separator, that holds `file`: `exe_dir` when the
// file is there or in neither place, so that a missing help stays missing
// beside the program as before.
std::string HelpDirectory(const std::string& exe_dir, std::string_view file);

}  // namespace velquior::help

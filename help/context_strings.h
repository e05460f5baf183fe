#pragma once
// The strings of a .chm's context map (#STRINGS at the offsets #IVB lists)
// rewritten to page names inside the file: the help compiler used here
// stores the page's absolute path on the build machine, which standard
// readers cannot follow and which makes the file depend on the build folder.

#include <string>
#include <string_view>
#include <vector>

namespace velquior::help {

// `strings` with every context string that is an absolute path ending in an
// object's path replaced by that object's name without the leading slash
// ("index.htm"), NUL-padded to the old length so that every offset into
// #STRINGS stays valid. A path under `stage` (the folder the pages were
// compiled in; may be empty) names the object it has below that folder;
// otherwise the longest object path it ends in wins. Names already relative
// stay. `objects` are the stored paths of all objects. Throws
// std::runtime_error on a malformed map or a string that names no object.
std::string FixContextStrings(std::string_view ivb, std::string_view strings, const std::vector<std::string>& objects,
                              std::string_view stage);

}  // namespace velquior::help

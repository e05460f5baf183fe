#pragma once
// Where the XML file dialog (OpenDialogXML) opens, for every window: "saga"
// inside the work directory in any letter case, or the work directory itself
// when it has none.

#include <filesystem>

namespace velquior::shell {

std::filesystem::path XmlDialogStartDir(const std::filesystem::path& work_dir);

}  // namespace velquior::shell

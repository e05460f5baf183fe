#pragma once
// The outcome left for the host: "Zeltimor.ini" beside the executable,
// section "Transformadores", key "Transformado", the code in decimal.

#include <cstdint>
#include <filesystem>

namespace velquior::shell {

std::filesystem::path ResultFilePath(const std::filesystem::path& executable_dir);

// Raises Error("Unable to write to <full name>").
void WriteResultCode(const std::filesystem::path& file, std::int32_t code);

}  // namespace velquior::shell

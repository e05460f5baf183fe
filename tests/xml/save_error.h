#pragma once
// The message of a failed save.

#include <filesystem>
#include <string>

#include "common/error.h"
#include "xml/document.h"

namespace velquior::xml::testing {

inline std::string SaveError(const Document& doc, const std::filesystem::path& file) {
  try {
    doc.save(file);
  } catch (const Error& e) {
    return std::string(e.message());
  }
  return "(no error)";
}

}  // namespace velquior::xml::testing

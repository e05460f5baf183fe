#pragma once
// The XML tests' fixture folder (tests/fixtures/xml).

#include <filesystem>
#include <string>

namespace velquior::xml::testing {

inline std::filesystem::path Fixture(const std::string& relative) {
  return std::filesystem::path(VELQUIOR_TEST_FIXTURES) / "xml" / relative;
}

}  // namespace velquior::xml::testing

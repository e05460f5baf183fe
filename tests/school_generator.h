#pragma once
// Generated SAGA documents of any size, for benchmarks and size tests. Names
// come from Spanish word lists with accents and ñ, so that codes collide and
// the uniqueness counters work as on a real school.

#include <string>

namespace velquior::testing {

struct SchoolSize {
  int subjects = 3000;
  int teachers = 3000;
  int rooms = 1000;
  int groups = 1500;
  int subjects_per_group = 15;
};

enum class XmlEncoding { kIso88591, kUtf8 };

// The document's bytes, indented, with its declaration.
std::string GenerateSchool(const SchoolSize& size, XmlEncoding encoding);

}  // namespace velquior::testing

// Writes the generated large school (3,000 subjects, 3,000 teachers, 1,000
// rooms, 1,500 groups) to a file, for bench/windows_vs_linux.sh.
//
//   velquior_generate_school OUT.xml

#include <cstdio>
#include <exception>

#include "tests/school_generator.h"
#include "tests/test_util.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: velquior_generate_school OUT.xml\n");
    return 2;
  }
  try {
    velquior::testing::WriteFile(argv[1], velquior::testing::GenerateSchool(velquior::testing::SchoolSize{},
                                                                            velquior::testing::XmlEncoding::kIso88591));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}

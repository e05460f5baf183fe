// The export of a generated large school, end to end through
// velquior-convert, against a bare libxml2 parse of the same file.
//
//   velquior_bench --benchmark_filter='Export|BareParse'
// Arg 1 is the school of 3,000 subjects, 3,000 teachers, 1,000 rooms and
// 1,500 groups with 15 assigned subjects each; Arg 10 is ten times that.

#include <benchmark/benchmark.h>
#include <libxml/parser.h>

#include <map>

#include "tests/school_generator.h"
#include "tests/test_util.h"

namespace {

using velquior::testing::TempDir;

struct School {
  TempDir dir;
  std::filesystem::path file = dir / "escuela.xml";
  std::filesystem::path work = dir / "ZTEMP";
};

School& SchoolOfScale(int scale) {
  static std::map<int, School> schools;
  auto [it, fresh] = schools.try_emplace(scale);
  if (fresh) {
    velquior::testing::SchoolSize size;
    size.subjects *= scale;
    size.teachers *= scale;
    size.rooms *= scale;
    size.groups *= scale;
    velquior::testing::WriteFile(it->second.file,
                                 velquior::testing::GenerateSchool(size, velquior::testing::XmlEncoding::kIso88591));
    std::filesystem::create_directory(it->second.work);
  }
  return it->second;
}

void BM_ExportCli(benchmark::State& state) {
  School& school = SchoolOfScale(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto r = velquior::testing::RunProgram(VELQUIOR_CONVERT_BIN,
                                           {"export", school.file.string(), "--workdir", school.work.string()});
    if (r.status != 0) state.SkipWithError(r.err.c_str());
  }
  state.counters["MB"] = static_cast<double>(std::filesystem::file_size(school.file)) / 1e6;
}
BENCHMARK(BM_ExportCli)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

void BM_BareParse(benchmark::State& state) {
  School& school = SchoolOfScale(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    xmlDocPtr doc = xmlReadFile(school.file.c_str(), nullptr, XML_PARSE_NONET | XML_PARSE_NOBLANKS);
    if (doc == nullptr) state.SkipWithError("parse failed");
    xmlFreeDoc(doc);
  }
}
BENCHMARK(BM_BareParse)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

namespace {

// From the start of the process to its end, as a user waits for it.
void BM_VersionStartup(benchmark::State& state) {
  for (auto _ : state) {
    auto r = velquior::testing::RunProgram(VELQUIOR_CONVERT_BIN, {"--version"});
    if (r.status != 0) state.SkipWithError("--version failed");
  }
}
BENCHMARK(BM_VersionStartup)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

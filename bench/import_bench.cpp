// The import of a large timetable, end to end through velquior-convert,
// against xmllint reading and writing the document that the import wrote.
//
//   velquior_bench --benchmark_filter='Import|Xmllint|Check'
// Arg 1 is a SOLUC of 100,000 records, Arg 10 one of 1,000,000; both with
// catalogues of 3,000 subjects, groups, teachers and rooms, a DIASHORAST of
// 7 days by 12 hours, into a generated school of 3,000 of each.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>

#include "check/import_side.h"
#include "common/bytes.h"
#include "import/import_driver.h"
#include "tables/table.h"
#include "tests/school_generator.h"
#include "tests/test_util.h"

namespace {

using velquior::testing::TempDir;
namespace fs = std::filesystem;

constexpr int kCatalogue = 3000;

struct Field {
  const char* name;
  char type;  // 'C' or 'N'
  int width, decimals;
};

// A dBASE III table, written directly: a million records through the
// engine's record-by-record writing would take longer than the benchmark.
void WriteDbf(const fs::path& file, const std::vector<Field>& fields, std::size_t count,
              const std::function<std::vector<std::string>(std::size_t)>& row) {
  std::string out(32, '\0');
  int record_length = 1;
  for (const auto& f : fields) record_length += f.width;
  const int header_length = 32 + 32 * static_cast<int>(fields.size()) + 1;
  out[0] = 0x03;
  out[1] = 124;
  out[2] = 9;
  out[3] = 2;
  velquior::SetLe(out, 4, count, 4);
  velquior::SetLe(out, 8, static_cast<std::uint64_t>(header_length), 2);
  velquior::SetLe(out, 10, static_cast<std::uint64_t>(record_length), 2);
  out[29] = 0x03;  // Windows-1252
  for (const auto& f : fields) {
    std::string d(32, '\0');
    std::string name = f.name;
    d.replace(0, name.size(), name);
    d[11] = f.type;
    d[16] = static_cast<char>(f.width);
    d[17] = static_cast<char>(f.decimals);
    out += d;
  }
  out += '\x0D';
  out.reserve(out.size() + count * static_cast<std::size_t>(record_length) + 1);
  for (std::size_t r = 0; r < count; ++r) {
    auto values = row(r);
    out += ' ';
    for (std::size_t i = 0; i < fields.size(); ++i) {
      std::string v = values[i].substr(0, static_cast<std::size_t>(fields[i].width));
      std::string pad(static_cast<std::size_t>(fields[i].width) - v.size(), ' ');
      out += fields[i].type == 'N' ? pad + v : v + pad;
    }
  }
  out += '\x1A';
  velquior::testing::WriteFile(file, out);
}

struct Timetable {
  TempDir dir;
  fs::path work = dir / "ZTEMP";
  fs::path original = dir / "original.xml";
  fs::path doc = dir / "escuela.xml";
  fs::path result = dir / "resultado.xml";  // what one import wrote
  std::string original_bytes;
};

void WriteWorkTables(const fs::path& work, std::size_t lessons) {
  const std::vector<Field> catalogue = {{"COD", 'C', 10, 0}, {"NOMBRE", 'C', 80, 0}, {"IDSAGA", 'C', 60, 0}};
  const std::vector<Field> abrev = {{"ABREV", 'C', 10, 0}, {"NOMBRE", 'C', 80, 0}, {"IDSAGA", 'C', 60, 0}};
  auto coded = [](const char* prefix, int base) {
    return [prefix, base](std::size_t i) {
      return std::vector<std::string>{prefix + std::to_string(i), "Nombre " + std::to_string(i),
                                      std::to_string(base + static_cast<int>(i))};
    };
  };
  WriteDbf(work / "ASIGNOMT.DBF", catalogue, kCatalogue, coded("S", 3000000));
  WriteDbf(work / "GRUPOST.DBF", abrev, kCatalogue, coded("G", 4000000));
  WriteDbf(work / "PROFT.DBF", abrev, kCatalogue, coded("T", 5000000));
  WriteDbf(work / "AULAT.DBF", abrev, kCatalogue, coded("R", 6000000));
  const std::vector<Field> dias = {{"DIA", 'C', 20, 0},
                                   {"TEXTODIA", 'C', 20, 0},
                                   {"HORA", 'C', 8, 0},
                                   {"HORADESDE", 'C', 8, 0},
                                   {"HORAHASTA", 'C', 8, 0}};
  WriteDbf(work / "DIASHORAST.DBF", dias, 7 * 12, [](std::size_t i) {
    int d = static_cast<int>(i / 12) + 1, h = static_cast<int>(i % 12) + 1;
    return std::vector<std::string>{std::to_string(d), "Dia " + std::to_string(d), std::to_string(h),
                                    std::to_string(7 + h) + ":00", std::to_string(7 + h) + ":55"};
  });
  const std::vector<Field> soluc = {{"CODGRUPO", 'C', 10, 0}, {"PROF", 'C', 10, 0}, {"ASIG", 'C', 10, 0},
                                    {"AULA", 'C', 10, 0},     {"DIA", 'N', 2, 0},   {"HORA", 'N', 5, 1},
                                    {"SESIONES", 'N', 5, 1}};
  WriteDbf(work / "SOLUC.DBF", soluc, lessons, [](std::size_t i) {
    auto code = [i](const char* prefix, std::size_t step) { return prefix + std::to_string((i * step) % kCatalogue); };
    std::string dia = i % 97 == 0 ? "0" : std::to_string(1 + i % 7);
    return std::vector<std::string>{code("G", 1),
                                    code("T", 7),
                                    code("S", 13),
                                    code("R", 31),
                                    dia,
                                    std::to_string(1 + (i / 7) % 12) + ".0",
                                    i % 50 == 0 ? "0.5" : "1.0"};
  });
}

velquior::testing::RunResult Import(const Timetable& t) {
  return velquior::testing::RunProgram(VELQUIOR_CONVERT_BIN, {"import", t.doc.string(), "--workdir", t.work.string()});
}

Timetable& TimetableOfScale(int scale) {
  static std::map<int, Timetable> all;
  auto [it, fresh] = all.try_emplace(scale);
  Timetable& t = it->second;
  if (fresh) {
    fs::create_directory(t.work);
    velquior::testing::SchoolSize size;
    size.groups = kCatalogue;
    size.rooms = kCatalogue;
    t.original_bytes = velquior::testing::GenerateSchool(size, velquior::testing::XmlEncoding::kIso88591);
    velquior::testing::WriteFile(t.original, t.original_bytes);
    WriteWorkTables(t.work, static_cast<std::size_t>(100000) * static_cast<std::size_t>(scale));
    fs::copy_file(t.original, t.doc, fs::copy_options::overwrite_existing);
    auto r = Import(t);
    if (r.status != 0) throw std::runtime_error(r.err);
    fs::copy_file(t.doc, t.result, fs::copy_options::overwrite_existing);
  }
  return t;
}

void BM_ImportCli(benchmark::State& state) {
  Timetable& t = TimetableOfScale(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    velquior::testing::WriteFile(t.doc, t.original_bytes);
    state.ResumeTiming();
    auto r = Import(t);
    if (r.status != 0) state.SkipWithError(r.err.c_str());
  }
  state.counters["MB_out"] = static_cast<double>(fs::file_size(t.result)) / 1e6;
}
BENCHMARK(BM_ImportCli)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

// xmllint reading the imported document and writing it again.
void BM_XmllintFormat(benchmark::State& state) {
  Timetable& t = TimetableOfScale(static_cast<int>(state.range(0)));
  const std::string out = (t.dir / "formateado.xml").string();
  for (auto _ : state) {
    auto r = velquior::testing::RunProgram("/usr/bin/xmllint", {"--format", t.result.string(), "--output", out});
    if (r.status != 0) state.SkipWithError(("xmllint: " + r.err).c_str());
  }
}
BENCHMARK(BM_XmllintFormat)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

// The import in this process, load and save included, against the import
// side of the check on the same tables: the check loads the document too.
void BM_ImportInProcess(benchmark::State& state) {
  Timetable& t = TimetableOfScale(static_cast<int>(state.range(0)));
  velquior::Workspace workspace;
  workspace.work_dir = t.work;
  velquior::Reporter reporter;
  for (auto _ : state) {
    state.PauseTiming();
    velquior::testing::WriteFile(t.doc, t.original_bytes);
    state.ResumeTiming();
    velquior::RunImport(t.doc, workspace, reporter);
  }
}
BENCHMARK(BM_ImportInProcess)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

void BM_CheckImportSide(benchmark::State& state) {
  Timetable& t = TimetableOfScale(static_cast<int>(state.range(0)));
  std::size_t findings = 0;
  for (auto _ : state) {
    velquior::xml::Document document;
    if (!document.load(t.original).ok) state.SkipWithError("the document does not load");
    velquior::check::Report report;
    velquior::check::CheckImportSide(document, t.work, report);
    findings = report.findings.size();
  }
  state.counters["findings"] = static_cast<double>(findings);
}
BENCHMARK(BM_CheckImportSide)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

// `check` of the large school against the tables its own export wrote and a
// SOLUC of 100,000 lessons over their codes, beside the export and the
// import of the same data in the same run: the check should take at most
// twice the export's time plus the import's.
//   velquior_bench --benchmark_filter='CheckedSchool'
struct CheckedSchool {
  TempDir dir;
  fs::path doc = dir / "escuela.xml";
  fs::path work = dir / "ZTEMP";           // exported tables, a played SOLUC
  fs::path export_work = dir / "EXPORT";   // where the timed export writes
  fs::path import_doc = dir / "importada.xml";
};

std::vector<std::string> ColumnOf(const fs::path& work, std::string_view table, std::string_view field) {
  velquior::tables::Table t(work, table);
  t.Open();
  std::vector<std::string> out;
  for (t.First(); !t.Eof(); t.Next()) out.push_back(t.AsText(field));
  t.Close();
  return out;
}

CheckedSchool& TheCheckedSchool() {
  static CheckedSchool s;
  static bool made = false;
  if (made) return s;
  made = true;
  fs::create_directory(s.work);
  fs::create_directory(s.export_work);
  velquior::testing::WriteFile(s.doc, velquior::testing::GenerateSchool({}, velquior::testing::XmlEncoding::kIso88591));
  auto r = velquior::testing::RunProgram(VELQUIOR_CONVERT_BIN, {"export", s.doc.string(), "--workdir", s.work.string()});
  if (r.status != 0) throw std::runtime_error(r.err);
  const auto subjects = ColumnOf(s.work, "ASIGNOMT", "COD");
  const auto groups = ColumnOf(s.work, "GRUPOST", "ABREV");
  const auto teachers = ColumnOf(s.work, "PROFT", "ABREV");
  const auto rooms = ColumnOf(s.work, "AULAT", "ABREV");
  // The timetabling program fills DIASHORAST and plays SOLUC.
  const std::vector<Field> dias = {{"DIA", 'C', 20, 0},
                                   {"TEXTODIA", 'C', 20, 0},
                                   {"HORA", 'C', 8, 0},
                                   {"HORADESDE", 'C', 8, 0},
                                   {"HORAHASTA", 'C', 8, 0}};
  WriteDbf(s.work / "DIASHORAST.DBF", dias, 5 * 8, [](std::size_t i) {
    const int d = static_cast<int>(i / 8) + 1, h = static_cast<int>(i % 8) + 1;
    return std::vector<std::string>{std::to_string(d), "Dia " + std::to_string(d), std::to_string(h),
                                    std::to_string(7 + h) + ":00", std::to_string(7 + h) + ":55"};
  });
  const std::vector<Field> soluc = {{"CODGRUPO", 'C', 10, 0}, {"PROF", 'C', 10, 0}, {"ASIG", 'C', 10, 0},
                                    {"AULA", 'C', 10, 0},     {"DIA", 'N', 2, 0},   {"HORA", 'N', 5, 1},
                                    {"SESIONES", 'N', 5, 1}};
  WriteDbf(s.work / "SOLUC.DBF", soluc, 100000, [&](std::size_t i) {
    auto pick = [i](const std::vector<std::string>& codes, std::size_t step) { return codes[(i * step) % codes.size()]; };
    return std::vector<std::string>{pick(groups, 1),  pick(teachers, 7), pick(subjects, 13), pick(rooms, 31),
                                    std::to_string(1 + i % 5), std::to_string(1 + (i / 5) % 8) + ".0", "1.0"};
  });
  return s;
}

void BM_CheckedSchool_Export(benchmark::State& state) {
  CheckedSchool& s = TheCheckedSchool();
  for (auto _ : state) {
    auto r = velquior::testing::RunProgram(VELQUIOR_CONVERT_BIN,
                                           {"export", s.doc.string(), "--workdir", s.export_work.string()});
    if (r.status != 0) state.SkipWithError("the export failed");
  }
}
BENCHMARK(BM_CheckedSchool_Export)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

void BM_CheckedSchool_Import(benchmark::State& state) {
  CheckedSchool& s = TheCheckedSchool();
  for (auto _ : state) {
    state.PauseTiming();
    fs::copy_file(s.doc, s.import_doc, fs::copy_options::overwrite_existing);
    state.ResumeTiming();
    auto r = velquior::testing::RunProgram(VELQUIOR_CONVERT_BIN,
                                           {"import", s.import_doc.string(), "--workdir", s.work.string()});
    if (r.status != 0) state.SkipWithError("the import failed");
  }
}
BENCHMARK(BM_CheckedSchool_Import)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

void BM_CheckedSchool_Check(benchmark::State& state) {
  CheckedSchool& s = TheCheckedSchool();
  for (auto _ : state) {
    auto r = velquior::testing::RunProgram(VELQUIOR_CONVERT_BIN,
                                           {"check", s.doc.string(), "--workdir", s.work.string()});
    // Notes only (the generated school's homonyms): a warning would mean the
    // fixture is not the clean case it stands for.
    if (r.status != 0) state.SkipWithError(("check found a warning or failed: " + r.err).c_str());
  }
}
BENCHMARK(BM_CheckedSchool_Check)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

}  // namespace

// The table engine on 100,000-record tables: writing one through the handle
// (create, append, set every field, post, close), reading one back through
// the handle (open, every record, every field), and the pure byte parser.
//
//   velquior_bench --benchmark_filter='Table|Dbf'
// Target: reading and writing each under 100 ms (Release build).

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "tables/catalog.h"
#include "tables/dbf_reader.h"
#include "tables/table.h"
#include "tests/test_util.h"

namespace {

namespace catalog = velquior::catalog;
namespace f = velquior::catalog::f;
using velquior::tables::Table;

constexpr int kRecords = 100000;

// The values of record i of ASIGT: codes, accented texts, weekly hours.
struct Row {
  std::string casig, cprof, cgrup, caula, turno, nivel, curso, grupo, sesiones, nconex, ctarea;
  double horas;
};

Row RowOf(int i) {
  Row r;
  r.casig = "ASIG" + std::to_string(i % 3000);
  r.cprof = "PROF\xd1" + std::to_string(i % 2500);  // Ñ
  r.cgrup =
      "1\xba"
      "ESO-" +
      std::to_string(i % 1500);  // º
  r.caula = i % 7 == 0 ? "" : "AULA" + std::to_string(i % 900);
  r.turno = i % 2 ? "M" : "T";
  r.nivel = "ESO";
  r.curso = std::to_string(1 + i % 4);
  r.grupo = std::string(1, static_cast<char>('A' + i % 5));
  r.sesiones = "1111";
  r.nconex = "";
  r.ctarea = "TAREA" + std::to_string(i % 10);
  r.horas = (i % 9) * 0.5 + 1;
  return r;
}

void WriteAsigt(const std::filesystem::path& dir, const std::vector<Row>& rows) {
  catalog::RecreateTable(dir, catalog::kAsigt);
  Table t(dir, catalog::kAsigt.name);
  t.Open();
  for (const Row& r : rows) {
    t.Append();
    t.SetText(f::kCAsig, r.casig);
    t.SetText(f::kCProf, r.cprof);
    t.SetText(f::kCGrup, r.cgrup);
    t.SetText(f::kCAula, r.caula);
    t.SetText(f::kTurno, r.turno);
    t.SetText(f::kNivel, r.nivel);
    t.SetText(f::kCurso, r.curso);
    t.SetText(f::kGrupo, r.grupo);
    t.SetFloat(f::kHoras, r.horas);
    t.SetText(f::kSesiones, r.sesiones);
    t.SetText(f::kNConex, r.nconex);
    t.SetText(f::kCTarea, r.ctarea);
    t.Post();
  }
  t.Close();
}

const std::vector<Row>& Rows() {
  static const std::vector<Row> rows = [] {
    std::vector<Row> v;
    v.reserve(kRecords);
    for (int i = 0; i < kRecords; ++i) v.push_back(RowOf(i));
    return v;
  }();
  return rows;
}

// A directory holding the 100,000-record ASIGT, written once.
const velquior::testing::TempDir& Written() {
  static velquior::testing::TempDir dir;
  static bool done = (WriteAsigt(dir.path(), Rows()), true);
  (void)done;
  return dir;
}

void BM_TableWrite100k(benchmark::State& state) {
  velquior::testing::TempDir dir;
  const auto& rows = Rows();
  for (auto _ : state) WriteAsigt(dir.path(), rows);
  state.SetItemsProcessed(state.iterations() * kRecords);
  state.counters["MB"] = static_cast<double>(std::filesystem::file_size(dir / "ASIGT.DBF")) / 1e6;
}
BENCHMARK(BM_TableWrite100k)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

void BM_TableRead100k(benchmark::State& state) {
  const auto& dir = Written();
  std::size_t chars = 0;
  for (auto _ : state) {
    Table t(dir.path(), "asigt.dbf");
    t.Open();
    int n = 0;
    for (t.First(); !t.Eof(); t.Next()) {
      chars += t.AsText(f::kCAsig).size() + t.AsText(f::kCProf).size() + t.AsText(f::kCGrup).size() +
               t.AsText(f::kCAula).size() + t.AsText(f::kTurno).size() + t.AsText(f::kNivel).size() +
               t.AsText(f::kCurso).size() + t.AsText(f::kGrupo).size() + t.AsText(f::kSesiones).size() +
               t.AsText(f::kNConex).size() + t.AsText(f::kCTarea).size();
      benchmark::DoNotOptimize(t.AsFloat(f::kHoras));
      ++n;
    }
    if (n != kRecords) state.SkipWithError("wrong record count");
    t.Close();
  }
  benchmark::DoNotOptimize(chars);
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_TableRead100k)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

void BM_DbfReadTableAllValues100k(benchmark::State& state) {
  const std::string bytes = velquior::testing::ReadFile(Written() / "ASIGT.DBF");
  for (auto _ : state) {
    auto contents = velquior::tables::dbf::ReadTable(bytes, "ASIGT.DBF");
    if (contents.records.size() != static_cast<std::size_t>(kRecords)) state.SkipWithError("wrong record count");
    benchmark::DoNotOptimize(contents);
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_DbfReadTableAllValues100k)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

void BM_DbfParseOnly100k(benchmark::State& state) {
  const std::string bytes = velquior::testing::ReadFile(Written() / "ASIGT.DBF");
  for (auto _ : state) {
    auto parsed = velquior::tables::dbf::ParseTable(bytes, "ASIGT.DBF");
    benchmark::DoNotOptimize(parsed);
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_DbfParseOnly100k)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1);

}  // namespace

// The history as a user meets it: through velquior-convert, in a scratch
// work directory and a scratch history.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "history/store.h"
#include "tests/convert_program.h"
#include "tests/import/import_cli.h"
#include "tests/test_util.h"

namespace velquior {
namespace {

using testing::ListDir;
using testing::ReadFile;
using testing::RunProgram;
using testing::RunResult;
using testing::Snapshot;
using testing::Utf8;
using testing::WriteFile;
namespace fs = std::filesystem;

const fs::path kSample = fs::path(VELQUIOR_EXAMPLES) / "escuela.xml";

class History : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(work_);
    fs::create_directory(saga_);
    fs::copy_file(kSample, doc_);
  }
  RunResult Convert(std::vector<std::string> args, const fs::path& data) {
    if (args[0] == "export" || args[0] == "import") {
      args.insert(args.begin() + 1, Utf8(doc_));
      args.insert(args.end(), {"--workdir", Utf8(work_)});
    }
    return RunProgram(testing::kConvert, args,
                      {"LC_ALL=C.UTF-8", "XDG_DATA_HOME=" + Utf8(data), "LOCALAPPDATA=" + Utf8(data)});
  }
  RunResult Convert(const std::vector<std::string>& args) { return Convert(args, data_); }

  testing::TempDir tmp_;
  fs::path work_ = tmp_ / "ZTEMP";
  fs::path saga_ = tmp_ / "saga";
  fs::path doc_ = saga_ / "escuela.xml";
  fs::path data_ = tmp_ / "datos";
};

TEST_F(History, EachConversionAndEachRestoreCanBeUndoneByteForByte) {
  // The host's tables with an index, and a timetable (in the codes the
  // export gives the sample school) that the export leaves alone.
  WriteFile(work_ / "asignomt.dbf", "the host's subjects");
  WriteFile(work_ / "ASIGNOMT.MDX", "the host's index");
  WriteFile(work_ / "PROFT.DBF", "the host's teachers");
  testing::MakeSoluc(work_, {{1, 1, 1, "LCL", "ESO1A", "MJNP", "A1"}, {2, 3, 1, "LCL", "ESO1A", "MJNP", "A1"}});
  const auto before_export = Snapshot(work_);
  const std::string before_import = ReadFile(doc_);

  ASSERT_EQ(Convert({"export"}).status, 0);
  const auto after_export = Snapshot(work_);
  ASSERT_NE(after_export, before_export);
  RunResult r = Convert({"import"});
  ASSERT_EQ(r.status, 0) << r.err;
  ASSERT_NE(ReadFile(doc_), before_import);

  r = Convert({"history"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("1. Importación del "), std::string::npos) << r.out;
  EXPECT_NE(r.out.find(": el documento " + Utf8(doc_) + "\n2. Exportación del "), std::string::npos) << r.out;
  EXPECT_NE(r.out.find(": seis tablas de " + Utf8(work_) + "\n   documento: " + Utf8(doc_) + "\n"),
            std::string::npos)
      << r.out;

  r = Convert({"restore"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.rfind("Se ha puesto de nuevo lo que había antes de la importación del ", 0), 0u) << r.out;
  EXPECT_EQ(ReadFile(doc_), before_import);
  EXPECT_EQ(Snapshot(work_), after_export);

  // Now: the restore of the import, the import, the export.
  r = Convert({"restore", "3"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Snapshot(work_), before_export);  // ASIGT.DBF, which it made, gone; the index back
  EXPECT_EQ(ReadFile(doc_), before_import);

  r = Convert({"restore"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.rfind("Se ha puesto de nuevo lo que había antes de la restauración del ", 0), 0u) << r.out;
  EXPECT_EQ(Snapshot(work_), after_export);

  r = Convert({"history", "--json"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("{\"number\": 5, \"conversion\": \"exportar\""), std::string::npos) << r.out;
  std::string asigt = Utf8(work_ / "ASIGT.DBF");  // as JSON writes it
  for (std::size_t at = asigt.find('\\'); at != std::string::npos; at = asigt.find('\\', at + 2)) asigt.insert(at, 1, '\\');
  EXPECT_NE(r.out.find("\"path\": \"" + asigt + "\", \"existed\": false"), std::string::npos) << r.out;
}

// Nothing is replaced that the history could not keep, and the message
// says how to go on without it.
TEST_F(History, AHistoryThatCannotBeWrittenStopsTheConversionBeforeAnyChange) {
  testing::MakeTimetable(work_, 8);
  const auto tables = Snapshot(work_);
  const std::string document = ReadFile(doc_);
  WriteFile(tmp_ / "archivo", "a file where the history's folder would go");
  for (const char* command : {"export", "import"}) {
    RunResult r = Convert({command}, tmp_ / "archivo");
    EXPECT_EQ(r.status, 1) << command;
    EXPECT_EQ(r.err.rfind("No se puede guardar en el historial (", 0), 0u) << r.err;
    EXPECT_NE(r.err.find("No se ha cambiado nada; para convertir sin historial, velquior-convert admite "
                         "--no-history.\n"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(Snapshot(work_), tables) << command;
    EXPECT_EQ(ReadFile(doc_), document) << command;
  }
  EXPECT_EQ(Convert({"export", "--no-history"}, tmp_ / "archivo").status, 0);
  EXPECT_EQ(Convert({"history"}, tmp_ / "archivo").out, "El historial está vacío\n");
}

// A copy that is not what was kept would put back the wrong bytes.
TEST_F(History, ADamagedCopyStopsTheRestoreBeforeAnyChange) {
  testing::MakeTimetable(work_, 8);
  ASSERT_EQ(Convert({"export"}).status, 0);
  const auto tables = Snapshot(work_);
  const fs::path entry = data_ / "velquior" / "historial" / "000001";
  WriteFile(entry / "1", "damaged");
  RunResult r = Convert({"restore"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err.rfind("La copia de ", 0), 0u) << r.err;
  EXPECT_NE(r.err.find("no es la que se guardó; no se ha cambiado nada.\n"), std::string::npos) << r.err;
  EXPECT_EQ(Snapshot(work_), tables);
  EXPECT_EQ(history::Store(data_ / "velquior" / "historial").List().size(), 1u);  // no entry for a restore that failed
}

TEST_F(History, RestoreSaysWhenThereIsNothingToUndo) {
  RunResult r = Convert({"restore"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "No hay nada que deshacer.\n");
  ASSERT_EQ(Convert({"export"}).status, 0);
  r = Convert({"restore", "2"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "El historial no tiene la entrada 2; tiene 1.\n");
}

// The 31st entry takes the oldest's place; an entry a killed run left
// half-written goes with the next one written.
TEST(HistoryStore, KeepsTheLastThirtyAndNoHalfWrittenEntry) {
  testing::TempDir tmp;
  history::Store store(tmp / "historial");
  WriteFile(tmp / "T.DBF", "x");
  const history::Source file[] = {{tmp / "T.DBF"}};
  fs::create_directories(tmp / "historial" / ".nuevo-abcdef");
  for (int i = 0; i < 32; ++i) {
    history::PendingEntry(store, store.Record(history::Kind::kExport, tmp / "d.xml", tmp.path(), file)).Keep();
  }
  const auto entries = store.List();
  ASSERT_EQ(entries.size(), 30u);
  EXPECT_EQ(entries.front().folder.filename(), "000032");
  EXPECT_EQ(entries.back().folder.filename(), "000003");
  EXPECT_EQ(ListDir(tmp / "historial").size(), 30u);
  // An entry whose run did not get to replace anything is not kept.
  { history::PendingEntry dropped(store, store.Record(history::Kind::kImport, tmp / "d.xml", tmp.path(), file)); }
  EXPECT_EQ(store.List().front().folder.filename(), "000032");
}

}  // namespace
}  // namespace velquior

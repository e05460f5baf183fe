#include "history/entry.h"

#include <gtest/gtest.h>

#include "common/files.h"

namespace velquior::history {
namespace {

Entry Sample() {
  Entry e;
  e.kind = Kind::kExport;
  e.when = {2026, 12, 11, 9, 5, 7};
  e.document = PathFromUtf8("/home/ana/saga/Horario 100% ñ\nnuevo.xml");
  e.work_dir = PathFromUtf8("/home/ana/ZTEMP");
  FileRecord kept;
  kept.original = PathFromUtf8("/home/ana/ZTEMP/asignomt.dbf");
  kept.existed = true;
  kept.size = 4096;
  kept.sha256 = std::string(64, 'a');
  kept.stored = "1";
  FileRecord made;
  made.original = PathFromUtf8("/home/ana/ZTEMP/ASIGT.DBF");
  e.files = {kept, made};
  return e;
}

// Paths keep every character, those that end a line included, and what
// each file was comes back as written.
TEST(HistoryManifest, ReadsBackWhatItWrote) {
  const Entry e = Sample();
  const std::optional<Entry> back = ReadManifest(WriteManifest(e));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->kind, Kind::kExport);
  EXPECT_EQ(PathToUtf8(back->document), "/home/ana/saga/Horario 100% ñ\nnuevo.xml");
  EXPECT_EQ(back->work_dir, e.work_dir);
  EXPECT_EQ(back->when.minute, 5);
  ASSERT_EQ(back->files.size(), 2u);
  EXPECT_EQ(back->files[0].original, e.files[0].original);
  EXPECT_TRUE(back->files[0].existed);
  EXPECT_EQ(back->files[0].size, 4096u);
  EXPECT_EQ(back->files[0].sha256, e.files[0].sha256);
  EXPECT_EQ(back->files[0].stored, "1");
  EXPECT_FALSE(back->files[1].existed);
  EXPECT_EQ(back->files[1].original, e.files[1].original);
}

// A manifest that was not finished, or was changed by hand, is no entry:
// a restore from it could put back the wrong bytes or write outside the
// entry's folder.
TEST(HistoryManifest, RefusesWhatItDidNotWriteWhole) {
  const std::string good = WriteManifest(Sample());
  const struct {
    const char* why;
    std::string text;
  } cases[] = {
      {"cut short in its last line", good.substr(0, good.size() - 1)},
      {"another format", "velquior-historial 2" + good.substr(good.find('\n'))},
      {"no files", good.substr(0, good.find("archivo"))},
      {"a short hash", [&] {
         std::string t = good;
         return t.replace(t.find(std::string(64, 'a')), 64, "abc");
       }()},
      {"a stored name that is a path", [&] {
         std::string t = good;
         return t.replace(t.find("archivo 1 "), 10, "archivo ../x ");
       }()},
      {"an unknown conversion", [&] {
         std::string t = good;
         return t.replace(t.find("exportar"), 8, "borrar");
       }()},
  };
  for (const auto& c : cases) EXPECT_FALSE(ReadManifest(c.text)) << c.why;
}

TEST(HistoryManifest, DescribesWhatTheEntryWouldPutBack) {
  Entry e = Sample();
  EXPECT_EQ(Describe(e), "Exportación del 11/12/2026 a las 09:05: seis tablas de /home/ana/ZTEMP");
  e.kind = Kind::kImport;
  e.files.resize(1);
  e.files[0].original = e.document = PathFromUtf8("/home/ana/escuela.xml");
  EXPECT_EQ(Describe(e), "Importación del 11/12/2026 a las 09:05: el documento /home/ana/escuela.xml");
  e.kind = Kind::kRestore;
  EXPECT_EQ(UndoneText(e),
            "Se ha puesto de nuevo lo que había antes de la restauración del 11/12/2026 a las 09:05: el documento "
            "/home/ana/escuela.xml");
}

}  // namespace
}  // namespace velquior::history

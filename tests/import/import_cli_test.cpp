// velquior-convert import as a user runs it: its exit statuses and what it
// says.

#include <gtest/gtest.h>

#include <functional>

#include "tables/catalog.h"
#include "tests/import/import_cli.h"
#include "tests/import/table_maker.h"
#include "tests/test_util.h"
#include "xml/document.h"

namespace velquior {
namespace {

using testing::ImportCli;
using testing::kDocument;
using testing::ListDir;
using testing::MakeTimetable;
using testing::ReadFile;
using testing::RunResult;
using testing::WriteFile;
namespace fs = std::filesystem;

TEST_F(ImportCli, ExitStatusesAndWhatTheyPrint) {
  struct Case {
    const char* what;
    fs::path file;
    std::function<void()> setup;
    int status;
    std::string out, err;
  } cases[] = {
      {"completed", doc_, [] {}, 0, "Proceso finalizado\n", ""},
      {"no such document", docs_ / "otro.xml", [] {}, 3, "No existe archivo\n", ""},
      {"a subject without activity", doc_,
       [&] {
         testing::MakeSoluc(work_, {{1, 1, 1, "C1", "C1", "C1", "C1"}, {1, 2, 1, "QUI", "C1", "C1", "C1"}});
       },
       1, "", "List index out of bounds (-1)\n"},
      {"a blank day in a text field", doc_,
       [&] {
         namespace f = catalog::f;
         using tables::FieldType;
         testing::MakeTable(work_, "SOLUC",
                            {{f::kCodGrupo, FieldType::kText, 10},
                             {f::kProf, FieldType::kText, 10},
                             {f::kAsig, FieldType::kText, 10},
                             {f::kAula, FieldType::kText, 10},
                             {f::kDia, FieldType::kText, 2},
                             {f::kHora, FieldType::kFloat},
                             {f::kSesiones, FieldType::kFloat}},
                            {{"C1", "C1", "C1", "C1", "1", 1.0, 1.0}, {"C1", "C1", "C1", "C1", "", 2.0, 1.0}});
       },
       1, "", "'' no es un valor entero válido.\n"},
      {"a group code without record: completed, and said", doc_,
       [&] {
         testing::MakeSoluc(work_, {{1, 1, 1, "C1", "C1", "C1", "C1"}, {1, 2, 1, "C1", "ZZ", "C1", "C1"}});
       },
       0, "Proceso finalizado\n",
       "Aviso: El código de grupo 'ZZ' no tiene registro en GRUPOST: la importación escribiría 'ZZ' donde va un "
       "identificador SAGA (SOLUC, n.º 2)\n"},
      {"an identifier the document lacks: completed, and said", doc_,
       [&] {
         std::vector<testing::CatalogueRow> groups;
         for (int i = 0; i < 40; ++i) groups.push_back({"C" + std::to_string(i), std::to_string(1000 + i)});
         groups[1].idsaga = "9999";
         testing::MakeCatalogue(work_, "GRUPOST", groups);
       },
       0, "Proceso finalizado\n",
       "Aviso: El identificador SAGA '9999' que GRUPOST da al código de grupo 'C1' no está en el documento "
       "(¿documento equivocado o tablas de otro centro?) (GRUPOST, n.º 2)\n"},
      {"no SOLUC", doc_, [&] { fs::remove(work_ / "SOLUC.DBF"); }, 1, "",
       "SOLUC.DBF: no existe la tabla en " + work_.string() + ".\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    MakeTimetable(work_, 3);
    WriteFile(doc_, kDocument);
    c.setup();
    RunResult r = Import(c.file);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.out, c.out);
    EXPECT_EQ(r.err, c.err);
    if (c.status == 0) {
      EXPECT_NE(ReadFile(doc_).find("<time-table id=\"tt1\" name=\"Zeltimor\">"), std::string::npos);
    } else {
      EXPECT_EQ(ReadFile(doc_), kDocument);
    }
    EXPECT_EQ(ListDir(docs_), std::vector<std::string>{"escuela.xml"});
  }
}

}  // namespace
}  // namespace velquior

#pragma once
// velquior-convert import in a scratch folder: a timetable in the work
// directory and a small document beside it.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tables/catalog.h"
#include "tests/convert_program.h"
#include "tests/import/table_maker.h"
#include "tests/test_util.h"

namespace velquior::testing {

// Holds the SAGA identifiers of MakeTimetable's catalogues, so that a
// completed import has nothing to warn about.
inline const std::string kDocument = [] {
  std::string xml = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<document>\n";
  for (const std::string kind : {"subject", "teacher", "location", "group"}) {
    xml += "  <" + kind + "s>\n";
    for (int i = 0; i < 40; ++i) xml += "    <" + kind + " id=\"" + std::to_string(1000 + i) + "\"/>\n";
    xml += "  </" + kind + "s>\n";
  }
  return xml + "</document>\n";
}();

// A timetable of `lessons` entries over 40 codes of each catalogue.
inline void MakeTimetable(const std::filesystem::path& work, int lessons) {
  std::vector<CatalogueRow> codes;
  for (int i = 0; i < 40; ++i) codes.push_back({"C" + std::to_string(i), std::to_string(1000 + i), "N"});
  for (const char* t : {"ASIGNOMT", "GRUPOST", "PROFT", "AULAT"}) MakeCatalogue(work, t, codes);
  MakeTable(work, "DIASHORAST", {catalog::kDiasHorast.fields.begin(), catalog::kDiasHorast.fields.end()},
            {{"11", "", "1", "Lunes", "1", "8:00", "8:55", "55"}});
  std::vector<SolucRow> rows;
  for (int i = 0; i < lessons; ++i) {
    std::string c = "C" + std::to_string(i % 40);
    rows.push_back({static_cast<double>(1 + i % 5), static_cast<double>(1 + i % 6), 1, c, c, c, c});
  }
  MakeSoluc(work, rows);
}

class ImportCli : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(work_);
    std::filesystem::create_directory(docs_);
    MakeTimetable(work_, 1000);
    WriteFile(doc_, kDocument);
  }
  RunResult Import(const std::filesystem::path& doc) {
    return RunProgram(kConvert, {"import", Utf8(doc), "--workdir", Utf8(work_)}, {"LC_ALL=C.UTF-8"});
  }
  TempDir tmp_;
  std::filesystem::path work_ = tmp_ / "ZTEMP";
  std::filesystem::path docs_ = tmp_ / "docs";
  std::filesystem::path doc_ = docs_ / "escuela.xml";
};

}  // namespace velquior::testing

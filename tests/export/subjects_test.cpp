#include <gtest/gtest.h>

#include <string>

#include "tests/export/builder_fixture.h"
#include "tests/export/worked_examples.h"

namespace velquior {
namespace {

using catalog::kAsignomt;
namespace f = catalog::f;
using testing::Rows;
using Strings = std::vector<std::string>;

class BuilderSubjects : public testing::BuilderTest {
 protected:
  Rows Run(const std::string& subjects) {
    LoadDocument("<subjects>" + subjects + "</subjects>");
    CrearAsignaturas(Context());
    return Read(kAsignomt, {f::kCod, f::kCodLargo, f::kNombre, f::kIdSaga, f::kHoras});
  }
};

TEST_F(BuilderSubjects, WorkedExample) {
  std::string subjects;
  for (std::size_t i = 0; i < testing::kSubjectExample.size(); ++i) {
    subjects += "<subject id=\"s" + std::to_string(i + 1) + "\" name=\"" + testing::kSubjectExample[i].name +
                "\" hours=\"" + std::to_string(i % 4 + 1) + "\"/>";
  }
  Rows rows = Run(subjects);
  ASSERT_EQ(rows.size(), testing::kSubjectExample.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const auto& want = testing::kSubjectExample[i];
    EXPECT_EQ(rows[i][0], want.code) << want.name;
    EXPECT_EQ(rows[i][2], want.name);
    EXPECT_EQ(rows[i][3], "s" + std::to_string(i + 1));
    EXPECT_EQ(rows[i][4], std::to_string(i % 4 + 1));
  }
  EXPECT_EQ(rows[0][1], "Lengua Cas");
  EXPECT_EQ(rows[1][1], "Educación");  // "Educación " reads back without its blank
  EXPECT_EQ(rows[2][1], "Matemática");
  EXPECT_TRUE(reporter_.missing_items.empty());
}

TEST_F(BuilderSubjects, HoursAreReadOnlyBesideMoreThanTwoAttributes) {
  Run(R"(<subject id="a" name="Uno"/><subject id="b" name="Dos" hours=""/><subject id="c" name="Tres" hours="   "/>
    <subject id="d" name="Cuatro" hours="  2.5 "/><subject name="Cinco" hours="6"/>
    <subject id="f" name="Seis" nivel="ESO"/><subject hours="7" nivel="ESO" id="g" name="Siete"/>
    <subject id="i" name="Nueve" hours="123456789"/><subject id="j" name="Diez" hours="no sé"/>)");
  EXPECT_EQ(Column(kAsignomt, f::kHoras), (Strings{"4", "4", "4", "2.5", "4", "4", "7", "12345678", "no sé"}));
  EXPECT_EQ(reporter_.missing_items, (Strings{"subject 5: el atributo 'id'"}));
}

TEST_F(BuilderSubjects, TrimsBlanksAndCutsToTheFieldWidths) {
  const std::string name = "Historia " + std::string(86, 'x');  // 95 characters
  const std::string id(70, '7');
  Rows rows = Run(R"(<subject id="  s1 " name="  Taller  de 2 horas  " hours=" 3 "/>)"
                  "<subject id=\"" +
                  id + "\" name=\"" + name + "\"/>");
  EXPECT_EQ(rows[0], (Strings{"T d2h", "Taller  de", "Taller  de 2 horas", "s1", "3"}));
  EXPECT_EQ(rows[1], (Strings{"Hx", "Historia x", name.substr(0, 80), id.substr(0, 60), "4"}));
}

TEST_F(BuilderSubjects, ElementsLackingItemsStillGiveRecordsWithCodes) {
  Rows rows = Run(R"(<subject id="s1"/><subject name="Música"/><subject/><subject id="s4" name="   "/>
    <subject id="s5" name="1"/><subject id="s5" name="Música"/>)");
  EXPECT_EQ(rows, (Rows{{"1", "", "", "s1", "4"},
                        {"Música", "Música", "Música", "", "4"},
                        {"2", "", "", "", "4"},
                        {"3", "", "", "s4", "4"},
                        {"4", "1", "1", "s5", "4"},
                        {"Música1", "Música", "Música", "s5", "4"}}));  // same id: two records
  EXPECT_EQ(reporter_.missing_items, (Strings{"subject 1: el atributo 'name'", "subject 2: el atributo 'id'",
                                              "subject 3: el atributo 'id'", "subject 3: el atributo 'name'"}));
}

TEST_F(BuilderSubjects, ReplacesTheOldTableAndIndexAndReadsEveryContainer) {
  testing::WriteFile(dir_.path() / "asignomt.mdx", "old index");
  Run(R"(<subject id="s1" name="Uno"/>)");
  LoadDocument(R"(<subjects><subject id="a" name="Arte"/></subjects><teachers/>
                  <subjects><subject id="b" name="arte"/><subject id="c" name="Arte"/></subjects>)");
  CrearAsignaturas(Context());
  EXPECT_EQ(Column(kAsignomt, f::kCod), (Strings{"Arte", "arte", "Arte1"}));
  EXPECT_EQ(testing::ListDir(dir_.path()), (Strings{"ASIGNOMT.DBF"}));
}

}  // namespace
}  // namespace velquior

#include <gtest/gtest.h>

#include <string>

#include "tests/export/builder_fixture.h"
#include "tests/export/worked_examples.h"

namespace velquior {
namespace {

using catalog::kGrupost;
namespace f = catalog::f;
using testing::Rows;
using Strings = std::vector<std::string>;

class BuilderGroups : public testing::BuilderTest {
 protected:
  Rows Run(const std::string& groups) {
    LoadDocument("<groups>" + groups + "</groups>");
    CrearGrupos(Context());
    return Read(kGrupost, {f::kAbrev, f::kTurno, f::kNivel, f::kCurso, f::kGrupo, f::kIdSaga, f::kDescrip});
  }
  static std::string Group(const std::string& id, const std::string& name, const std::string& child,
                           const std::string& regim) {
    return "<group id=\"" + id + "\" regim=\"" + regim + "\" name=\"" + name + "\">" + child + "</group>";
  }
};

TEST_F(BuilderGroups, WorkedExample) {
  const auto& example = testing::kGroupExample;
  std::string groups;
  for (std::size_t i = 0; i < example.size(); ++i)
    groups += Group("g" + std::to_string(i + 1), example[i].name, "x", "M");
  Rows rows = Run(groups);
  // NIVEL, CURSO, GRUPO as stored: PRIMARIA keeps 5; the blank course of "1º ESO A" reads back empty.
  const Rows parts = {{"ESO", "1", "A"},  {"ESO", "1", "B"},   {"ESO", "1", "A"},   {"eso", "1", "a"},
                      {"BACH", "2", "C"}, {"PRIMA", "3", "B"}, {"PRIMA", "3", "C"}, {"4", "S", "O"},
                      {"1", "O", "A"},    {"A", "A", "B"},     {"A", "A", "A"},     {"", "", ""},
                      {"1º", "", "A"}};
  ASSERT_EQ(rows.size(), example.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i], (Strings{example[i].code, "M", parts[i][0], parts[i][1], parts[i][2],
                                "g" + std::to_string(i + 1), std::string(example[i].name) + " (x)"}));
  }
  EXPECT_TRUE(reporter_.missing_items.empty());
}

TEST_F(BuilderGroups, DescriptionAndShift) {
  const std::string level = "SECUNDARIAOBLIGATORIA", child(90, 'd');
  Rows rows = Run(Group("g1", "ESO 1A", "  Primero A ", "M") + Group("g2", "ESO 1B", "<vacio/>", " DM ") +
                  Group("g3", "ESO 1C", "Tercero<extra>no</extra>", "") +
                  Group("g4", "ESO 1D", "<d>Cuarto  D</d>", "t") + Group("g5", level + " 2B", child, "N"));
  EXPECT_EQ(rows, (Rows{{"ESO1A", "M", "ESO", "1", "A", "g1", "ESO 1A (Primero A)"},
                        {"ESO1B", "M", "ESO", "1", "B", "g2", "ESO 1B ()"},
                        {"ESO1C", "", "ESO", "1", "C", "g3", "ESO 1C (Tercero)"},
                        {"ESO1D", "t", "ESO", "1", "D", "g4", "ESO 1D (Cuarto  D)"},
                        {"SECUND", "N", "SECUN", "2", "B", "g5", (level + " 2B (" + child).substr(0, 80)}}));
}

TEST_F(BuilderGroups, ElementsLackingItemsAreReportedAndWritten) {
  Rows rows = Run(R"(<group name="ESO 2A">Segundo</group><group id="g2" regim="N"/>)");
  EXPECT_EQ(rows, (Rows{{"ESO2A", "", "ESO", "2", "A", "", "ESO 2A (Segundo)"}, {"", "N", "", "", "", "g2", " ()"}}));
  EXPECT_EQ(reporter_.missing_items, (Strings{"group 1: el atributo 'id'", "group 1: el atributo 'regim'",
                                              "group 2: el atributo 'name'", "group 2: el primer nodo hijo"}));
}

}  // namespace
}  // namespace velquior

// The teachers and rooms builders: both name an element by its first child
// node and keep codes unique regardless of letter case.

#include <gtest/gtest.h>

#include <string>

#include "tests/export/builder_fixture.h"
#include "tests/export/worked_examples.h"

namespace velquior {
namespace {

using catalog::kAulat;
using catalog::kProft;
namespace f = catalog::f;
using testing::NamedCode;
using testing::Rows;
using Strings = std::vector<std::string>;

// One element per name; an empty name as an empty child element.
std::string Elements(const char* tag, const char* id, const std::vector<NamedCode>& names) {
  std::string out;
  for (std::size_t i = 0; i < names.size(); ++i) {
    std::string child = *names[i].name ? "  " + std::string(names[i].name) + " " : "<vacio/>";
    out += std::string("<") + tag + " id=\"" + id + std::to_string(i + 1) + "\">" + child + "</" + tag + ">";
  }
  return out;
}

void ExpectExample(const Rows& rows, const char* id, const std::vector<NamedCode>& names) {
  ASSERT_EQ(rows.size(), names.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i], (Strings{names[i].code, names[i].name, id + std::to_string(i + 1)}));
  }
}

class BuilderTeachers : public testing::BuilderTest {
 protected:
  Rows Run(const std::string& teachers) {
    LoadDocument("<teachers>" + teachers + "</teachers>");
    CrearProfesores(Context());
    return Read(kProft, {f::kAbrev, f::kNombre, f::kIdSaga});
  }
};

TEST_F(BuilderTeachers, WorkedExample) {
  ExpectExample(Run(Elements("teacher", "t", testing::kTeacherExample)), "t", testing::kTeacherExample);
  const Strings empty(testing::kTeacherExample.size(), "");
  EXPECT_EQ(Column(kProft, f::kDepart), empty);
  EXPECT_EQ(Column(kProft, f::kDni), empty);
  EXPECT_TRUE(reporter_.missing_items.empty());
}

TEST_F(BuilderTeachers, NameIsTheFirstChildNodeCutToItsField) {
  const std::string long_name = "Ana " + std::string(91, 'z');
  Rows rows = Run(R"(<teacher id="t1"><nombre>Eva</nombre><apellido>Sanz</apellido></teacher>
                     <teacher id="t2">Luis Gil<cargo>Jefe</cargo></teacher>)"
                  "<teacher id=\"t3\">" +
                  long_name + "</teacher>");
  EXPECT_EQ(rows, (Rows{{"E", "Eva", "t1"}, {"LG", "Luis Gil", "t2"}, {"Az", long_name.substr(0, 80), "t3"}}));
}

TEST_F(BuilderTeachers, ElementsLackingItemsAreReportedAndWritten) {
  Rows rows = Run(R"(<teacher>Rosa Luna</teacher><teacher id="t2"/><teacher id="t3">   </teacher><teacher/>)");
  EXPECT_EQ(rows, (Rows{{"RL", "Rosa Luna", ""}, {"", "", "t2"}, {"1", "", "t3"}, {"2", "", ""}}));
  EXPECT_EQ(reporter_.missing_items,
            (Strings{"teacher 1: el atributo 'id'", "teacher 2: el primer nodo hijo", "teacher 3: el primer nodo hijo",
                     "teacher 4: el atributo 'id'", "teacher 4: el primer nodo hijo"}));
}

class BuilderRooms : public testing::BuilderTest {
 protected:
  Rows Run(const std::string& locations) {
    LoadDocument("<locations>" + locations + "</locations>");
    CrearAulas(Context());
    return Read(kAulat, {f::kAbrev, f::kNombre, f::kIdSaga});
  }
};

TEST_F(BuilderRooms, WorkedExample) {
  ExpectExample(Run(Elements("location", "l", testing::kRoomExample)), "l", testing::kRoomExample);
  const Strings empty(testing::kRoomExample.size(), "");
  EXPECT_EQ(Column(kAulat, f::kEdificio), empty);
  EXPECT_EQ(Column(kAulat, f::kMaxAlum), empty);
}

TEST_F(BuilderRooms, ElementsLackingItemsAreReportedAndWritten) {
  Rows rows = Run(R"(<location>Patio</location><location id="l2"/><location id="l3"><x>Sala  1</x></location>)");
  EXPECT_EQ(rows, (Rows{{"Patio", "Patio", ""}, {"", "", "l2"}, {"S 1", "Sala  1", "l3"}}));
  EXPECT_EQ(reporter_.missing_items, (Strings{"location 1: el atributo 'id'", "location 2: el primer nodo hijo"}));
}

}  // namespace
}  // namespace velquior

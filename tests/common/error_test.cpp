#include "common/error.h"

#include <gtest/gtest.h>

#include "common/format.h"

namespace velquior {
namespace {

TEST(ErrorFullStop, AppendedAfterCharactersBeyondThePoint) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"'$xyz' no es un valor entero válido", "'$xyz' no es un valor entero válido."},
      {"List index out of bounds (-1)", "List index out of bounds (-1)"},  // ')' comes before '.'
      {"Termina en 7", "Termina en 7."},
      {"Ya termina.", "Ya termina."},
      {"¿Qué?", "¿Qué?."},  // '?' comes after '.'
      {"coma,", "coma,"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(WithFullStop(c.in), c.out) << c.in;
}

TEST(ErrorFormat, SubstitutesInOrder) {
  EXPECT_EQ(Format("'%s' no es un valor entero válido", {"$xyz"}), "'$xyz' no es un valor entero válido");
  EXPECT_EQ(Format("%s: %s", {"a", "b"}), "a: b");
  EXPECT_EQ(Format("List index out of bounds (%d)", {"-1"}), "List index out of bounds (-1)");
  EXPECT_EQ(Format("100%% %s", {"x"}), "100% x");
  EXPECT_EQ(Format("%s y %s", {"solo"}), "solo y %s");  // missing argument stays visible
}

}  // namespace
}  // namespace velquior

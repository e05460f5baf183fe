#include "import/timetable_values.h"

#include "text/numbers.h"

namespace velquior {

int NumeroDecimal(const std::string& text, int max) {
  for (int n = 1; n <= max; ++n) {
    if (text == std::to_string(n)) return n;
  }
  return 0;
}

std::string IdIntervalo(double hora, double sesiones) {
  if (sesiones == 0.5) hora = hora * 2 - 1;
  return "i" + text::FormatGeneral(hora, 15, text::DecimalSeparator());
}

}  // namespace velquior

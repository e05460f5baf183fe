#pragma once
// A subject's hours text as the teaching-assignments table keeps it: the
// number in HORAS and the session pattern in SESIONES.

#include <optional>
#include <string>
#include <string_view>

namespace velquior {

// The number for HORAS, or nullopt for an empty text (HORAS stays unset).
// Both "." and "," count as the decimal separator `separator`, so "2.5" and
// "2,5" are 2.5 under either; a text that still is no plain decimal number
// (text::ParseFloat) gives 1.
std::optional<double> HoursFromText(std::string_view hours_text, char separator);

// SESIONES for the hours read back from the record: n, the ceiling of
// `hours`, as n times "1" up to 13, and from 14 on the decimal text of n - 13
// followed by thirteen "1". Empty when n is 0 or less, and when the ceiling
// is no 32-bit whole number (too large, not finite).
std::string SessionPattern(double hours);

}  // namespace velquior

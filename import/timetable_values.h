#pragma once
// How the import reads the day and hour numbers of DIASHORAST and names a
// lesson's interval. Shared with the check, which must predict exactly the
// ids the import writes.

#include <string>

namespace velquior {

inline constexpr int kDiasSemana = 7;
inline constexpr int kHorasDia = 40;

// "1".."max" as written, nothing else: DIA and HORA of DIASHORAST are
// compared as texts, so "01" or " 1" is no day. 0 for any other text.
int NumeroDecimal(const std::string& text, int max);

// The interval id of a SOLUC lesson, "i" and its number in the general
// format with the process decimal separator: half-hour sessions
// (SESIONES 0.5) count their intervals in halves.
std::string IdIntervalo(double hora, double sesiones);

}  // namespace velquior

#pragma once
// Numbers as the user sees them: decimal text with the decimal separator of
// the user's regional settings. Locale-independent underneath (no printf, no
// strtod, no global locale), so nothing of the process locale reaches a file.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velquior::text {

// The decimal separator in force for the whole process (default ".").
// Front ends set it once at start from the regional settings or an override.
char DecimalSeparator();
void SetDecimalSeparator(char separator);

// The separator of the user's numeric settings (platform/locale.h; on POSIX
// LC_ALL, LC_NUMERIC, LANG), read without changing the process locale; by
// the language's custom when the platform does not know the settings' name.
// "." when nothing says otherwise.
char DecimalSeparatorFromEnvironment();

// Strict decimal number: optional blanks, optional sign, digits with at most
// one `separator`, optional exponent (E or e, optional sign, digits), optional
// blanks. Anything else (inf, nan, hexadecimal, trailing letters, overflow)
// gives nullopt.
std::optional<double> ParseFloat(std::string_view text, char separator);

// Integer text as the platform's conversion reads it: leading blanks, an
// optional sign, decimal digits, or hexadecimal after "$" or "0x"; nothing
// may follow. Decimal values must fit 32 bits; hexadecimal ones up to
// FFFFFFFF wrap as the 32-bit pattern they are.
std::optional<std::int32_t> ParseInt(std::string_view text);

// As above, raising Error("'%s' no es un valor entero válido") /
// Error("'%s' no es un valor punto flotante válido") with the Windows-1252
// text. Floats use the process separator.
std::int32_t StrToInt(std::string_view ansi_text);
double StrToFloat(std::string_view ansi_text);

// Shortest text that reads back as the same double, with `separator`: fixed
// notation from 1E-5 to below 1E+15 (3, not 3.0; 2.5; 100000), scientific
// beyond (1E+20, 1,5E-7).
std::string FormatShortest(double value, char separator);

// General format with at most `digits` significant digits and no trailing
// zeros (1.5, 3, -1, 1E+20), with `separator`.
std::string FormatGeneral(double value, int digits, char separator);

// Round half to even, to a 32-bit integer (saturating).
std::int32_t RoundHalfEven(double value);

}  // namespace velquior::text

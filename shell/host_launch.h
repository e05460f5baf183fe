#pragma once
// Reading the command line of a host launch: two parameters, the conversion
// to run and the host window's handle in hexadecimal. Pure functions.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace velquior::shell {

enum class Conversion { kNone, kExport, kImport };

// Exactly two parameters (the program's own path not counted) make a host
// launch; any other count is interactive use.
bool IsHostCommandLine(std::span<const std::string> params);

// "exportar" / "importar" after turning A-Z (only) into lower case.
Conversion ConversionNamed(std::string_view param);

// The handle as the platform's integer conversion reads "$" + param: hex
// digits up to FFFFFFFF (sign and blanks as that conversion allows). Raises
// Error("'$param' no es un valor entero válido") otherwise.
std::uint32_t ReadHostHandle(std::string_view param);

}  // namespace velquior::shell

#include "shell/host_launch.h"

#include "text/encoding.h"
#include "text/numbers.h"

namespace velquior::shell {

bool IsHostCommandLine(std::span<const std::string> params) { return params.size() == 2; }

Conversion ConversionNamed(std::string_view param) {
  std::string lower(param);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  if (lower == "importar") return Conversion::kImport;
  if (lower == "exportar") return Conversion::kExport;
  return Conversion::kNone;
}

std::uint32_t ReadHostHandle(std::string_view param) {
  // The command line is UTF-8 here; the conversion (and its message) works
  // on the code page's text.
  std::string ansi = "$" + text::Utf8ToAnsi(param);
  return static_cast<std::uint32_t>(text::StrToInt(ansi));
}

}  // namespace velquior::shell

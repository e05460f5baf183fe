#include "platform/locale.h"

#include <langinfo.h>
#include <locale.h>

#include "platform/environment.h"

namespace velquior::platform {

std::string NumericLocaleName() {
  for (const char* var : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
    if (auto name = EnvironmentVariable(var)) return *name;
  }
  return {};
}

std::optional<char> LocaleDecimalSeparator(const std::string& name) {
  locale_t loc = newlocale(LC_NUMERIC_MASK, name.c_str(), nullptr);
  if (loc == nullptr) return std::nullopt;
  const char* radix = nl_langinfo_l(RADIXCHAR, loc);
  const char sep = (radix != nullptr && radix[0] != '\0' && radix[1] == '\0') ? radix[0] : '.';
  freelocale(loc);
  return sep;
}

}  // namespace velquior::platform

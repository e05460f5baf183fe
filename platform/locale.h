#pragma once
// The user's regional settings, read without touching the process locale.

#include <optional>
#include <string>

namespace velquior::platform {

// The name of the user's numeric settings ("es_ES.UTF-8"); empty when
// nothing is set.
std::string NumericLocaleName();

// The decimal separator of the named settings; "." when it is not one byte.
// nullopt when the platform does not know the name.
std::optional<char> LocaleDecimalSeparator(const std::string& name);

}  // namespace velquior::platform

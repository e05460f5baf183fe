#pragma once
// printf-style "%s" substitution for the program's message templates, so the
// templates in messages.h stay the system's own texts ("'%s' no es un valor
// entero válido"). Only %s and %d are understood; "%%" is a literal percent.

#include <initializer_list>
#include <string>
#include <string_view>

namespace velquior {

std::string Format(std::string_view pattern, std::initializer_list<std::string_view> args);

}  // namespace velquior

#pragma once
// The one case-insensitive comparison of Windows-1252 texts, used wherever
// the conversions ignore letter case. A letter matches its other case: A-Z
// with a-z, and the accented letters of the code page (Š/š, Œ/œ, Ž/ž, Ÿ/ÿ,
// À-Þ with à-þ, × and ÷ not being letters). Nothing else is folded: ß, µ, ª
// and º have no other case here, and accents always count (é is not e).

#include <string>
#include <string_view>

namespace velquior::text {

// The lower-case form of a letter; every other byte as it is.
char FoldCase(char c);

// Equal letter for letter, ignoring the case of letters.
bool EqualsNoCase(std::string_view a, std::string_view b);

// A key such that EqualsNoCase(a, b) exactly when FoldKey(a) == FoldKey(b),
// for hashing texts under that comparison.
std::string FoldKey(std::string_view s);

}  // namespace velquior::text

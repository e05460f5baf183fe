#pragma once
// velquior-convert history: the entries, newest first, numbered from 1 as
// restore takes them.

#include <ostream>
#include <span>

#include "history/entry.h"

namespace velquior::cli {

void WriteHistoryText(std::span<const history::Entry> entries, std::ostream& out);
// One array, an object per entry: number, conversion (the command word),
// date (ISO 8601, local time), description, document, work_dir, folder and
// files (path, existed and, when it existed, size and sha256).
void WriteHistoryJson(std::span<const history::Entry> entries, std::ostream& out);

}  // namespace velquior::cli

#pragma once
// SOLUC read once, each record as the import reads it: the same fields
// through the same engine readers, so a value the import could not read as
// a number is caught here with the engine's own message.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tables/table.h"

namespace velquior::check {

// A field that does not read as a number: the field, its text as stored and
// the engine's message (UTF-8).
struct BadNumber {
  std::string_view field;
  std::string text;
  std::string message;
};

struct Lesson {
  std::size_t record = 0;       // the host's record number
  std::optional<std::int32_t> dia;  // DIA as an integer; none when it does not read
  std::string dia_text, hora_text;
  std::optional<double> hora, sesiones;  // read only for scheduled lessons
  std::string asig, grupo, prof, aula;   // Windows-1252
  std::vector<BadNumber> bad;

  // Whether the import writes an input for it: DIA reads and is not 0.
  bool Scheduled() const { return dia && *dia != 0; }
};

// Every live record of the open `soluc`, in stored order.
std::vector<Lesson> ReadLessons(tables::Table& soluc);

}  // namespace velquior::check

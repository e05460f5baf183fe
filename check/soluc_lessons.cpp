#include "check/soluc_lessons.h"

#include "common/error.h"
#include "tables/catalog.h"

namespace velquior::check {
namespace {

namespace f = catalog::f;

// The stored text of a value that the number reader refused; the text
// reader can refuse it too (a damaged numeric field).
std::string TextOf(const tables::Table& t, std::string_view field) {
  try {
    return t.AsText(field);
  } catch (const Error&) {
    return {};
  }
}

template <typename Read>
auto ReadNumber(const tables::Table& t, std::string_view field, Lesson& lesson, Read read)
    -> std::optional<decltype(read())> {
  try {
    return read();
  } catch (const Error& e) {
    lesson.bad.push_back({field, TextOf(t, field), std::string(e.message())});
    return std::nullopt;
  }
}

}  // namespace

std::vector<Lesson> ReadLessons(tables::Table& soluc) {
  std::vector<Lesson> lessons;
  lessons.reserve(soluc.RecordCount());
  for (soluc.First(); !soluc.Eof(); soluc.Next()) {
    Lesson& l = lessons.emplace_back();
    l.record = soluc.RecordNumber();
    // The import's order of reading: DIA as an integer, then for a scheduled
    // lesson its text, HORA and SESIONES.
    l.dia = ReadNumber(soluc, f::kDia, l, [&] { return soluc.AsInteger(f::kDia); });
    l.asig = soluc.AsText(f::kAsig);
    l.grupo = soluc.AsText(f::kCodGrupo);
    l.prof = soluc.AsText(f::kProf);
    l.aula = soluc.AsText(f::kAula);
    if (!l.Scheduled()) continue;
    l.dia_text = soluc.AsText(f::kDia);
    l.hora_text = TextOf(soluc, f::kHora);
    l.hora = ReadNumber(soluc, f::kHora, l, [&] { return soluc.AsFloat(f::kHora); });
    l.sesiones = ReadNumber(soluc, f::kSesiones, l, [&] { return soluc.AsFloat(f::kSesiones); });
  }
  return lessons;
}

}  // namespace velquior::check

// `days`: the weekdays of DIASHORAST with their intervals.
#include <array>
#include <optional>
#include <vector>

#include "import/sections.h"
#include "import/timetable_values.h"
#include "tables/catalog.h"
#include "xml/saga_names.h"

namespace velquior {
namespace {

constexpr int kDays = kDiasSemana;
constexpr int kHours = kHorasDia;

// End times get a leading zero when they have one to four characters and
// do not begin with one.
std::string WithLeadingZero(std::string end) {
  if (!end.empty() && end.size() <= 4 && end[0] != '0') end.insert(end.begin(), '0');
  return end;
}

struct Interval {
  std::string begin;
  std::string end;
};

}  // namespace

void EscribirDias(xml::Document& doc, xml::Node time_table, tables::FormTables& t) {
  namespace f = catalog::f;
  xml::Node days = time_table.appendChild(doc.createElement(saga::kDays));
  tables::Table& dh = t.wwTableDiasHoras;

  // One pass gives what the scans per day and per hour would: the first
  // record of each day for its name, and each day's records by hour in
  // table order.
  std::array<std::optional<std::string>, kDays + 1> names;
  std::vector<std::array<std::vector<Interval>, kHours + 1>> intervals(kDays + 1);
  for (dh.First(); !dh.Eof(); dh.Next()) {
    int d = NumeroDecimal(dh.AsText(f::kDia), kDays);
    if (d == 0) continue;
    if (!names[d]) names[d] = dh.AsText(f::kTextoDia);
    int h = NumeroDecimal(dh.AsText(f::kHora), kHours);
    if (h != 0) intervals[d][h].push_back({dh.AsText(f::kHoraDesde), dh.AsText(f::kHoraHasta)});
  }
  for (int d = 1; d <= kDays; ++d) {
    if (!names[d]) continue;
    xml::Node day = doc.createElement(saga::kDay);
    day.setAttribute(saga::kId, std::to_string(d));
    day.setAttribute(saga::kName, *names[d]);
    days.appendChild(day);
    for (int h = 1; h <= kHours; ++h) {
      for (const auto& iv : intervals[d][h]) {
        xml::Node interval = doc.createElement(saga::kInterval);
        interval.setAttribute(saga::kId, "i" + std::to_string(h));
        interval.setAttribute(saga::kBegin, iv.begin);
        interval.setAttribute(saga::kEnd, WithLeadingZero(iv.end));
        day.appendChild(interval);
      }
    }
  }
}

}  // namespace velquior

#include "cli/check_report.h"

#include <algorithm>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "cli/json_text.h"
#include "common/files.h"
#include "common/format.h"
#include "common/messages.h"

namespace velquior::cli {
namespace {

using check::Finding;
using check::Severity;
using check::Side;

// Side, then severity, then kind by its first finding: the same kinds side
// by side, and what must be fixed before what is merely worth knowing.
std::vector<const Finding*> Grouped(const check::Report& report) {
  std::vector<std::string_view> kind_order;
  for (const Finding& f : report.findings) {
    if (std::find(kind_order.begin(), kind_order.end(), f.kind) == kind_order.end()) kind_order.push_back(f.kind);
  }
  auto rank = [&](const Finding* f) {
    auto kind = std::find(kind_order.begin(), kind_order.end(), f->kind) - kind_order.begin();
    return std::tuple(f->side == Side::kImport, -static_cast<int>(f->severity), kind);
  };
  std::vector<const Finding*> out;
  for (const Finding& f : report.findings) out.push_back(&f);
  std::stable_sort(out.begin(), out.end(), [&](const Finding* a, const Finding* b) { return rank(a) < rank(b); });
  return out;
}

std::string_view SeverityWord(Severity s) {
  switch (s) {
    case Severity::kError:
      return msg::kCheckError;
    case Severity::kWarning:
      return msg::kCheckAvisoNivel;
    case Severity::kNote:
      break;
  }
  return msg::kCheckNota;
}

std::string_view SeverityName(Severity s) {
  switch (s) {
    case Severity::kError:
      return "error";
    case Severity::kWarning:
      return "warning";
    case Severity::kNote:
      break;
  }
  return "note";
}

void WriteRecord(const check::Concerned& r, std::ostream& out) {
  out << "    " << r.where;
  if (r.position != 0) out << ' ' << r.position;
  if (!r.id.empty()) out << " [" << r.id << ']';
  if (!r.name.empty()) out << ' ' << r.name;
  if (!r.detail.empty()) out << ": " << r.detail;
  out << '\n';
}

}  // namespace

void WriteCheckText(const check::Report& report, const std::filesystem::path& file,
                    const std::filesystem::path& work_dir, std::ostream& out) {
  out << Format(msg::kCheckTitulo, {PathForMessage(file), PathForMessage(work_dir)}) << '\n';
  const std::vector<const Finding*> grouped = Grouped(report);
  std::size_t counts[3] = {};
  for (Side side : {Side::kExport, Side::kImport}) {
    const bool any = std::any_of(grouped.begin(), grouped.end(), [&](const Finding* f) { return f->side == side; });
    const bool counted = side == Side::kImport && report.import_checked;
    if (!any && !counted && side == Side::kImport) continue;
    out << '\n' << (side == Side::kExport ? msg::kCheckExportacion : msg::kCheckImportacion) << '\n';
    if (counted) {
      const check::ImportCounts& c = report.import_counts;
      out << "  "
          << Format(msg::kCheckImportaria, {std::to_string(c.inputs), std::to_string(c.activities),
                                            std::to_string(c.groups), std::to_string(c.members)})
          << '\n';
    }
    if (!any && !counted) out << "  " << msg::kCheckNadaQueSenalar << '\n';
    for (const Finding* f : grouped) {
      if (f->side != side) continue;
      ++counts[static_cast<int>(f->severity)];
      out << "  " << SeverityWord(f->severity) << " (" << f->kind << "): " << f->summary << '\n';
      for (const check::Concerned& r : f->records) WriteRecord(r, out);
    }
  }
  out << '\n'
      << Format(msg::kCheckResumen, {std::to_string(counts[static_cast<int>(Severity::kError)]),
                                     std::to_string(counts[static_cast<int>(Severity::kWarning)]),
                                     std::to_string(counts[static_cast<int>(Severity::kNote)])})
      << '\n';
}

void WriteCheckJson(const check::Report& report, const std::filesystem::path& file,
                    const std::filesystem::path& work_dir, std::ostream& out) {
  out << "{\"file\": " << JsonString(PathForMessage(file)) << ", \"work_dir\": " << JsonString(PathForMessage(work_dir))
      << ", \"status\": " << check::ExitStatusFor(report) << ", \"findings\": [";
  const std::vector<const Finding*> grouped = Grouped(report);
  for (std::size_t i = 0; i < grouped.size(); ++i) {
    const Finding& f = *grouped[i];
    out << (i ? ", " : "") << "{\"kind\": " << JsonString(f.kind)
        << ", \"severity\": " << JsonString(SeverityName(f.severity))
        << ", \"side\": " << JsonString(f.side == Side::kExport ? "export" : "import")
        << ", \"summary\": " << JsonString(f.summary) << ", \"records\": [";
    for (std::size_t j = 0; j < f.records.size(); ++j) {
      const check::Concerned& r = f.records[j];
      out << (j ? ", " : "") << "{\"where\": " << JsonString(r.where)
          << ", \"position\": " << (r.position != 0 ? std::to_string(r.position) : "null")
          << ", \"id\": " << JsonString(r.id) << ", \"name\": " << JsonString(r.name)
          << ", \"detail\": " << JsonString(r.detail) << "}";
    }
    out << "]}";
  }
  out << "], \"import_checked\": " << (report.import_checked ? "true" : "false") << ", \"import_counts\": ";
  if (report.import_checked) {
    const check::ImportCounts& c = report.import_counts;
    out << "{\"inputs\": " << c.inputs << ", \"activities\": " << c.activities << ", \"groups\": " << c.groups
        << ", \"members\": " << c.members << "}";
  } else {
    out << "null";
  }
  out << "}\n";
}

}  // namespace velquior::cli

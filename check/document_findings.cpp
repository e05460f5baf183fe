#include "check/document_findings.h"

#include <map>
#include <unordered_map>
#include <utility>

#include "check/kinds.h"
#include "common/format.h"
#include "common/messages.h"
#include "text/encoding.h"
#include "text/text_helpers.h"
#include "xml/saga_names.h"

namespace velquior::check {
namespace {

using text::AnsiToUtf8;

void AddMissingItems(const DryExport& dry, Report& report) {
  // One finding per kind of element and item, its elements in report order.
  std::map<std::pair<std::string_view, std::string>, std::size_t> finding_of;
  std::vector<Finding> found;
  for (const Missing& m : dry.missing) {
    auto [it, fresh] = finding_of.try_emplace({m.element, m.what}, found.size());
    if (fresh) found.push_back({kinds::kMissingItem, Severity::kWarning, Side::kExport, {}, {}});
    found[it->second].records.push_back({std::string(m.element), m.position, {}, {}, {}});
  }
  for (const auto& [key, index] : finding_of) {
    Finding& f = found[index];
    f.summary = Format(msg::kCheckFaltaElemento, {key.first, key.second, std::to_string(f.records.size())});
  }
  for (Finding& f : found) report.findings.push_back(std::move(f));
}

// Empty identifiers are missing items already; the look-ups of ASIGT take
// the first record of an identifier, which is the first element.
void AddDuplicateIds(const DryExport& dry, Report& report) {
  for (std::size_t k = 0; k < kCatalogues.size(); ++k) {
    const Catalogue& records = dry.catalogues[k];
    std::unordered_map<std::string, std::vector<std::size_t>> positions;
    std::vector<std::string> order;
    for (std::size_t i = 0; i < records.size(); ++i) {
      if (records[i].id.empty()) continue;
      auto& list = positions[records[i].id];
      if (list.empty()) order.push_back(records[i].id);
      list.push_back(i);
    }
    const bool looked_up = k != kRooms;
    for (const std::string& id : order) {
      const auto& list = positions[id];
      if (list.size() < 2) continue;
      Finding f{kinds::kDuplicateId, Severity::kWarning, Side::kExport, {}, {}};
      const std::string count = std::to_string(list.size()), first = std::to_string(list[0] + 1);
      f.summary = looked_up ? Format(msg::kCheckIdRepetido, {AnsiToUtf8(id), count, kCatalogues[k].element, first})
                            : Format(msg::kCheckIdRepetidoAula, {AnsiToUtf8(id), count});
      for (std::size_t i : list) {
        std::string_view detail = !looked_up ? "" : i == list[0] ? msg::kCheckUsadoPorAsignaciones : msg::kCheckNoUsado;
        f.records.push_back({std::string(kCatalogues[k].element), static_cast<long>(i + 1), AnsiToUtf8(id),
                             AnsiToUtf8(records[i].name), std::string(detail)});
      }
      report.findings.push_back(std::move(f));
    }
  }
}

// The identifiers of a catalogue as ASIGT's look-ups see them: the stored
// IDSAGA, compared exactly.
std::unordered_map<std::string, std::size_t> FirstById(const Catalogue& records) {
  std::unordered_map<std::string, std::size_t> first;
  for (std::size_t i = 0; i < records.size(); ++i) first.try_emplace(records[i].id, i);
  return first;
}

std::string IdOf(const xml::Node& node) {
  auto attr = node.attributes().getNamedItem(saga::kId);
  return attr ? text::TrimBoth(attr->text()) : std::string();
}

std::string NameOf(const xml::Node& node) {
  auto attr = node.attributes().getNamedItem(saga::kName);
  return attr ? text::TrimBoth(attr->text()) : std::string();
}

// Walks the assigned subjects and teachers as the assignments builder does:
// positions count every assigned subject (and teacher) of the document.
void AddUnknownAssignedIds(const xml::Document& doc, const DryExport& dry, Report& report) {
  const auto subjects = FirstById(dry.catalogues[kSubjects]);
  const auto teachers = FirstById(dry.catalogues[kTeachers]);
  Finding bad_subjects{kinds::kUnknownAssignedId, Severity::kWarning, Side::kExport, {}, {}};
  Finding bad_teachers = bad_subjects;
  long subject_position = 0, teacher_position = 0;
  xml::NodeList groups = doc.selectNodes(saga::kGroupsPath);
  for (long g = 0; g < groups.length(); ++g) {
    const xml::Node group = *groups.item(g);
    const std::string group_name = AnsiToUtf8(NameOf(group));
    xml::NodeList assigned = group.selectNodes(saga::kAssignedSubjectsPath);
    for (long s = 0; s < assigned.length(); ++s) {
      const xml::Node subject = *assigned.item(s);
      const auto index = static_cast<std::size_t>(subject_position++);
      const AssignmentRecord record = index < dry.assignments.size() ? dry.assignments[index] : AssignmentRecord{};
      const std::string asigt = std::to_string(index + 1);
      const std::string subject_id = IdOf(subject);
      if (!subjects.contains(subject_id)) {
        bad_subjects.records.push_back(
            {std::string(saga::kAssignedSubject),
             subject_position,
             AnsiToUtf8(subject_id),
             {},
             Format(msg::kCheckAsignaturaEnAsigt,
                    {group_name, asigt, AnsiToUtf8(record.subject), AnsiToUtf8(record.hours)})});
      }
      xml::NodeList listed = subject.selectNodes(saga::kAssignedTeachersPath);
      for (long t = 0; t < listed.length(); ++t) {
        ++teacher_position;
        const std::string teacher_id = IdOf(*listed.item(t));
        if (teachers.contains(teacher_id)) continue;
        const bool counts = t + 1 == listed.length();
        bad_teachers.records.push_back({std::string(saga::kAssignedTeacher),
                                        teacher_position,
                                        AnsiToUtf8(teacher_id),
                                        {},
                                        Format(counts ? msg::kCheckProfesorEnAsigt : msg::kCheckProfesorNoCuenta,
                                               {group_name, asigt, AnsiToUtf8(record.teacher)})});
      }
    }
  }
  for (Finding* f : {&bad_subjects, &bad_teachers}) {
    if (f->records.empty()) continue;
    const std::string_view pattern =
        f == &bad_subjects ? msg::kCheckAsignaturaDesconocida : msg::kCheckProfesorDesconocido;
    f->summary = Format(pattern, {std::to_string(f->records.size())});
    report.findings.push_back(std::move(*f));
  }
}

}  // namespace

void AddDocumentFindings(const xml::Document& doc, const DryExport& dry, Report& report) {
  AddMissingItems(dry, report);
  AddDuplicateIds(dry, report);
  AddUnknownAssignedIds(doc, dry, report);
}

}  // namespace velquior::check

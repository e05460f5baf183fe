#include "check/table_changes.h"

#include <deque>
#include <optional>
#include <unordered_map>

#include "check/kinds.h"
#include "common/error.h"
#include "common/format.h"
#include "common/messages.h"
#include "tables/table.h"
#include "text/encoding.h"

namespace velquior::check {
namespace {

using text::AnsiToUtf8;
constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// Old and new records of one catalogue paired through IDSAGA.
struct Pairing {
  std::vector<std::size_t> old_of_new, new_of_old;  // kNone: no partner
};

Pairing Pair(const Catalogue& old_records, const Catalogue& new_records) {
  Pairing p{std::vector<std::size_t>(new_records.size(), kNone), std::vector<std::size_t>(old_records.size(), kNone)};
  std::unordered_map<std::string, std::deque<std::size_t>> waiting;
  for (std::size_t j = 0; j < old_records.size(); ++j) waiting[old_records[j].id].push_back(j);
  for (std::size_t i = 0; i < new_records.size(); ++i) {
    auto it = waiting.find(new_records[i].id);
    if (it == waiting.end() || it->second.empty()) continue;
    p.old_of_new[i] = it->second.front();
    p.new_of_old[it->second.front()] = i;
    it->second.pop_front();
  }
  return p;
}

Finding NoteOf(std::string_view kind) { return {kind, Severity::kNote, Side::kExport, {}, {}}; }

void Push(Report& report, Finding f, std::string_view pattern, const std::string& table) {
  if (f.records.empty()) return;
  f.summary = Format(pattern, {table, std::to_string(f.records.size())});
  report.findings.push_back(std::move(f));
}

void AddRecordChanges(const CatalogueKind& kind, const Catalogue& old_records, const Catalogue& new_records,
                      const Pairing& p, Report& report) {
  const std::string table(kind.table->name);
  Finding added = NoteOf(kinds::kRecordAdded), removed = NoteOf(kinds::kRecordRemoved);
  Finding codes = NoteOf(kinds::kCodeChanged), names = NoteOf(kinds::kNameChanged);
  auto concerned = [&](const CatalogueRecord& r, std::size_t index, std::string detail) {
    return Concerned{table, static_cast<long>(index + 1), AnsiToUtf8(r.id), AnsiToUtf8(r.name), std::move(detail)};
  };
  for (std::size_t i = 0; i < new_records.size(); ++i) {
    const CatalogueRecord& now = new_records[i];
    if (p.old_of_new[i] == kNone) {
      added.records.push_back(concerned(now, i, Format(msg::kCheckCodigo, {AnsiToUtf8(now.code)})));
      continue;
    }
    const CatalogueRecord& before = old_records[p.old_of_new[i]];
    if (before.code != now.code) {
      codes.records.push_back(
          concerned(now, i, Format(msg::kCheckPasaA, {AnsiToUtf8(before.code), AnsiToUtf8(now.code)})));
    }
    if (before.name != now.name) {
      names.records.push_back(
          concerned(now, i, Format(msg::kCheckPasaA, {AnsiToUtf8(before.name), AnsiToUtf8(now.name)})));
    }
  }
  for (std::size_t j = 0; j < old_records.size(); ++j) {
    if (p.new_of_old[j] != kNone) continue;
    removed.records.push_back(
        concerned(old_records[j], j, Format(msg::kCheckCodigo, {AnsiToUtf8(old_records[j].code)})));
  }
  Push(report, std::move(added), msg::kCheckAnadidos, table);
  Push(report, std::move(removed), msg::kCheckQuitados, table);
  Push(report, std::move(codes), msg::kCheckCodigosCambian, table);
  Push(report, std::move(names), msg::kCheckNombresCambian, table);
}

// How many SOLUC records hold each code in `field`, in order of first use;
// empty codes name nothing and are left out.
struct CodeUse {
  std::vector<std::string> order;
  std::unordered_map<std::string, long> lessons;
};

std::array<CodeUse, 4> ReadSolucUse(const std::filesystem::path& work_dir) {
  std::array<CodeUse, 4> use;
  tables::Table soluc(work_dir, catalog::kSoluc);
  soluc.Open();
  std::array<bool, 4> present{};
  for (const tables::FieldInfo& field : soluc.Fields()) {
    for (std::size_t k = 0; k < kCatalogues.size(); ++k) present[k] |= field.name == kCatalogues[k].soluc_field;
  }
  for (soluc.First(); !soluc.Eof(); soluc.Next()) {
    for (std::size_t k = 0; k < kCatalogues.size(); ++k) {
      if (!present[k]) continue;
      std::string code = soluc.AsText(kCatalogues[k].soluc_field);
      if (code.empty()) continue;
      if (use[k].lessons[code]++ == 0) use[k].order.push_back(std::move(code));
    }
  }
  soluc.Close();
  return use;
}

std::optional<std::size_t> FirstWithCode(const Catalogue& records, const std::string& code) {
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (records[i].code == code) return i;
  }
  return std::nullopt;
}

// The import finds a lesson's element through the first record holding the
// code; a code the old tables do not hold is the import side's concern.
void AddTimetableChanges(const CatalogueKind& kind, const CodeUse& use, const Catalogue& old_records,
                         const Catalogue& new_records, const Pairing& p, Report& report) {
  Finding f{kinds::kTimetableCodeChanged, Severity::kWarning, Side::kExport, {}, {}};
  long lessons = 0;
  for (const std::string& code : use.order) {
    const auto j = FirstWithCode(old_records, code);
    if (!j) continue;
    const std::size_t i = p.new_of_old[*j];
    if (i != kNone && new_records[i].code == code) continue;
    const long n = use.lessons.at(code);
    lessons += n;
    std::string detail = i == kNone ? Format(msg::kCheckHorarioQuita, {AnsiToUtf8(code), std::to_string(n)})
                                    : Format(msg::kCheckHorarioCambia,
                                             {AnsiToUtf8(code), AnsiToUtf8(new_records[i].code), std::to_string(n)});
    if (const auto owner = FirstWithCode(new_records, code)) {
      const CatalogueRecord& r = new_records[*owner];
      detail += Format(msg::kCheckHorarioNuevoDueno, {AnsiToUtf8(code), AnsiToUtf8(r.name), AnsiToUtf8(r.id)});
    }
    const CatalogueRecord& before = old_records[*j];
    f.records.push_back({std::string(kind.table->name), static_cast<long>(*j + 1), AnsiToUtf8(before.id),
                         AnsiToUtf8(before.name), std::move(detail)});
  }
  if (f.records.empty()) return;
  f.summary = Format(msg::kCheckHorario,
                     {std::string(kind.table->name), std::to_string(f.records.size()), std::to_string(lessons)});
  report.findings.push_back(std::move(f));
}

}  // namespace

void AddTableChanges(const std::filesystem::path& work_dir, const DryExport& dry, Report& report) {
  Finding unreadable{kinds::kTableUnreadable, Severity::kWarning, Side::kExport, {}, {}};
  // A damaged table is the export's to replace: it is reported and left out
  // of the comparison, and the rest is still compared.
  auto readable = [&](std::string_view table, auto read) -> decltype(read()) {
    try {
      return read();
    } catch (const Error& e) {
      unreadable.records.push_back({std::string(table), 0, {}, {}, std::string(e.message())});
      return {};
    }
  };
  std::optional<std::array<CodeUse, 4>> soluc;
  if (HasTable(work_dir, catalog::kSoluc)) {
    soluc = readable(catalog::kSoluc, [&] { return std::optional(ReadSolucUse(work_dir)); });
  }
  for (std::size_t k = 0; k < kCatalogues.size(); ++k) {
    const std::optional<Catalogue> old_records =
        readable(kCatalogues[k].table->name, [&] { return ReadCatalogue(work_dir, kCatalogues[k]); });
    if (!old_records) continue;
    const Catalogue& new_records = dry.catalogues[k];
    const Pairing p = Pair(*old_records, new_records);
    if (soluc) AddTimetableChanges(kCatalogues[k], (*soluc)[k], *old_records, new_records, p, report);
    AddRecordChanges(kCatalogues[k], *old_records, new_records, p, report);
  }
  if (!unreadable.records.empty()) {
    unreadable.summary = Format(msg::kCheckTablasIlegibles, {std::to_string(unreadable.records.size())});
    report.findings.push_back(std::move(unreadable));
  }
}

}  // namespace velquior::check

#include "export/kept_codes.h"

#include <unordered_map>

#include "common/error.h"
#include "common/files.h"
#include "common/format.h"
#include "common/messages.h"
#include "tables/table.h"
#include "text/encoding.h"
#include "text/text_helpers.h"
#include "xml/saga_names.h"

namespace velquior {
namespace {

namespace f = catalog::f;

bool Present(const std::filesystem::path& dir, const catalog::TableSpec& t) {
  return FindFileNoCase(dir, std::string(t.name) + std::string(catalog::kDataExtension)).has_value();
}

KeptTable ReadOne(const std::filesystem::path& dir, const catalog::TableSpec& t, std::string_view code_field,
                  bool with_long_code) {
  KeptTable kept;
  tables::Table table(dir, t.name);
  table.Open();
  for (table.First(); !table.Eof(); table.Next()) {
    kept.Remember(table.AsText(f::kIdSaga),
                  {table.AsText(code_field), with_long_code ? table.AsText(f::kCodLargo) : std::string()});
  }
  table.Close();
  return kept;
}

// A table that cannot be read keeps nothing: guessing at a damaged memory
// could give an element another's code.
void ReadInto(KeptTable& into, const std::filesystem::path& dir, const catalog::TableSpec& t,
              std::string_view code_field, bool with_long_code, Reporter& reporter) {
  if (!Present(dir, t)) return;
  try {
    into = ReadOne(dir, t, code_field, with_long_code);
  } catch (const Error& e) {
    reporter.ReportCodeNotKept({t.name, {}, 0, {}, {}, std::string(e.message())});
  }
}

// The identifier as the builders read it, without reporting a missing one
// (the builder itself does that).
std::string IdOf(const xml::Node& node) {
  auto attr = node.attributes().getNamedItem(saga::kId);
  return attr ? text::TrimBoth(attr->text()) : std::string();
}

}  // namespace

void KeptTable::Remember(std::string id, KeptCode code) {
  if (id.empty() || code.code.empty()) return;
  by_id_.try_emplace(std::move(id), std::move(code));
}

const KeptCode* KeptTable::Find(const std::string& id) const {
  auto it = by_id_.find(id);
  return it == by_id_.end() ? nullptr : &it->second;
}

const KeptTable* KeptCodes::Of(const catalog::TableSpec& table) const {
  if (&table == &catalog::kAsignomt) return &subjects;
  if (&table == &catalog::kProft) return &teachers;
  if (&table == &catalog::kAulat) return &rooms;
  if (&table == &catalog::kGrupost) return &groups;
  return nullptr;
}

KeptCodes ReadKeptCodes(const std::filesystem::path& work_dir, Reporter& reporter) {
  KeptCodes kept;
  ReadInto(kept.subjects, work_dir, catalog::kAsignomt, f::kCod, true, reporter);
  ReadInto(kept.teachers, work_dir, catalog::kProft, f::kAbrev, false, reporter);
  ReadInto(kept.rooms, work_dir, catalog::kAulat, f::kAbrev, false, reporter);
  ReadInto(kept.groups, work_dir, catalog::kGrupost, f::kAbrev, false, reporter);
  return kept;
}

ElementCodes::ElementCodes(const xml::NodeList& nodes, const KeptTable* kept, const catalog::TableSpec& table,
                           std::string_view element, codes::CodeAssigner& assigner, Reporter& reporter)
    : at_(static_cast<std::size_t>(nodes.length()), nullptr) {
  if (kept == nullptr || kept->size() == 0) return;
  std::unordered_map<std::string, long> holder_of_id;    // id -> first element with it
  std::unordered_map<std::string, long> holder_of_code;  // code's key -> element keeping it
  const UsedCodes& used = assigner.used();
  for (long i = 0; i < nodes.length(); ++i) {
    const std::string id = IdOf(*nodes.item(i));
    const KeptCode* code = id.empty() ? nullptr : kept->Find(id);
    if (code == nullptr) continue;
    std::string why;
    if (auto first = holder_of_id.try_emplace(id, i); !first.second) {
      why = Format(msg::kNoConservaIdRepetido, {std::to_string(first.first->second + 1)});
    } else if (auto taken = holder_of_code.find(used.Key(code->code)); taken != holder_of_code.end()) {
      why = Format(msg::kNoConservaCodigoTomado, {std::to_string(taken->second + 1)});
    }
    if (!why.empty()) {
      reporter.ReportCodeNotKept(
          {table.name, element, i + 1, text::AnsiToUtf8(id), text::AnsiToUtf8(code->code), std::move(why)});
      continue;
    }
    holder_of_code.emplace(used.Key(code->code), i);
    assigner.Reserve(code->code);
    at_[static_cast<std::size_t>(i)] = code;
  }
}

std::string NotKeptLine(const CodeNotKept& n) {
  const std::string table(n.table);
  if (n.element.empty()) return Format(msg::kNoConservaTabla, {table, n.why});
  return Format(msg::kNoConservaElemento, {table, n.element, std::to_string(n.position), n.id, n.code, n.why});
}

const KeptCode* ElementCodes::At(long index) const { return at_.at(static_cast<std::size_t>(index)); }

}  // namespace velquior

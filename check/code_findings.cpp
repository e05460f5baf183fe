// Codes a new export numbers or cuts, found by deriving each element's base
// code with the export's own functions and comparing it with the code the
// dry run wrote for that element.

#include <unordered_map>

#include "check/document_findings.h"
#include "check/kinds.h"
#include "common/format.h"
#include "common/messages.h"
#include "export/codes.h"
#include "export/kept_codes.h"
#include "text/encoding.h"
#include "text/text_helpers.h"
#include "xml/saga_names.h"

namespace velquior::check {
namespace {

using text::AnsiToUtf8;

// The name the kind's builder derives the code from, read as it reads it.
std::string NameFor(const CatalogueKind& kind, const xml::Node& node) {
  if (kind.named_by_child) {
    auto child = node.childNodes().item(0);
    return child ? text::TrimBoth(child->text()) : std::string();
  }
  auto attr = node.attributes().getNamedItem(saga::kName);
  return attr ? text::TrimBoth(attr->text()) : std::string();
}

// The base before the cut to the code's width.
std::string UncutBase(std::size_t kind, const std::string& name) {
  switch (kind) {
    case kSubjects:
      return codes::SubjectBaseUncut(name);
    case kTeachers:
      return codes::TeacherBaseUncut(name);
    case kRooms:
      return codes::RoomBase(name);
    default:
      return codes::GroupBase(codes::SplitGroupName(name));
  }
}

void AddFor(std::size_t k, const xml::Document& doc, const Catalogue& records, const KeptTable* kept, Report& report) {
  const CatalogueKind& kind = kCatalogues[k];
  const UsedCodes rule(kind.rule);
  std::unordered_map<std::string, std::size_t> holder;  // code's key -> first record with it
  Finding numbered{kinds::kHomonymCounter, Severity::kNote, Side::kExport, {}, {}};
  Finding cut{kinds::kCutCode, Severity::kNote, Side::kExport, {}, {}};
  std::vector<std::string> names;
  xml::NodeList nodes = doc.selectNodes(kind.path);
  for (long i = 0; i < nodes.length() && static_cast<std::size_t>(i) < records.size(); ++i) {
    const CatalogueRecord& record = records[static_cast<std::size_t>(i)];
    const std::string name = NameFor(kind, *nodes.item(i));
    names.push_back(name);
    if (const KeptCode* old = kept ? kept->Find(record.id) : nullptr; old && old->code == record.code) {
      holder.try_emplace(rule.Key(record.code), static_cast<std::size_t>(i));
      continue;  // not derived from its name
    }
    const std::string uncut = UncutBase(k, name);
    const std::string base = text::TrimTrailing(text::HeadChars(uncut, codes::kCodeWidth));
    Concerned c{std::string(kind.element), i + 1, AnsiToUtf8(record.id), AnsiToUtf8(name), {}};
    if (static_cast<std::ptrdiff_t>(uncut.size()) > codes::kCodeWidth) {
      c.detail = Format(msg::kCheckRecortadoDetalle, {AnsiToUtf8(uncut), AnsiToUtf8(record.code)});
      cut.records.push_back(c);
    }
    if (base != record.code) {
      auto it = holder.find(rule.Key(base));
      c.detail = it == holder.end() ? Format(msg::kCheckContadorSinDueno, {AnsiToUtf8(record.code), AnsiToUtf8(base)})
                                    : Format(msg::kCheckContadorDetalle,
                                             {AnsiToUtf8(record.code), AnsiToUtf8(base), std::to_string(it->second + 1),
                                              AnsiToUtf8(names[it->second])});
      numbered.records.push_back(c);
    }
    holder.try_emplace(rule.Key(record.code), static_cast<std::size_t>(i));
  }
  const std::string table(kind.table->name);
  if (!numbered.records.empty()) {
    numbered.summary = Format(msg::kCheckContador, {table, std::to_string(numbered.records.size())});
    report.findings.push_back(std::move(numbered));
  }
  if (!cut.records.empty()) {
    cut.summary = Format(msg::kCheckRecortado, {table, std::to_string(cut.records.size())});
    report.findings.push_back(std::move(cut));
  }
}

}  // namespace

void AddCodeFindings(const xml::Document& doc, const DryExport& dry, Report& report, const KeptCodes* kept) {
  for (std::size_t k = 0; k < kCatalogues.size(); ++k) {
    AddFor(k, doc, dry.catalogues[k], kept ? kept->Of(*kCatalogues[k].table) : nullptr, report);
  }
}

}  // namespace velquior::check

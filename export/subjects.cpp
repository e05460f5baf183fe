// ASIGNOMT, the subjects: one record per subject element, with a code unique
// letter for letter (case counts: Ajedre and ajedre are two codes).

#include "export/codes.h"
#include "export/element_items.h"
#include "export/export_context.h"
#include "export/kept_codes.h"
#include "tables/catalog.h"
#include "text/text_helpers.h"
#include "xml/saga_names.h"

namespace velquior {
namespace {

constexpr std::ptrdiff_t kShortNameChars = 10;
constexpr std::string_view kDefaultHours = "4";

// The hours attribute counts only beside more than two attributes; empty
// hours, read or not, are the default.
std::string Hours(const xml::Node& node) {
  xml::AttributeMap attributes = node.attributes();
  std::string hours;
  if (attributes.length() > 2) {
    if (auto attr = attributes.getNamedItem(saga::kHours)) hours = text::TrimBoth(attr->text());
  }
  return hours.empty() ? std::string(kDefaultHours) : hours;
}

}  // namespace

void CrearAsignaturas(ExportContext& ctx) {
  namespace f = catalog::f;
  catalog::RecreateTable(ctx.dir, catalog::kAsignomt);
  tables::Table table(ctx.dir, catalog::kAsignomt.name);
  codes::CodeAssigner codes(UsedCodes::Case::kSensitive);
  ElementItems items(ctx.reporter, saga::kSubject);
  table.Open();

  xml::NodeList subjects = ctx.document.selectNodes(saga::kSubjectsPath);
  const ElementCodes kept(subjects, ctx.KeptOf(catalog::kAsignomt), catalog::kAsignomt, saga::kSubject, codes,
                          ctx.reporter);
  for (long i = 0; i < subjects.length(); ++i) {
    xml::Node node = *subjects.item(i);
    items.Next();
    std::string id = items.Attribute(node, saga::kId);
    std::string name = items.Attribute(node, saga::kName);
    std::string hours = Hours(node);
    // A kept code brings its CODLARGO: the host shows both together.
    const KeptCode* old = kept.At(i);
    std::string code = old ? old->code : codes.Subject(codes::SubjectBase(name));
    std::string long_code = old ? old->long_code : text::HeadChars(name, kShortNameChars);

    table.Append();
    table.SetText(f::kCod, code);
    table.SetText(f::kCodLargo, long_code);
    table.SetText(f::kNombre, name);
    table.SetText(f::kIdSaga, id);
    table.SetText(f::kHoras, hours);
    table.Post();
  }
  table.Close();
}

}  // namespace velquior

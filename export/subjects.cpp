// ASIGNOMT, the subjects: one record per subject element, with a code unique
// letter for letter (case counts: Ajedre and ajedre are two codes).

#include "export/codes.h"
#include "export/element_items.h"
#include "export/export_context.h"
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
  for (long i = 0; i < subjects.length(); ++i) {
    xml::Node node = *subjects.item(i);
    items.Next();
    std::string id = items.Attribute(node, saga::kId);
    std::string name = items.Attribute(node, saga::kName);
    std::string hours = Hours(node);
    std::string code = codes.Subject(codes::SubjectBase(name));

    table.Append();
    table.SetText(f::kCod, code);
    table.SetText(f::kCodLargo, text::HeadChars(name, kShortNameChars));
    table.SetText(f::kNombre, name);
    table.SetText(f::kIdSaga, id);
    table.SetText(f::kHoras, hours);
    table.Post();
  }
  table.Close();
}

}  // namespace velquior

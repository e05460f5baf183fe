#include "export/element_items.h"

#include "common/format.h"
#include "common/messages.h"
#include "text/text_helpers.h"

namespace velquior {

std::string ElementItems::Attribute(const xml::Node& node, std::string_view name) {
  if (auto attr = node.attributes().getNamedItem(name)) return text::TrimBoth(attr->text());
  Report(Format(msg::kFaltaAtributo, {name}));
  return {};
}

std::string ElementItems::FirstChildText(const xml::Node& node) {
  if (auto child = node.childNodes().item(0)) return text::TrimBoth(child->text());
  Report(std::string(msg::kFaltaPrimerNodoHijo));
  return {};
}

void ElementItems::Report(std::string what) {
  reporter_.ReportMissingItem(MissingItem{element_, position_, std::move(what)});
}

}  // namespace velquior

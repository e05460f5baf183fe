#include "check/document_ids.h"

#include "text/text_helpers.h"
#include "xml/saga_names.h"

namespace velquior::check {
namespace {

void Read(const xml::Document& document, std::string_view path, std::unordered_set<std::string>& ids) {
  xml::NodeList nodes = document.selectNodes(path);
  for (long i = 0; i < nodes.length(); ++i) {
    if (auto attr = nodes.item(i)->attributes().getNamedItem(saga::kId)) ids.insert(AsStoredId(attr->text()));
  }
}

}  // namespace

std::string AsStoredId(std::string_view id) {
  constexpr std::size_t kWidth = 60;  // IDSAGA's, in every catalogue
  std::string stored = text::TrimBoth(id).substr(0, kWidth);
  while (!stored.empty() && stored.back() == ' ') stored.pop_back();  // blanks pad a stored text
  return stored;
}

DocumentIds ReadDocumentIds(const xml::Document& document) {
  DocumentIds ids;
  Read(document, saga::kSubjectsPath, ids.subjects);
  Read(document, saga::kTeachersPath, ids.teachers);
  Read(document, saga::kLocationsPath, ids.locations);
  Read(document, saga::kGroupsPath, ids.groups);
  return ids;
}

}  // namespace velquior::check

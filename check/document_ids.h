#pragma once
// The SAGA identifiers a document holds, per kind, as the export stores them
// in IDSAGA: trimmed and cut to the field's width. Windows-1252.

#include <string>
#include <string_view>
#include <unordered_set>

#include "xml/document.h"

namespace velquior::check {

struct DocumentIds {
  std::unordered_set<std::string> subjects, teachers, locations, groups;
};

// Selects with the export's paths, so a document whose element is not named
// `document` holds no identifier. Elements without `id` add nothing.
DocumentIds ReadDocumentIds(const xml::Document& document);

// `id` as IDSAGA would hold it.
std::string AsStoredId(std::string_view id);

}  // namespace velquior::check

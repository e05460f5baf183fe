#pragma once
// The teachers and rooms tables share one shape: a record per element,
// named by its first child node, holding ABREV, NOMBRE and IDSAGA, with
// codes unique regardless of letter case. Only the code rule differs.

#include <functional>
#include <string>
#include <string_view>

#include "export/codes.h"
#include "export/export_context.h"
#include "tables/catalog.h"

namespace velquior {

using CodeRule = std::function<std::string(codes::CodeAssigner&, std::string_view name)>;

// Re-creates `table` from the elements at `path` (named `element` in
// missing-item reports), giving each the code `rule` makes from its name.
void WriteNamedByFirstChild(ExportContext& ctx, const catalog::TableSpec& table, std::string_view path,
                            std::string_view element, const CodeRule& rule);

}  // namespace velquior

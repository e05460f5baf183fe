#include "export/export_context.h"
#include "tables/catalog.h"

namespace velquior {

// The host fills this table; the export only leaves it fresh and empty.
void CrearDiasHoras(ExportContext& ctx) { catalog::RecreateTable(ctx.dir, catalog::kDiasHorast); }

}  // namespace velquior

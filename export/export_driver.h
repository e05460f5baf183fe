#pragma once
// The SAGA-to-timetable conversion, written once for every front end.

#include "export/front_end.h"
#include "export/session.h"

namespace velquior {

// Asks for the document, loads it, re-creates the six tables in the work
// directory and ends with "Proceso finalizado" (or "No existe archivo").
// Errors propagate as Error after the busy cursor is reset; no table is then
// changed, ResultCode and the buttons stay as they were.
RunOutcome BExportarClick(Session& session, FrontEnd& front_end);

}  // namespace velquior

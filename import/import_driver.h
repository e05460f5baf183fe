#pragma once
// The timetable-to-SAGA conversion, written once for every front end.

#include "export/front_end.h"
#include "export/session.h"

namespace velquior {

// Asks for the document, loads it, replaces its time-tables element by the
// timetable of the work directory's tables and saves it over its file; ends
// with "Proceso finalizado" (or "No existe archivo"). On any error the file
// stays byte for byte as it was, and ResultCode and the buttons too.
RunOutcome BImportarClick(Session& session, FrontEnd& front_end);

}  // namespace velquior

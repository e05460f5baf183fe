#pragma once
// A conversion as every window runs it: the file dialog, the conversion
// with the busy cursor while it works, and one of its two endings.
//
// Completed: ResultCode 1, "Proceso finalizado", both buttons disabled, and
// in host mode the window closes. Missing file: "No existe archivo", and in
// host mode ResultCode -1 (export) or 0 (import) and the window closes.
// Errors propagate as Error with the cursor normal again; ResultCode and the
// buttons then stay as they were.

#include "conversion/outcome.h"
#include "conversion/reporter.h"
#include "shell/session.h"
#include "shell/window.h"

namespace velquior::shell {

// `notices` hears what the conversion reports (missing items, tables).
Outcome ExportFromWindow(Session& session, Window& window, Reporter& notices);
Outcome ImportFromWindow(Session& session, Window& window, Reporter& notices);

}  // namespace velquior::shell

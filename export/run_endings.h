#pragma once
// The steps both conversions share around their own work: asking for the
// document, and the two endings of a run that raised no error.

#include <cstdint>

#include "export/front_end.h"
#include "export/session.h"

namespace velquior {

// Shows the file dialog; a confirmed name becomes XmlFileName, a cancel
// keeps the name chosen before. True when a file of that name exists.
bool ChooseExistingFile(RunState& state, FrontEnd& fe);

// "No existe archivo"; in host mode ResultCode becomes `host_result_code`
// and the window closes.
RunOutcome MissingFileEnding(RunState& state, FrontEnd& fe, std::int32_t host_result_code);

// ResultCode 1, "Proceso finalizado", both buttons disabled, and in host
// mode the window closes.
RunOutcome CompletedEnding(RunState& state, FrontEnd& fe);

}  // namespace velquior

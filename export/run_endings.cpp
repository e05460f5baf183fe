#include "export/run_endings.h"

#include "common/messages.h"

namespace velquior {

bool ChooseExistingFile(RunState& state, FrontEnd& fe) {
  if (auto chosen = fe.ChooseXmlFile(state.XmlFileName)) state.XmlFileName = *chosen;
  std::error_code ec;
  return !state.XmlFileName.empty() && std::filesystem::exists(state.XmlFileName, ec);
}

RunOutcome MissingFileEnding(RunState& state, FrontEnd& fe, std::int32_t host_result_code) {
  fe.ShowMessage(msg::kNoExisteArchivo);
  if (state.HostLaunched) {
    state.ResultCode = host_result_code;
    fe.CloseMainWindow();
  }
  return RunOutcome::kMissingFile;
}

RunOutcome CompletedEnding(RunState& state, FrontEnd& fe) {
  state.ResultCode = 1;
  fe.ShowMessage(msg::kProcesoFinalizado);
  fe.DisableConversionButtons();
  if (state.HostLaunched) fe.CloseMainWindow();
  return RunOutcome::kCompleted;
}

}  // namespace velquior

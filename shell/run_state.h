#pragma once
// The process-wide state of a run, shared by both conversions and the host
// launch. One instance lives for the life of the process, in the main
// window's handlers (FormHandlers).

#include <cstdint>
#include <filesystem>

namespace velquior::shell {

struct RunState {
  // Full name of the SAGA document last chosen by either conversion.
  std::filesystem::path XmlFileName;
  // Outcome for the host: 1 completed, 0 nothing completed, -1 export with a
  // missing file (host mode only).
  std::int32_t ResultCode = 0;
  // Started by the host with exactly two parameters and a readable handle.
  bool HostLaunched = false;
};

}  // namespace velquior::shell

#include "check/finding.h"

namespace velquior::check {

int ExitStatusFor(const Report& report) {
  for (const Finding& f : report.findings) {
    if (f.severity != Severity::kNote) return 4;
  }
  return 0;
}

}  // namespace velquior::check

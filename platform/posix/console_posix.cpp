#include "platform/console.h"

#include <poll.h>
#include <signal.h>

namespace velquior::platform {

// A terminal takes the bytes as they are.
void UseUtf8Console() {}

void SurviveClosedOutput() { ::signal(SIGPIPE, SIG_IGN); }

// The write end of a pipe or socket without a reader polls as an error.
bool StandardOutputReaderGone() {
  pollfd out{1, POLLOUT, 0};
  return ::poll(&out, 1, 0) == 1 && (out.revents & (POLLERR | POLLHUP)) != 0;
}

}  // namespace velquior::platform

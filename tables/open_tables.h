#pragma once
// Every open table handle of the process, by file: a handle about to read a
// file first has the others write the records they still hold.

#include <mutex>

#include "platform/open_file.h"

namespace velquior::tables {

// A handle that may hold posted records not yet in its file.
class BufferedHandle {
 public:
  virtual void FlushLocked() = 0;

 protected:
  ~BufferedHandle() = default;
};

// Guards the registry, and every handle's batch while it is posted to or
// written. The functions below need it held.
std::mutex& OpenTablesMutex();

void RegisterOpenLocked(platform::FileId id, BufferedHandle* handle);
void UnregisterOpenLocked(platform::FileId id, const BufferedHandle* handle);

// Has every other handle of the file write what it holds.
void FlushOthersLocked(platform::FileId id, const BufferedHandle* self);

}  // namespace velquior::tables

#include "tables/open_tables.h"

#include <map>

namespace velquior::tables {
namespace {

// Namespace-level, so that they outlive every handle made after start-up.
std::mutex g_mutex;
std::multimap<platform::FileId, BufferedHandle*> g_open;

}  // namespace

std::mutex& OpenTablesMutex() { return g_mutex; }

void RegisterOpenLocked(platform::FileId id, BufferedHandle* handle) { g_open.emplace(id, handle); }

void UnregisterOpenLocked(platform::FileId id, const BufferedHandle* handle) {
  auto [first, last] = g_open.equal_range(id);
  for (auto it = first; it != last; ++it) {
    if (it->second == handle) {
      g_open.erase(it);
      return;
    }
  }
}

void FlushOthersLocked(platform::FileId id, const BufferedHandle* self) {
  auto [first, last] = g_open.equal_range(id);
  for (auto it = first; it != last; ++it) {
    if (it->second != self) it->second->FlushLocked();
  }
}

}  // namespace velquior::tables

#include "platform/memory_region.h"

#include <windows.h>

#include <cstdint>

namespace velquior::platform {

// The system reserves at multiples of 64 KiB only: a larger alignment is
// found by reserving more, giving it back and reserving the aligned part,
// again if another thread took it meanwhile.
void* ReserveRegion(std::size_t size, std::size_t alignment) {
  for (int attempt = 0; attempt < 64; ++attempt) {
    void* space = ::VirtualAlloc(nullptr, size + alignment, MEM_RESERVE, PAGE_NOACCESS);
    if (space == nullptr) return nullptr;
    const auto start = reinterpret_cast<std::uintptr_t>(space);
    const auto at = (start + alignment - 1) & ~(std::uintptr_t{alignment} - 1);
    ::VirtualFree(space, 0, MEM_RELEASE);
    if (void* region = ::VirtualAlloc(reinterpret_cast<void*>(at), size, MEM_RESERVE, PAGE_NOACCESS)) return region;
  }
  return nullptr;
}

// Large pages need a privilege that ordinary users lack and must be taken
// with the reservation: normal pages here.
bool CommitRegion(void* at, std::size_t size) {
  return ::VirtualAlloc(at, size, MEM_COMMIT, PAGE_READWRITE) != nullptr;
}

void ReleaseRegion(void* base, std::size_t /*size*/) { ::VirtualFree(base, 0, MEM_RELEASE); }

}  // namespace velquior::platform

#include "platform/memory_region.h"

#include <sys/mman.h>

#include <cstdint>

namespace velquior::platform {

void* ReserveRegion(std::size_t size, std::size_t alignment) {
  void* space = ::mmap(nullptr, size + alignment, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (space == MAP_FAILED) return nullptr;
  // The slack before and after the aligned part goes back at once.
  const auto start = reinterpret_cast<std::uintptr_t>(space);
  const auto at = (start + alignment - 1) & ~(std::uintptr_t{alignment} - 1);
  if (at > start) ::munmap(space, at - start);
  if (const std::size_t tail = start + alignment - at; tail > 0) ::munmap(reinterpret_cast<char*>(at) + size, tail);
  return reinterpret_cast<void*>(at);
}

bool CommitRegion(void* at, std::size_t size) {
  if (::mprotect(at, size, PROT_READ | PROT_WRITE) != 0) return false;
#ifdef MADV_HUGEPAGE
  ::madvise(at, size, MADV_HUGEPAGE);  // advice only: fine if refused
#endif
  return true;
}

void ReleaseRegion(void* base, std::size_t size) { ::munmap(base, size); }

}  // namespace velquior::platform

#pragma once
// Address space taken in one piece and backed by memory a step at a time, so
// that a large reservation costs only what is used.

#include <cstddef>

namespace velquior::platform {

// `size` bytes of address space starting at a multiple of `alignment` (a
// power of two), not yet usable; null when the system refuses.
void* ReserveRegion(std::size_t size, std::size_t alignment);

// Makes `size` bytes at `at`, inside a reservation, readable and writable,
// asking for large pages where the system offers them. False when refused.
bool CommitRegion(void* at, std::size_t size);

// Gives back a whole reservation made by ReserveRegion.
void ReleaseRegion(void* base, std::size_t size);

}  // namespace velquior::platform

#include "platform/memory_region.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace velquior::platform {
namespace {

TEST(PlatformMemoryRegion, AlignedReservationBackedAStepAtATime) {
  constexpr std::size_t kAlign = std::size_t{2} << 20;
  constexpr std::size_t kSize = std::size_t{1} << 30;  // address space only
  for (int round = 0; round < 3; ++round) {
    auto* base = static_cast<char*>(ReserveRegion(kSize, kAlign));
    ASSERT_NE(base, nullptr);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(base) % kAlign, 0u);
    // The first and the last step of the reservation, each written whole.
    for (char* step : {base, base + kSize - kAlign}) {
      ASSERT_TRUE(CommitRegion(step, kAlign));
      std::memset(step, 0x5A, kAlign);
      EXPECT_EQ(step[kAlign - 1], 0x5A);
    }
    ReleaseRegion(base, kSize);
  }
}

}  // namespace
}  // namespace velquior::platform

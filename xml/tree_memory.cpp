#include "xml/tree_memory.h"

#include <libxml/xmlmemory.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "platform/memory_region.h"

#if defined(__SANITIZE_ADDRESS__)
#define VELQUIOR_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer)
#define VELQUIOR_SANITIZED 1
#endif
#endif

namespace velquior::xml::detail {
namespace {

constexpr std::size_t kGranule = 16;
constexpr std::size_t kClasses = 32;  // 16, 32, ... 512 bytes
constexpr std::size_t kLargest = kGranule * kClasses;
constexpr std::size_t kRun = std::size_t{64} * 1024;  // blocks of one class
constexpr std::size_t kHugePage = std::size_t{2} * 1024 * 1024;
constexpr std::size_t kCommitStep = 4 * kHugePage;
// Address space only: it is made writable a step at a time, as used.
constexpr std::size_t kReserve = std::size_t{32} << 30;

struct FreeBlock {
  FreeBlock* next;
};

class Region {
 public:
  // Never destroyed: blocks may be freed by destructors that run at exit.
  static Region& Get() {
    static Region* region = new Region;
    return *region;
  }

  bool Owns(const void* block) const { return reinterpret_cast<std::uintptr_t>(block) - begin_ < size_; }

  std::size_t SizeOf(const void* block) const { return std::size_t{run_class_[RunOf(block)]} * kGranule; }

  // A block of at least `size` (at most kLargest) bytes, or null when full.
  void* Take(std::size_t size) {
    if (size_ == 0) return nullptr;
    const std::size_t c = (size == 0 ? 0 : (size - 1) / kGranule);
    const std::size_t bytes = (c + 1) * kGranule;
    Lock lock(busy_);
    if (FreeBlock* block = free_[c]) {
      free_[c] = block->next;
      return block;
    }
    if (next_[c] == nullptr || static_cast<std::size_t>(end_[c] - next_[c]) < bytes) {
      if (!NewRun(c)) return nullptr;
    }
    void* block = next_[c];
    next_[c] += bytes;
    return block;
  }

  void Give(void* block) {
    const std::size_t c = run_class_[RunOf(block)] - 1u;
    Lock lock(busy_);
    auto* b = static_cast<FreeBlock*>(block);
    b->next = free_[c];
    free_[c] = b;
  }

 private:
  class Lock {
   public:
    explicit Lock(std::atomic_flag& flag) : flag_(flag) {
      while (flag_.test_and_set(std::memory_order_acquire)) std::this_thread::yield();
    }
    ~Lock() { flag_.clear(std::memory_order_release); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

   private:
    std::atomic_flag& flag_;
  };

  Region() {
    // Huge pages need 2 MiB alignment.
    void* space = platform::ReserveRegion(kReserve, kHugePage);
    if (space == nullptr) return;
    // calloc of this size maps fresh zero pages: only the runs used are touched.
    run_class_ = static_cast<std::uint8_t*>(std::calloc(kReserve / kRun, 1));
    if (run_class_ == nullptr) {
      platform::ReleaseRegion(space, kReserve);
      return;
    }
    base_ = static_cast<char*>(space);
    top_ = committed_ = base_;
    begin_ = reinterpret_cast<std::uintptr_t>(space);
    size_ = kReserve;
  }

  std::size_t RunOf(const void* block) const { return (reinterpret_cast<std::uintptr_t>(block) - begin_) / kRun; }

  bool NewRun(std::size_t c) {
    if (top_ == committed_) {
      if (static_cast<std::size_t>(committed_ - base_) + kCommitStep > size_) return false;
      if (!platform::CommitRegion(committed_, kCommitStep)) return false;
      committed_ += kCommitStep;
    }
    run_class_[RunOf(top_)] = static_cast<std::uint8_t>(c + 1);
    next_[c] = top_;
    end_[c] = top_ + kRun;
    top_ += kRun;
    return true;
  }

  std::uintptr_t begin_ = 0;
  std::size_t size_ = 0;  // zero: nothing reserved, every block from the C library
  char* base_ = nullptr;
  char* top_ = nullptr;                // first run not handed out
  char* committed_ = nullptr;          // end of the writable part
  std::uint8_t* run_class_ = nullptr;  // per run: its class + 1
  FreeBlock* free_[kClasses] = {};
  char* next_[kClasses] = {};
  char* end_[kClasses] = {};
  std::atomic_flag busy_;
};

}  // namespace

void* TreeMalloc(std::size_t size) {
  if (size <= kLargest) {
    if (void* block = Region::Get().Take(size)) return block;
  }
  return std::malloc(size);
}

void TreeFree(void* block) {
  if (block == nullptr) return;
  Region& region = Region::Get();
  if (region.Owns(block)) {
    region.Give(block);
  } else {
    std::free(block);
  }
}

void* TreeRealloc(void* block, std::size_t size) {
  if (block == nullptr) return TreeMalloc(size);
  Region& region = Region::Get();
  if (!region.Owns(block)) return std::realloc(block, size);
  const std::size_t old = region.SizeOf(block);
  if (size <= old) return block;
  void* moved = TreeMalloc(size);
  if (moved == nullptr) return nullptr;  // the old block stays valid, as realloc's does
  std::memcpy(moved, block, old);
  region.Give(block);
  return moved;
}

char* TreeStrdup(const char* text) {
  const std::size_t size = std::strlen(text) + 1;
  auto* copy = static_cast<char*>(TreeMalloc(size));
  if (copy != nullptr) std::memcpy(copy, text, size);
  return copy;
}

void InstallTreeMemory() {
#ifndef VELQUIOR_SANITIZED
  (void)Region::Get();
  xmlMemSetup(TreeFree, TreeMalloc, TreeRealloc, TreeStrdup);
#endif
}

}  // namespace velquior::xml::detail

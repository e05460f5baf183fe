// The allocator behind libxml2's trees: every block usable over its whole
// size, contents kept across realloc in and out of the size classes, and
// blocks of the C library's accepted wherever libxml2 may hand them back.

#include <gtest/gtest.h>
#include <libxml/xmlmemory.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "xml/document.h"
#include "xml/tree_memory.h"

namespace velquior::xml::detail {
namespace {

// Fills a block with bytes that depend on its owner and position.
void Fill(void* block, std::size_t size, unsigned seed) {
  auto* p = static_cast<unsigned char*>(block);
  for (std::size_t i = 0; i < size; ++i) p[i] = static_cast<unsigned char>(seed * 131 + i);
}

bool Holds(const void* block, std::size_t size, unsigned seed) {
  const auto* p = static_cast<const unsigned char*>(block);
  for (std::size_t i = 0; i < size; ++i) {
    if (p[i] != static_cast<unsigned char>(seed * 131 + i)) return false;
  }
  return true;
}

TEST(TreeMemory, BlocksOfEverySizeAreAlignedAndDoNotOverlap) {
  const std::size_t sizes[] = {0, 1, 15, 16, 17, 120, 511, 512, 513, 4096, 1u << 20};
  std::vector<std::pair<void*, std::size_t>> blocks;
  unsigned seed = 0;
  for (int round = 0; round < 50; ++round) {
    for (std::size_t size : sizes) {
      void* block = TreeMalloc(size);
      ASSERT_NE(block, nullptr) << size;
      EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % 16, 0u) << size;
      Fill(block, size, seed++);
      blocks.emplace_back(block, size);
    }
  }
  seed = 0;
  for (auto [block, size] : blocks) EXPECT_TRUE(Holds(block, size, seed++)) << size;
  for (auto [block, size] : blocks) TreeFree(block);
}

// More blocks of one class than a run or a step of the region holds.
TEST(TreeMemory, ManyBlocksAcrossRunsKeepTheirContents) {
  std::vector<void*> blocks(300000);
  for (unsigned i = 0; i < blocks.size(); ++i) {
    blocks[i] = TreeMalloc(48);
    Fill(blocks[i], 48, i);
  }
  for (unsigned i = 0; i < blocks.size(); ++i) ASSERT_TRUE(Holds(blocks[i], 48, i)) << i;
  for (void* block : blocks) TreeFree(block);
}

TEST(TreeMemory, FreedBlocksAreUsedAgain) {
  std::vector<void*> first(1000);
  for (void*& block : first) block = TreeMalloc(100);
  for (void* block : first) TreeFree(block);
  std::vector<void*> again(first.size());
  for (void*& block : again) block = TreeMalloc(97);  // same class
  std::sort(first.begin(), first.end());
  std::sort(again.begin(), again.end());
  EXPECT_EQ(again, first);
  for (void* block : again) TreeFree(block);
}

// The block is one among neighbours of its class, which must not change.
TEST(TreeMemory, ReallocKeepsTheContentsAndTheNeighbours) {
  struct Row {
    std::size_t from, to;
  };
  const Row rows[] = {{10, 20}, {20, 10}, {16, 17}, {100, 600}, {600, 100}, {512, 513}, {513, 512}, {4000, 9000}};
  for (const Row& row : rows) {
    std::vector<void*> blocks(9);
    for (unsigned i = 0; i < blocks.size(); ++i) {
      blocks[i] = TreeMalloc(row.from);
      Fill(blocks[i], row.from, i);
    }
    void* moved = TreeRealloc(blocks[4], row.to);
    ASSERT_NE(moved, nullptr);
    EXPECT_TRUE(Holds(moved, std::min(row.from, row.to), 4)) << row.from << " -> " << row.to;
    Fill(moved, row.to, 99);
    blocks[4] = moved;
    for (unsigned i = 0; i < blocks.size(); ++i) {
      if (i == 4) continue;
      EXPECT_TRUE(Holds(blocks[i], row.from, i)) << row.from << " -> " << row.to << ", block " << i;
    }
    for (void* block : blocks) TreeFree(block);
  }
  void* fresh = TreeRealloc(nullptr, 40);
  ASSERT_NE(fresh, nullptr);
  TreeFree(fresh);
  TreeFree(nullptr);
}

// Blocks libxml2 took before the allocator was installed.
TEST(TreeMemory, BlocksOfTheCLibraryAreAccepted) {
  void* freed = std::malloc(64);
  TreeFree(freed);

  void* grown = std::malloc(32);
  Fill(grown, 32, 3);
  grown = TreeRealloc(grown, 5000);
  ASSERT_NE(grown, nullptr);
  EXPECT_TRUE(Holds(grown, 32, 3));
  TreeFree(grown);
}

TEST(TreeMemory, StrdupCopiesEveryByte) {
  const char text[] = "Educaci\xF3n f\xEDsica \xE2\x82\xAC";
  char* copy = TreeStrdup(text);
  ASSERT_NE(copy, nullptr);
  EXPECT_STREQ(copy, text);
  TreeFree(copy);
}

TEST(TreeMemory, TwoThreadsAtOnce) {
  auto work = [](unsigned base, bool* ok) {
    std::vector<void*> blocks;
    for (unsigned i = 0; i < 40000; ++i) {
      const std::size_t size = 16 + (i % 20) * 24;
      void* block = TreeMalloc(size);
      Fill(block, size, base + i);
      blocks.push_back(block);
      if (i % 3 == 0) {
        const unsigned j = i / 3;
        if (!Holds(blocks[j], 16 + (j % 20) * 24, base + j)) *ok = false;
      }
    }
    for (void* block : blocks) TreeFree(block);
  };
  bool ok_a = true, ok_b = true;
  std::thread a(work, 0u, &ok_a), b(work, 1000000u, &ok_b);
  a.join();
  b.join();
  EXPECT_TRUE(ok_a);
  EXPECT_TRUE(ok_b);
}

#if !defined(__SANITIZE_ADDRESS__)
TEST(TreeMemory, LibxmlBuildsDocumentsWithIt) {
  Document doc;
  doc.loadXml("<a>b</a>");
  EXPECT_EQ(xmlMalloc, &TreeMalloc);
  EXPECT_EQ(xmlFree, &TreeFree);
}
#endif

}  // namespace
}  // namespace velquior::xml::detail

#include "runtime/core/values/memory.h"

#include <gtest/gtest.h>

#include <cstring>

#include "runtime/core/values/owned_block.h"
#include "tests/support/fatal_trap.h"

namespace lw {
namespace {

// Constant data of a pretend application: an array block of two integers and a text.
struct ConstData {
  uint32_t arrayDims = 1, arraySize = 2;
  int32_t elems[2] = {7, 9};
  char text[8] = "const";
} g_const;

struct ConstantArea : ::testing::Test {
  void SetUp() override { SetConstantArea(&g_const, sizeof g_const); }
  void TearDown() override { ClearConstantArea(); }
};

TEST_F(ConstantArea, FreeIgnoresNullAndConstantData) {
  FreeMemory(nullptr);
  FreeMemory(g_const.text);
  EXPECT_STREQ(g_const.text, "const");
}

TEST_F(ConstantArea, ResizeOfConstantDataCopiesAndLeavesItUntouched) {
  char* p = static_cast<char*>(ResizeMemory(g_const.text, 4));
  ASSERT_NE(p, g_const.text);
  EXPECT_EQ(memcmp(p, "cons", 4), 0);
  p[0] = 'X';
  EXPECT_STREQ(g_const.text, "const");
  FreeMemory(p);
}

TEST_F(ConstantArea, ResizeBeyondTheAreaCopiesOnlyWhatLiesInside) {
  // Growing the text block copies no more than up to the end of the constant area.
  char* p = static_cast<char*>(ResizeMemory(g_const.text, 64));
  EXPECT_STREQ(p, "const");
  FreeMemory(p);
}

TEST(Memory, ResizeOfNullAllocates) {
  void* p = ResizeMemory(nullptr, 16);
  ASSERT_NE(p, nullptr);
  memset(p, 1, 16);
  p = ResizeMemory(p, 32);
  EXPECT_EQ(static_cast<uint8_t*>(p)[15], 1);
  FreeMemory(p);
}

TEST_F(ConstantArea, MakeArrayPrivateCopiesOnlyConstantBlocks) {
  void* var = &g_const.arrayDims;
  MakeArrayPrivate(4, &var);
  ASSERT_NE(var, static_cast<void*>(&g_const.arrayDims));
  auto* copy = static_cast<uint32_t*>(var);
  EXPECT_EQ(copy[0], 1u);
  EXPECT_EQ(copy[1], 2u);
  EXPECT_EQ(int32_t(copy[3]), 9);
  void* again = var;
  MakeArrayPrivate(4, &again);
  EXPECT_EQ(again, var) << "a heap array stays where it is";
  FreeMemory(var);
}

TEST(Memory, FailedAllocationIsFatalWithTheByteCount) {
  testing::FatalTrap trap;
  HeapOps failing = {[](size_t) -> void* { return nullptr; }, [](void*, size_t) -> void* { return nullptr; },
                     [](void*) {}};
  SetHeapOps(failing);
  try {
    AllocMemory(1234);
    ADD_FAILURE() << "expected a fatal error";
  } catch (const testing::FatalError& e) {
    EXPECT_EQ(std::string(e.what()), "分配 1234 字节内存失败!");
    EXPECT_EQ(e.code, 0);
  }
  EXPECT_EQ(TryAllocMemory(8), nullptr);
  SetHeapOps({&malloc, &realloc, &free});
}

int g_freed = 0;
void countingFree(void* p) {
  ++g_freed;
  free(p);
}

TEST(Memory, OwnedBlockGoesBackToTheHeapUnlessHandedOn) {
  SetHeapOps({&malloc, &realloc, &countingFree});
  { OwnedText gone(static_cast<Text>(AllocMemory(4))); }
  EXPECT_EQ(g_freed, 1);
  Text handedOn = OwnedText(static_cast<Text>(AllocMemory(4))).release();
  EXPECT_EQ(g_freed, 1);
  FreeMemory(handedOn);
  SetHeapOps({&malloc, &realloc, &free});
}

}  // namespace
}  // namespace lw

// The Memory Manager: handles, their sizes, locking, the budget and MemError.
#include "toolbox/Memory.h"

#include <gtest/gtest.h>

#include <cstring>

#include "toolbox/internal/Memory.h"

namespace {

class MemoryTest : public ::testing::Test {
 protected:
  void TearDown() override { tb::clearMemoryLimit(); }
};

TEST_F(MemoryTest, HandlesHoldTheirBytes) {
  const size_t before = tb::memoryInUse();
  Handle h = NewHandleClear(8);
  ASSERT_NE(nullptr, h) << "expected a handle";
  EXPECT_EQ(noErr, MemError());
  EXPECT_EQ(8, GetHandleSize(h)) << "size of a new block";
  EXPECT_EQ(before + 8, tb::memoryInUse()) << "bytes in use";
  for (int i = 0; i < 8; ++i) EXPECT_EQ(0, (*h)[i]) << "byte " << i << " of a cleared block";
  std::memcpy(*h, "abcdefgh", 8);

  SetHandleSize(h, 12);
  EXPECT_EQ(noErr, MemError()) << "growing an unlocked block";
  EXPECT_EQ(12, GetHandleSize(h));
  EXPECT_EQ(0, std::memcmp(*h, "abcdefgh", 8)) << "growing keeps the bytes";
  SetHandleSize(h, 3);
  EXPECT_EQ(3, GetHandleSize(h));
  EXPECT_EQ(0, std::memcmp(*h, "abc", 3)) << "shrinking keeps the first bytes";

  DisposeHandle(h);
  EXPECT_EQ(noErr, MemError());
  EXPECT_EQ(before, tb::memoryInUse()) << "disposing gives the bytes back";
}

TEST_F(MemoryTest, ALockedBlockKeepsItsSize) {
  Handle h = NewHandle(4);
  HLock(h);
  char* data = *h;
  SetHandleSize(h, 400);
  EXPECT_EQ(memLockedErr, MemError()) << "growing a locked block";
  EXPECT_EQ(4, GetHandleSize(h)) << "its size";
  EXPECT_EQ(data, *h) << "its data did not move";
  HUnlock(h);
  SetHandleSize(h, 400);
  EXPECT_EQ(noErr, MemError()) << "growing it once unlocked";
  EXPECT_EQ(400, GetHandleSize(h));
  DisposeHandle(h);
}

TEST_F(MemoryTest, TheBudgetRefusesWhatDoesNotFit) {
  tb::setMemoryLimit(tb::memoryInUse() + 100);
  Handle fits = NewHandle(60);
  ASSERT_NE(nullptr, fits) << "60 of 100 bytes";
  EXPECT_EQ(nullptr, NewHandle(41)) << "41 more do not fit";
  EXPECT_EQ(memFullErr, MemError());
  SetHandleSize(fits, 101);
  EXPECT_EQ(memFullErr, MemError()) << "growing beyond the budget";
  EXPECT_EQ(60, GetHandleSize(fits)) << "a refused growth keeps the size";
  SetHandleSize(fits, 100);
  EXPECT_EQ(noErr, MemError()) << "growing to exactly the budget";
  tb::clearMemoryLimit();
  Handle more = NewHandle(1000);
  EXPECT_NE(nullptr, more) << "without a limit";
  DisposeHandle(fits);
  DisposeHandle(more);
}

TEST_F(MemoryTest, ForeignAndBadArgumentsAreRefused) {
  char* master = nullptr;
  Handle foreign = &master;
  EXPECT_EQ(0, GetHandleSize(foreign)) << "a handle this unit did not make";
  EXPECT_EQ(nilHandleErr, MemError());
  DisposeHandle(foreign);
  EXPECT_EQ(nilHandleErr, MemError());
  EXPECT_EQ(0, GetHandleSize(nullptr));
  EXPECT_EQ(nilHandleErr, MemError());
  EXPECT_EQ(nullptr, NewHandle(-1)) << "a negative size";
  EXPECT_EQ(paramErr, MemError());
  Handle h = NewHandle(0);
  ASSERT_NE(nullptr, h) << "an empty block";
  EXPECT_NE(nullptr, *h) << "an empty block still has a master pointer";
  SetHandleSize(h, -5);
  EXPECT_EQ(paramErr, MemError());
  DisposeHandle(h);
}

}  // namespace

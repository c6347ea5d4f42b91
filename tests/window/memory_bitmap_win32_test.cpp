// The bitmap-in-a-memory-DC owner created and released for real under Wine:
// selected while held, put back and deleted when let go, nothing held after
// a failure.

#include "window/memory_bitmap_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <utility>

namespace piconel {
namespace {

GdiBitmap small_bitmap() {
  const WindowDc screen(nullptr);
  return GdiBitmap(CreateCompatibleBitmap(screen.get(), 8, 8));
}

TEST(MemoryBitmap, HoldsItsBitmapSelectedAndDeletesBothWhenItGoes) {
  HGDIOBJ raw_bitmap = nullptr;
  HDC raw_dc = nullptr;
  {
    MemoryBitmap held;
    GdiBitmap bitmap = small_bitmap();
    ASSERT_TRUE(bitmap.valid());
    raw_bitmap = bitmap.get();
    ASSERT_TRUE(held.hold(std::move(bitmap)));
    ASSERT_TRUE(held);
    raw_dc = held.dc();
    EXPECT_EQ(GetObjectType(raw_dc), static_cast<DWORD>(OBJ_MEMDC));
    EXPECT_EQ(GetCurrentObject(raw_dc, OBJ_BITMAP), raw_bitmap);
  }
  EXPECT_EQ(GetObjectType(raw_bitmap), 0u);
  EXPECT_EQ(GetObjectType(raw_dc), 0u);
}

TEST(MemoryBitmap, HoldingAnotherReleasesTheFirst) {
  MemoryBitmap held;
  GdiBitmap first = small_bitmap();
  const HGDIOBJ raw_first = first.get();
  ASSERT_TRUE(held.hold(std::move(first)));
  const HDC first_dc = held.dc();

  GdiBitmap second = small_bitmap();
  const HGDIOBJ raw_second = second.get();
  ASSERT_TRUE(held.hold(std::move(second)));
  EXPECT_EQ(GetObjectType(raw_first), 0u);
  EXPECT_EQ(GetObjectType(first_dc), 0u);
  EXPECT_EQ(GetCurrentObject(held.dc(), OBJ_BITMAP), raw_second);

  held.reset();
  EXPECT_FALSE(held);
  EXPECT_EQ(held.dc(), nullptr);
  EXPECT_EQ(GetObjectType(raw_second), 0u);
}

TEST(MemoryBitmap, NoBitmapHoldsNothing) {
  MemoryBitmap held;
  ASSERT_TRUE(held.hold(small_bitmap()));
  EXPECT_FALSE(held.hold(GdiBitmap()));
  EXPECT_FALSE(held);
  EXPECT_EQ(held.dc(), nullptr);
}

}  // namespace
}  // namespace piconel

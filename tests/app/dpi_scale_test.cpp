#include "app/dpi_scale.h"

#include <gtest/gtest.h>

namespace piconel {
namespace {

TEST(DpiScale, SizesAt100PercentFollowTheMonitorsDpi) {
  struct Case {
    int pixels;
    int dpi;
    int expected;
  };
  const Case cases[] = {
      {50, 96, 50}, {50, 144, 75},   {160, 120, 200}, {2, 144, 3},     {2, 120, 3},
      {2, 108, 2},  {140, 192, 280}, {50, 0, 50},     {160, -96, 160},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(scale_for_dpi(c.pixels, c.dpi), c.expected) << c.pixels << " at " << c.dpi;
  }
}

}  // namespace
}  // namespace piconel

// Day numbers, clock readings and the random source against their worked examples.
#include <gtest/gtest.h>

#include "drill/random.h"
#include "drill/time_value.h"
#include "platform/headless/headless.h"

namespace {

TEST(TimeValue, DayNumbersAndFractions) {
  struct Case {
    platform::DateTime t;
    double expected;
  } cases[] = {
      {{{1899, 12, 30}, 0, 0, 0, 0}, 0.0},
      {{{1900, 1, 1}, 12, 0, 0, 0}, 2.5},
      {{{1899, 12, 30}, 0, 0, 0, 1}, 1.0 / 86'400'000},
      {{{2024, 3, 5}, 0, 0, 0, 0}, 45356.0},
      {{{2000, 3, 1}, 0, 0, 0, 0}, 36586.0},  // 2000 is a leap year
      {{{1900, 3, 1}, 0, 0, 0, 0}, 61.0},     // 1900 is not
      {{1, 1, 1, 0, 0, 0, 0}, -693593.0},
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(drill::EncodeTimeValue(c.t), c.expected)
        << c.t.date.year << "-" << c.t.date.month;
  }
  EXPECT_NEAR(drill::EncodeTimeValue({{2024, 3, 5}, 9, 7, 2, 345}), 45356.37988825231, 1e-11);
}

TEST(TimeValue, DurationAcrossMidnightIsPositive) {
  headless::Reset();
  headless::SetLocalTime({{2024, 12, 31}, 23, 59, 59, 500});
  drill::TimeValue before = drill::ReadClock();
  headless::Advance(1500);
  drill::TimeValue after = drill::ReadClock();
  EXPECT_NEAR((after - before) * 86'400'000, 1500, 1e-3);
  EXPECT_DOUBLE_EQ(after, drill::EncodeTimeValue({{2025, 1, 1}, 0, 0, 1, 0}));
}

TEST(RandomSource, DrawsFromHighBitsOfTheProduct) {
  drill::RandomSource random(0);
  EXPECT_EQ(random.Draw(9), 0);
  EXPECT_EQ(random.Draw(9), 0);
  EXPECT_EQ(random.Draw(4), 3);
  // Every draw stays in range, whatever the state.
  random.Seed(0xFFFFFFFFu);
  for (int i = 0; i < 10000; ++i) {
    int n = 1 + i % 9;
    int v = random.Draw(n);
    ASSERT_GE(v, 0);
    ASSERT_LT(v, n);
  }
}

TEST(RandomSource, SeedIsUtcMillisecondsSinceMidnight) {
  headless::Reset();
  headless::Machine().utcOffsetMinutes = 9 * 60;
  headless::SetLocalTime({{2024, 3, 5}, 21, 34, 56, 789});  // 12:34:56.789 UTC
  EXPECT_EQ(drill::SeedFromUtcTime(platform::UtcTime()),
            static_cast<uint32_t>(((12 * 60 + 34) * 60 + 56) * 1000 + 789));
  EXPECT_EQ(drill::SeedFromUtcTime({{2024, 3, 5}, 23, 59, 59, 999}), 86'399'999u);
}

}  // namespace

// The drill's random source: a 32-bit linear congruential generator seeded from the clock.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace drill {

// state' = state * 134775813 + 1 (mod 2^32); a draw is the high word of state' * n.
class RandomSource {
 public:
  explicit RandomSource(uint32_t seed = 0) : state(seed) {}

  void Seed(uint32_t seed) { state = seed; }
  int Draw(int n);  // 0 .. n-1
  uint32_t State() const { return state; }

 private:
  uint32_t state;
};

// The seed a run starts from: milliseconds since midnight of the UTC clock.
uint32_t SeedFromUtcTime(const platform::DateTime& utc);

}  // namespace drill

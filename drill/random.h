// The drill's random source: a 32-bit linear congruential generator seeded from the clock.
#pragma once

#include <cstdint>

extern uint32_t RandomSeed;
void SeedRandom();      // milliseconds since midnight, UTC
int DrawRandom(int n);  // 0 .. n-1, from the high bits of the product

// The generator: state' = state * 134775813 + 1 (mod 2^32); result = high word of state * n.
#include "drill/random.h"

#include "platform/platform.h"

uint32_t RandomSeed = 0;

void SeedRandom() {
  platform::SystemTime t = platform::UtcTime();
  RandomSeed =
      static_cast<uint32_t>(((t.hour * 60 + t.minute) * 60 + t.second) * 1000 + t.millisecond);
}

int DrawRandom(int n) {
  RandomSeed = RandomSeed * 134775813u + 1u;
  return static_cast<int>((static_cast<uint64_t>(RandomSeed) * static_cast<uint32_t>(n)) >> 32);
}

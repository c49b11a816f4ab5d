// The linear congruential generator and its seed.
#include "drill/random.h"

namespace drill {

int RandomSource::Draw(int n) {
  state = state * 134775813u + 1u;
  return static_cast<int>((static_cast<uint64_t>(state) * static_cast<uint32_t>(n)) >> 32);
}

uint32_t SeedFromUtcTime(const platform::DateTime& utc) {
  return static_cast<uint32_t>(((utc.hour * 60 + utc.minute) * 60 + utc.second) * 1000 +
                               utc.millisecond);
}

}  // namespace drill

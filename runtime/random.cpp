#include "random.h"

namespace Runtime {

int32_t RANDSEED = 0;
int32_t OLDRANDSEED = 0;
uint32_t MT[kMtWords] = {};
int32_t MTI = kMtWords + 1;
const uint32_t MAG01[2] = {0, 0x9908B0DFu};

namespace {

constexpr int kMiddle = 397;
constexpr uint32_t kUpperMask = 0x80000000u;
constexpr uint32_t kLowerMask = 0x7FFFFFFFu;

uint32_t twist(uint32_t hi_word, uint32_t lo_word, uint32_t far_word) {
  const uint32_t y = (hi_word & kUpperMask) | (lo_word & kLowerMask);
  return far_word ^ (y >> 1) ^ MAG01[y & 1];
}

void regenerate() {
  int k = 0;
  for (; k < kMtWords - kMiddle; ++k) MT[k] = twist(MT[k], MT[k + 1], MT[k + kMiddle]);
  for (; k < kMtWords - 1; ++k) MT[k] = twist(MT[k], MT[k + 1], MT[k + kMiddle - kMtWords]);
  MT[kMtWords - 1] = twist(MT[kMtWords - 1], MT[0], MT[kMiddle - 1]);
}

}  // namespace

void SGENRAND_MT19937(int32_t seed) {
  MT[0] = static_cast<uint32_t>(seed);
  for (int i = 1; i < kMtWords; ++i) {
    MT[i] = 1812433253u * (MT[i - 1] ^ (MT[i - 1] >> 30)) + static_cast<uint32_t>(i);
  }
  MTI = kMtWords;
}

int32_t GENRAND_MT19937() {
  if (RANDSEED != OLDRANDSEED) MTI = kMtWords + 1;
  if (MTI >= kMtWords) {
    if (MTI == kMtWords + 1) {
      SGENRAND_MT19937(RANDSEED);
      RANDSEED = ~RANDSEED;
      OLDRANDSEED = RANDSEED;
    }
    regenerate();
    MTI = 0;
  }
  uint32_t y = MT[MTI++];
  y ^= y >> 11;
  y ^= (y << 7) & 0x9D2C5680u;
  y ^= (y << 15) & 0xEFC60000u;
  y ^= y >> 18;
  return static_cast<int32_t>(y);
}

int32_t RANDOM(int32_t n) {
  if (n < 0) ++n;
  const uint32_t x = static_cast<uint32_t>(GENRAND_MT19937());
  const int64_t p = static_cast<int64_t>(n) * static_cast<int64_t>(x);
  return static_cast<int32_t>(p >> 32);  // the floor of p / 2^32
}

}  // namespace Runtime

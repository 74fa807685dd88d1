#include "random.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// Restarts the stream as a fresh run has it: seeded with 0 at the next draw.
void restart() {
  Runtime::RANDSEED = 0;
  Runtime::OLDRANDSEED = 0;
  Runtime::MTI = Runtime::kMtWords + 1;
}

uint32_t next() {
  return static_cast<uint32_t>(Runtime::GENRAND_MT19937());
}

TEST(Random, FirstOutputsOfARun) {
  restart();
  EXPECT_EQ(next(), 2357136044u);
  EXPECT_EQ(next(), 2546248239u);
  EXPECT_EQ(next(), 3071714933u);
  EXPECT_EQ(Runtime::RANDSEED, -1) << "0xFFFFFFFF after seeding with 0";
  EXPECT_EQ(Runtime::OLDRANDSEED, -1);
}

TEST(Random, StreamEqualsReferenceMersenneTwisterSeededWithZero) {
  restart();
  std::mt19937 reference(0);
  for (int i = 1; i <= 5000; ++i) {
    const uint32_t expected = reference();
    const uint32_t got = next();
    if (i == 624 || i == 625 || i == 1248 || i == 1249 || i == 5000) {
      EXPECT_EQ(got, expected) << "output " << i;
    } else if (got != expected) {
      FAIL() << "output " << i << " differs";
    }
  }
}

TEST(Random, RandomMapsOneOutputOntoTheRange) {
  const int32_t ns[] = {4, 8, 0, -1, -5, 1, 1000, 2147483647, -2147483647 - 1};
  for (int32_t n : ns) {
    restart();
    std::mt19937 reference(0);
    for (int i = 0; i < 300; ++i) {
      const uint32_t x = reference();
      const int32_t r = Runtime::RANDOM(n);
      if (n > 0) {
        ASSERT_TRUE(r >= 0 && r < n) << n;
        // floor(x * n / 2^32): r / n lies within one step of x / 2^32.
        const long double share = static_cast<long double>(x) / 4294967296.0L;
        ASSERT_LE(static_cast<long double>(r) / n, share);
        ASSERT_GT(static_cast<long double>(r + 1) / n, share);
      } else if (n >= -1) {
        ASSERT_EQ(r, 0) << n;
      } else {
        ASSERT_TRUE(x == 0 ? r == 0 : (r >= n + 1 && r <= -1)) << n;
      }
      if (n == 4) {
        ASSERT_EQ(r, static_cast<int32_t>(x >> 30));
      }
      if (n == 8) {
        ASSERT_EQ(r, static_cast<int32_t>(x >> 29));
      }
    }
    EXPECT_EQ(Runtime::MTI, 300) << "one output per call, n " << n;
  }
}

TEST(Random, FirstSuitAndRankOfARun) {
  restart();
  EXPECT_EQ(Runtime::RANDOM(4), 2);
  EXPECT_EQ(Runtime::RANDOM(8), 4);
}

TEST(Random, AssigningTheUsedSeedRestartsTheStreamItsComplementDoesNot) {
  restart();
  next();
  next();
  Runtime::RANDSEED = 0;
  EXPECT_EQ(next(), 2357136044u);
  EXPECT_EQ(next(), 2546248239u);
  Runtime::RANDSEED = static_cast<int32_t>(0xFFFFFFFFu);
  EXPECT_EQ(next(), 3071714933u);
}

TEST(Random, OtherSeedGivesThatSeedsStream) {
  restart();
  Runtime::RANDSEED = 5489;
  std::mt19937 reference(5489);
  for (int i = 0; i < 700; ++i) ASSERT_EQ(next(), reference()) << i;
  EXPECT_EQ(Runtime::RANDSEED, ~5489);
}

}  // namespace

// The process-wide pseudo-random source: MT19937, seeded lazily from RANDSEED at the first draw,
// reseeded whenever RANDSEED has been assigned since, and mapped onto 0..n-1 by RANDOM.
#pragma once

#include <cstdint>

namespace Runtime {

inline constexpr int kMtWords = 624;

extern int32_t RANDSEED;     // after a seeding: the complement of the seed used
extern int32_t OLDRANDSEED;  // RANDSEED as it stood right after the last seeding
extern uint32_t MT[kMtWords];
extern int32_t MTI;  // next word; 624: block used up; 625: a seeding is due
extern const uint32_t MAG01[2];

void SGENRAND_MT19937(int32_t seed);
int32_t GENRAND_MT19937();
int32_t RANDOM(int32_t n);

}  // namespace Runtime

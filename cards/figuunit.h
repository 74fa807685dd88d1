// FiguUnit: the eight ranks in card order plus the no-rank sentinel, their names, the conversion
// from an integer code, and KI, which prints a rank's name between two texts.
#pragma once

#include <cstdint>

#include "shortstr.h"
#include "system.h"

namespace FiguUnit {

enum TFIGURA : int32_t { VII, VIII, IX, X, ALSO, FELSO, KIRALY, ASZ, NEMFIGURA };

inline constexpr int32_t MINFIGURA = VII;
inline constexpr int32_t MAXFIGURA = ASZ;

extern const Runtime::ShortStr SFIGURA[NEMFIGURA + 1];

Runtime::ShortStr FIGURA2STRING(TFIGURA F);
// No check: a code outside 0..8 comes back as a value that is no member, caught at its first use.
TFIGURA KOD2FIGURA(int16_t KO);
void KI(const Runtime::ShortStr& SZOV, TFIGURA F, const Runtime::ShortStr& UTO);

extern const Runtime::Module kModule;

}  // namespace FiguUnit

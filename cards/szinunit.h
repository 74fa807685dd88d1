// SzinUnit: the four suits in card order plus the no-suit sentinel, their names, the conversion
// from an integer code, and KI, which prints a suit's name between two texts.
#pragma once

#include <cstdint>

#include "shortstr.h"
#include "system.h"

namespace SzinUnit {

enum TSZIN : int32_t { MAKK, PIROS, TOK, ZOLD, NEMSZIN };

inline constexpr int32_t MINSZIN = MAKK;
inline constexpr int32_t MAXSZIN = ZOLD;

extern const Runtime::ShortStr SSZIN[NEMSZIN + 1];

Runtime::ShortStr SZIN2STRING(TSZIN SZ);
// No check: a code outside 0..4 comes back as a value that is no member, caught at its first use.
TSZIN KOD2SZIN(int16_t KO);
void KI(const Runtime::ShortStr& SZOV, TSZIN SZ, const Runtime::ShortStr& UTO);

extern const Runtime::Module kModule;

}  // namespace SzinUnit

// PakliUn: a set of cards of the 32-card deck as a 5 by 9 membership matrix (sentinel row and
// column included) with a success flag, and its operations: full and empty set, emptiness,
// add, remove, best, worst and random card, and the listing.
#pragma once

#include "kartyaun.h"
#include "shortstr.h"
#include "system.h"

namespace PakliUn {

inline constexpr int MAXKARTYADB = 32;

struct THALMAZ {
  bool LAPOK[SzinUnit::NEMSZIN + 1][FiguUnit::NEMFIGURA + 1];
  bool SIKER;  // false once an operation on the set could not do its work
};

void TELJESPAKLI(THALMAZ& P);
void URESPAKLI(THALMAZ& P);
bool URESPAKLIE(const THALMAZ& P);
void KOZETESZ(THALMAZ& P, const KartyaUn::TKARTYA& K);
void ELVESZ(THALMAZ& P, const KartyaUn::TKARTYA& K);

void LEGJOBBLAP(THALMAZ& P, KartyaUn::TKARTYA& K);
void LEGROSSZABBLAP(THALMAZ& P, KartyaUn::TKARTYA& K);
void VELETLENLAP(THALMAZ& P, KartyaUn::TKARTYA& K);

void KIPAKLI(const Runtime::ShortStr& SZOV, const THALMAZ& P);

extern const Runtime::Module kModule;

}  // namespace PakliUn

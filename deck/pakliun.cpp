#include "pakliun.h"

#include "checks.h"
#include "random.h"

namespace PakliUn {

using FiguUnit::MAXFIGURA;
using FiguUnit::MINFIGURA;
using FiguUnit::NEMFIGURA;
using FiguUnit::TFIGURA;
using Runtime::check_index;
using SzinUnit::MAXSZIN;
using SzinUnit::MINSZIN;
using SzinUnit::NEMSZIN;
using SzinUnit::TSZIN;

static_assert((MAXSZIN - MINSZIN + 1) * (MAXFIGURA - MINFIGURA + 1) == MAXKARTYADB);

// Every index into LAPOK is checked against the whole matrix, 0..4 by 0..8, where it is made.

namespace {

void fill_real_cards(THALMAZ& P, bool present) {
  for (int32_t sz = MINSZIN; sz <= MAXSZIN; ++sz) {
    for (int32_t f = MINFIGURA; f <= MAXFIGURA; ++f) {
      P.LAPOK[check_index(sz, NEMSZIN)][check_index(f, NEMFIGURA)] = present;
    }
  }
  P.SIKER = true;
}

}  // namespace

// ==== Membership =============================================================================

void TELJESPAKLI(THALMAZ& P) {
  fill_real_cards(P, true);
}

void URESPAKLI(THALMAZ& P) {
  fill_real_cards(P, false);
}

bool URESPAKLIE(const THALMAZ& P) {
  uint8_t DB = 0;
  for (int32_t sz = MINSZIN; sz <= MAXSZIN; ++sz) {
    for (int32_t f = MINFIGURA; f <= MAXFIGURA; ++f) {
      if (P.LAPOK[check_index(sz, NEMSZIN)][check_index(f, NEMFIGURA)]) {
        DB = Runtime::narrow<uint8_t>(DB + 1);
      }
    }
  }
  return DB == 0;
}

void KOZETESZ(THALMAZ& P, const KartyaUn::TKARTYA& K) {
  P.LAPOK[check_index(K.SZIN, NEMSZIN)][check_index(K.FIGURA, NEMFIGURA)] = true;
}

void ELVESZ(THALMAZ& P, const KartyaUn::TKARTYA& K) {
  bool& lap = P.LAPOK[check_index(K.SZIN, NEMSZIN)][check_index(K.FIGURA, NEMFIGURA)];
  if (!lap) {
    P.SIKER = false;
    return;
  }
  lap = false;
}

// ==== Best, worst and random card ============================================================

namespace {

// Walks the card order from one end towards the other (suit outer, rank inner) and stops at the
// first card present. The far end is taken untested: the set is not empty, so it is then present.
void scan_for_present(THALMAZ& P, KartyaUn::TKARTYA& K, int32_t step) {
  if (URESPAKLIE(P)) {
    P.SIKER = false;
    return;
  }
  const bool down = step < 0;
  const int32_t last_sz = down ? MINSZIN : MAXSZIN;
  const int32_t first_f = down ? MAXFIGURA : MINFIGURA;
  const int32_t last_f = down ? MINFIGURA : MAXFIGURA;
  int32_t sz = down ? MAXSZIN : MINSZIN;
  int32_t f = first_f;
  while ((sz != last_sz || f != last_f) &&
         !P.LAPOK[check_index(sz, NEMSZIN)][check_index(f, NEMFIGURA)]) {
    if (f != last_f) {
      f = static_cast<int32_t>(check_index(f + step, NEMFIGURA));
    } else {
      sz = static_cast<int32_t>(check_index(sz + step, NEMSZIN));
      f = first_f;
    }
  }
  K.SZIN = static_cast<TSZIN>(sz);
  K.FIGURA = static_cast<TFIGURA>(f);
}

}  // namespace

void LEGJOBBLAP(THALMAZ& P, KartyaUn::TKARTYA& K) {
  scan_for_present(P, K, -1);
}

void LEGROSSZABBLAP(THALMAZ& P, KartyaUn::TKARTYA& K) {
  scan_for_present(P, K, +1);
}

void VELETLENLAP(THALMAZ& P, KartyaUn::TKARTYA& K) {
  if (URESPAKLIE(P)) {
    P.SIKER = false;
    return;
  }
  // Each attempt draws the suit, then the rank; a card not in the set is drawn again.
  TSZIN sz;
  TFIGURA f;
  do {
    sz = SzinUnit::KOD2SZIN(Runtime::narrow<int16_t>(Runtime::RANDOM(4)));
    f = FiguUnit::KOD2FIGURA(Runtime::narrow<int16_t>(Runtime::RANDOM(8)));
  } while (!P.LAPOK[check_index(sz, NEMSZIN)][check_index(f, NEMFIGURA)]);
  K.SZIN = sz;
  K.FIGURA = f;
}

// ==== Listing ================================================================================

void KIPAKLI(const Runtime::ShortStr& SZOV, const THALMAZ& P) {
  Runtime::out_str(SZOV);
  Runtime::out_line_end();
  for (int32_t sz = MINSZIN; sz <= MAXSZIN; ++sz) {
    Runtime::out_str(SzinUnit::SZIN2STRING(static_cast<TSZIN>(sz)), 6);
    Runtime::out_char(':');
    Runtime::out_end();
    for (int32_t f = MINFIGURA; f <= MAXFIGURA; ++f) {
      if (P.LAPOK[check_index(sz, NEMSZIN)][check_index(f, NEMFIGURA)]) {
        Runtime::out_str(FiguUnit::FIGURA2STRING(static_cast<TFIGURA>(f)));
        Runtime::out_char(' ');
        Runtime::out_end();
      }
    }
    Runtime::out_line_end();
  }
}

const Runtime::Module kModule = {"PakliUn", nullptr, nullptr};

}  // namespace PakliUn

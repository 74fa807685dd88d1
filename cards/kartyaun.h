// KartyaUn: one playing card (suit, rank and an unused error flag), the line end CRLF, and KI,
// which prints a card as its leading text, suit, a blank, rank and trailing text.
#pragma once

#include "figuunit.h"
#include "shortstr.h"
#include "system.h"
#include "szinunit.h"

namespace KartyaUn {

struct TKARTYA {
  SzinUnit::TSZIN SZIN;
  FiguUnit::TFIGURA FIGURA;
  bool HIBA;  // kept as the card started; nothing reads or writes it
};

extern const Runtime::ShortStr CRLF;

void KI(const Runtime::ShortStr& SZOV, const TKARTYA& K, const Runtime::ShortStr& UTO);

extern const Runtime::Module kModule;

}  // namespace KartyaUn

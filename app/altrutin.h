// AltRutin: the main program's page and key routines. BILLREVAR waits for one key; UJLAP waits
// (a key, or a number of tenths of a second), clears the screen and centres a title on line 1.
#pragma once

#include <cstdint>

#include "shortstr.h"

namespace AltRutin {

void BILLREVAR();
// A negative VARAKOZAS waits for a key instead of a time.
void UJLAP(Runtime::ShortStr CIM, int16_t VARAKOZAS);

}  // namespace AltRutin

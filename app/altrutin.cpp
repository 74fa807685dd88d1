#include "altrutin.h"

#include "checks.h"
#include "console.h"
#include "system.h"

namespace AltRutin {

void BILLREVAR() {
  Console::READKEY();
}

void UJLAP(Runtime::ShortStr CIM, int16_t VARAKOZAS) {
  Runtime::ShortStr cim;
  Runtime::SHORTSTR_ASSIGN(Runtime::kShortStrMax, CIM, cim);
  if (VARAKOZAS < 0) {
    BILLREVAR();
  } else {
    // Tenths of a second to milliseconds; 656 and above do not fit the delay's 16 bits.
    const int32_t ms = Runtime::mul_checked<int32_t>(VARAKOZAS, 100);
    Console::DELAY(Runtime::narrow<uint16_t>(ms));
  }
  Console::CLRSCR();
  // Right-aligned in 40 + half its length: centred on an 80-column screen.
  const int32_t width = Runtime::add_checked<int32_t>(cim.len / 2, 40);
  Runtime::out_str(cim, width);
  Runtime::out_line_end();
}

}  // namespace AltRutin

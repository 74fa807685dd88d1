#include "program.h"

#include "altrutin.h"
#include "console.h"

namespace Program {

PakliUn::THALMAZ ASZTAL;
PakliUn::THALMAZ KEZ;
KartyaUn::TKARTYA K;

namespace {

using Runtime::make_shortstr;

// The texts are code page 852: \xA0 is a acute, \x82 e acute.
const Runtime::ShortStr kTitle = make_shortstr("K\xA0rty\xA0s program");
const Runtime::ShortStr kClosingTitle = make_shortstr("K\xA0rtyakever\x82s");
const Runtime::ShortStr kTable = make_shortstr("Asztal:");
const Runtime::ShortStr kHand = make_shortstr("K\x82z:");
const Runtime::ShortStr kDrawn = make_shortstr("Kih\xA3zott k\xA0rtya:");
const Runtime::ShortStr kBest = make_shortstr("Legjobb lapom:");
const Runtime::ShortStr kWorst = make_shortstr("Legrosszabb lapom:");

// Start-up runs top to bottom; the exit sequence shuts down bottom to top.
const Runtime::Module kModules[] = {
    Runtime::kCoreModule, Runtime::kSupportModule, Console::kModule, SzinUnit::kModule,
    FiguUnit::kModule,    KartyaUn::kModule,       PakliUn::kModule,
};

// Deals the table into the hand one random card at a time, listing both sets and naming the
// hand's best and worst card after each move. The card leaves the table and the table is listed
// before the card joins the hand; K is overwritten only after the drawn card has moved.
void deal() {
  using namespace PakliUn;
  TELJESPAKLI(ASZTAL);
  KIPAKLI(kTable, ASZTAL);
  Runtime::out_line_end();
  URESPAKLI(KEZ);
  KIPAKLI(kHand, KEZ);
  Runtime::out_line_end();

  while (!URESPAKLIE(ASZTAL)) {
    VELETLENLAP(ASZTAL, K);
    KartyaUn::KI(kDrawn, K, KartyaUn::CRLF);
    ELVESZ(ASZTAL, K);
    KIPAKLI(kTable, ASZTAL);
    KOZETESZ(KEZ, K);
    KIPAKLI(kHand, KEZ);
    LEGJOBBLAP(KEZ, K);
    KartyaUn::KI(kBest, K, KartyaUn::CRLF);
    LEGROSSZABBLAP(KEZ, K);
    KartyaUn::KI(kWorst, K, KartyaUn::CRLF);
    Runtime::out_line_end();
    AltRutin::BILLREVAR();
  }
}

}  // namespace

std::span<const Runtime::Module> modules() {
  return kModules;
}

void body() {
  AltRutin::UJLAP(kTitle, 0);
  Runtime::out_line_end();
  deal();
  AltRutin::UJLAP(kClosingTitle, -1);
  AltRutin::BILLREVAR();
}

}  // namespace Program

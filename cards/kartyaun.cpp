#include "kartyaun.h"

namespace KartyaUn {

const Runtime::ShortStr CRLF = Runtime::make_shortstr("\r\n");

namespace {
const Runtime::ShortStr kEmpty;
const Runtime::ShortStr kBlank = Runtime::make_shortstr(" ");
}  // namespace

// Four statements; the texts are written apart from the names, so none of them is cut.
void KI(const Runtime::ShortStr& SZOV, const TKARTYA& K, const Runtime::ShortStr& UTO) {
  Runtime::out_str(SZOV);
  Runtime::out_end();
  SzinUnit::KI(kEmpty, K.SZIN, kEmpty);
  FiguUnit::KI(kBlank, K.FIGURA, kEmpty);
  Runtime::out_str(UTO);
  Runtime::out_end();
}

const Runtime::Module kModule = {"KartyaUn", nullptr, nullptr};

}  // namespace KartyaUn

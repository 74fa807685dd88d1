#include "szinunit.h"

#include "checks.h"
#include "named_members.h"

namespace SzinUnit {

using Runtime::make_shortstr;

const Runtime::ShortStr SSZIN[NEMSZIN + 1] = {make_shortstr("Makk"), make_shortstr("Piros"),
                                              make_shortstr("Tok"), make_shortstr("Zold"),
                                              make_shortstr("Nem szin")};

Runtime::ShortStr SZIN2STRING(TSZIN SZ) {
  return NamedMembers::copy_name(SSZIN[Runtime::check_index(SZ, NEMSZIN)]);
}

TSZIN KOD2SZIN(int16_t KO) {
  return static_cast<TSZIN>(KO);
}

void KI(const Runtime::ShortStr& SZOV, TSZIN SZ, const Runtime::ShortStr& UTO) {
  NamedMembers::print(SZOV, SZIN2STRING(SZ), UTO);
}

const Runtime::Module kModule = {"SzinUnit", nullptr, nullptr};

}  // namespace SzinUnit

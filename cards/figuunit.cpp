#include "figuunit.h"

#include "checks.h"
#include "named_members.h"

namespace FiguUnit {

using Runtime::make_shortstr;

const Runtime::ShortStr SFIGURA[NEMFIGURA + 1] = {
    make_shortstr("VII"),    make_shortstr("VIII"), make_shortstr("IX"),
    make_shortstr("X"),      make_shortstr("Also"), make_shortstr("Felso"),
    make_shortstr("Kiraly"), make_shortstr("Asz"),  make_shortstr("Nem figura")};

Runtime::ShortStr FIGURA2STRING(TFIGURA F) {
  return NamedMembers::copy_name(SFIGURA[Runtime::check_index(F, NEMFIGURA)]);
}

TFIGURA KOD2FIGURA(int16_t KO) {
  return static_cast<TFIGURA>(KO);
}

void KI(const Runtime::ShortStr& SZOV, TFIGURA F, const Runtime::ShortStr& UTO) {
  NamedMembers::print(SZOV, FIGURA2STRING(F), UTO);
}

const Runtime::Module kModule = {"FiguUnit", nullptr, nullptr};

}  // namespace FiguUnit

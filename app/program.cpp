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

// Start-up runs top to bottom; the exit sequence shuts down bottom to top.
const Runtime::Module kModules[] = {
    Runtime::kCoreModule, Runtime::kSupportModule, Console::kModule, SzinUnit::kModule,
    FiguUnit::kModule,    KartyaUn::kModule,       PakliUn::kModule,
};

}  // namespace

std::span<const Runtime::Module> modules() {
  return kModules;
}

void body() {
  AltRutin::UJLAP(kTitle, 0);
  Runtime::out_line_end();
  AltRutin::UJLAP(kClosingTitle, -1);
  AltRutin::BILLREVAR();
}

}  // namespace Program

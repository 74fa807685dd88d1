// The main program: its module list in start-up order, its globals, and its body from the title
// page to the closing page.
#pragma once

#include <span>

#include "kartyaun.h"
#include "pakliun.h"
#include "system.h"

namespace Program {

extern PakliUn::THALMAZ ASZTAL;  // the table: the cards not yet dealt
extern PakliUn::THALMAZ KEZ;     // the hand: the cards dealt so far
extern KartyaUn::TKARTYA K;      // the card just drawn, then the hand's best and worst card

// Run-time core, run-time support, console, then the program's modules.
std::span<const Runtime::Module> modules();

void body();

}  // namespace Program

// The console's platform over the process's standard input and output. Standard output on a
// terminal is drawn with a few escape sequences; anywhere else it gets the plain text of the run.
// Standard input's bytes are decoded into keys. The terminal's settings are given back exactly as
// found on every way out.
#pragma once

#include "platform.h"

namespace Terminal {

// The platform of this process, set up on first use: input mode, signal handlers, window size.
Console::Platform& platform();

}  // namespace Terminal

// The console: the text window, cursor and attribute over a Platform, the writer that the text
// output stream is bound to, and the single-key keyboard (KEYPRESSED, READKEY) and DELAY.
#pragma once

#include <cstdint>

#include "platform.h"
#include "system.h"

namespace Console {

extern uint32_t WINDMINX, WINDMINY, WINDMAXX, WINDMAXY;
extern uint8_t TEXTATTR;
extern uint32_t CURRX, CURRY;
extern uint8_t SCANCODE;
extern bool SPECIALKEY;

// Reads the window and attribute from `platform` and binds the text output stream and the
// keyboard input stream to the console. Draws nothing and moves nothing.
void start(Platform& platform);
// Gives the platform back; the last page stays on the screen.
void stop();

void CLRSCR();
void GOTOXY(uint8_t x, uint8_t y);

// The text output stream's write and flush routine; always succeeds.
uint16_t console_writer(Runtime::TEXTREC& t);
void WRITECHAR(uint8_t c);
void WRITESTR(const char* chars, uint32_t n);
void REMOVELINE();

bool KEYPRESSED();
uint8_t READKEY();
void DELAY(uint16_t ms);

// The console as the third module of the start-up order, over the real terminal.
extern const Runtime::Module kModule;

}  // namespace Console

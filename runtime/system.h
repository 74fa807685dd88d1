// The run-time core: text streams (TEXTREC) and their formatted writes, the pending I/O result,
// the one error stop behind every failed check, the module start-up list and the exit sequence.
#pragma once

#include <cstdint>
#include <span>

#include "shortstr.h"

namespace Runtime {

// ---- Text streams ---------------------------------------------------------------------------

enum class FileMode : uint8_t { Closed, Input, Output };

inline constexpr uint32_t kTextBufSize = 256;

struct TEXTREC;
// Write and flush routines hand the buffered characters to the device and empty the buffer.
// They return an I/O result; 0 is success.
using TextFunc = uint16_t (*)(TEXTREC&);

struct TEXTREC {
  FileMode mode = FileMode::Closed;
  int handle = -1;
  uint32_t bufpos = 0;  // characters held in buf
  char buf[kTextBufSize]{};
  uint8_t lineend_len = 0;
  char lineend[3]{};
  TextFunc write = nullptr;
  TextFunc flush = nullptr;  // optional; called at the end of every statement and line
};

extern TEXTREC TEXT_OUTPUT;     // where the program's modules write
extern TEXTREC KEYBOARD_INPUT;  // bound for form's sake; the program reads keys directly
extern TEXTREC STDOUT;          // the process's standard output; only the error report uses it

// Binds `t` to a device: mode, handle, routines, and CR LF as the line end.
void bind_text(TEXTREC& t, FileMode mode, int handle, TextFunc write, TextFunc flush);

// Plain writer onto t.handle; returns 101 when the device refuses the characters.
uint16_t fd_write(TEXTREC& t);

extern uint16_t INOUTRES;

void WRITE_TEXT_SHORTSTR(TEXTREC& t, int32_t width, const ShortStr& s);
void WRITE_TEXT_CHAR(TEXTREC& t, int32_t width, char c);
void WRITE_END(TEXTREC& t);
void WRITELN_END(TEXTREC& t);

// Output statements on the text output stream, as the program's modules write them: each item is
// followed by its I/O check, and a statement ends with out_end or out_line_end.
void out_str(const ShortStr& s, int32_t width = 0);
void out_char(char c, int32_t width = 0);
void out_end();
void out_line_end();

// ---- Checks and the error stop --------------------------------------------------------------
// These read their own return address as the failure's code location, so they are never inlined
// and are not declared noreturn: the caller keeps code after the call, and the location stays
// inside the function that failed.

void IOCHECK();
void RANGEERROR();
void OVERFLOW();

inline constexpr uint16_t kRangeError = 201;
inline constexpr uint16_t kOverflowError = 215;
inline constexpr uint16_t kFileNotOpen = 103;
inline constexpr uint16_t kFileNotOpenForOutput = 105;
inline constexpr uint16_t kDiskWriteError = 101;  // the terminal or file refused the output

extern uint16_t ERRORCODE;
extern uintptr_t ERRORADDR;  // offset in the executable image, once a failure has happened

// Stops the program with run-time error `code` at `addr` (an absolute code address).
[[noreturn]] void error_stop(uint16_t code, const void* addr);

// ---- Start-up and exit ---------------------------------------------------------------------

struct Module {
  const char* name;
  void (*init)();
  void (*done)();
};

// Runs each module's start-up in order and remembers the list for the reverse shutdown.
void start_modules(std::span<const Module> modules);

// The exit sequence: shut the modules down in reverse, write the error report if there is one,
// flush the text output stream then STDOUT, and end the process with `status`.
[[noreturn]] void halt(uint8_t status);

// True when the standard handle (0, 1 or 2) was closed at start-up; it now leads to /dev/null.
bool handle_was_closed(int fd);

// The two run-time modules that open every module list.
extern const Module kCoreModule;
extern const Module kSupportModule;

}  // namespace Runtime

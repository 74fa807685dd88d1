// Turns the bytes a terminal sends for key presses into console input events. A pure function of
// the bytes: it keeps no state, so a caller holds the bytes not yet decoded and asks again when
// more arrive or when no more will come soon.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform.h"

namespace KeyDecoder {

// Converts one character in the terminal's encoding (1 to 4 bytes) to its code page 852 byte;
// -1 when code page 852 has no such character.
using ToCp852 = int (*)(const uint8_t* bytes, size_t n);

struct Config {
  bool utf8 = true;  // false: every byte is one character of a single-byte charset
  ToCp852 to_cp852 = nullptr;
};

struct Result {
  size_t consumed = 0;  // 0: the bytes may be the start of a longer sequence; wait for more
  bool has_event = false;
  Console::InputEvent event;
};

// Decodes the key at the front of `bytes`. With `final` set no more bytes are coming soon (the
// lone-Esc time-out passed, or the input ended), so a partial sequence is decoded as it stands.
// Whenever n > 0 and `final` is set, at least one byte is consumed. At most one event results.
Result decode(const uint8_t* bytes, size_t n, bool final, const Config& config);

// The code an escape sequence that the decoder does not know delivers after its 0.
inline constexpr uint8_t kUnknownSequenceCode = 255;
// Longest escape sequence taken as one; a longer one is consumed as an unknown key.
inline constexpr size_t kMaxSequence = 32;

}  // namespace KeyDecoder

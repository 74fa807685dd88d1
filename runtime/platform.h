// The narrow interface through which the console reaches a screen and a keyboard: a rectangle of
// cells with a cursor, and a queue of input events. The program uses the real terminal; tests use
// an in-memory screen. Coordinates are 1-based columns and rows of the whole screen.
#pragma once

#include <cstdint>

namespace Console {

// Modifier keys held during a key event.
enum Modifier : uint8_t { kShift = 1, kCtrl = 2, kLeftAlt = 4, kRightAlt = 8 };

// Virtual-key codes the console treats specially.
enum VirtualKey : uint16_t {
  kVkShift = 16,
  kVkControl = 17,
  kVkMenu = 18,  // Alt
  kVkCapital = 20,
  kVkNumLock = 144,
  kVkScroll = 145,
};

struct InputEvent {
  enum class Kind : uint8_t { Key, Mouse, Focus, Resize, Menu };
  Kind kind = Kind::Key;
  bool down = true;       // a press; false for a release
  uint16_t vk = 0;        // virtual-key code
  uint8_t ch = 0;         // the character, code page 852; 0 for a key without one
  uint8_t scan = 0;       // PC keyboard scan code (set 1)
  bool enhanced = false;  // cursor and editing keys beside the letter block, keypad Enter and /
  uint8_t mods = 0;       // Modifier bits
  uint16_t repeat = 1;
};

struct ScreenInfo {
  uint32_t left, top, right, bottom;  // the visible window, inclusive
  uint8_t attr;                       // the current cell attribute
  uint32_t cursor_x, cursor_y;
};

class Platform {
 public:
  virtual ~Platform() = default;

  virtual ScreenInfo screen_info() = 0;
  virtual void get_cursor(uint32_t& x, uint32_t& y) = 0;
  virtual void set_cursor(uint32_t x, uint32_t y) = 0;
  // Blanks (0x20) in `attr` on every cell of the rectangle.
  virtual void fill_rect(uint32_t left, uint32_t top, uint32_t right, uint32_t bottom,
                         uint8_t attr) = 0;
  // Places `n` characters on consecutive cells of row y from column x, each in `attr`.
  virtual void write_run(uint32_t x, uint32_t y, const char* chars, uint32_t n, uint8_t attr) = 0;
  // Moves rows top+1..bottom of the rectangle up by one row; the bottom row becomes blanks.
  virtual void scroll_up(uint32_t left, uint32_t top, uint32_t right, uint32_t bottom,
                         uint8_t attr) = 0;

  // Takes the next input event without waiting; false when none is ready.
  virtual bool read_event(InputEvent& e) = 0;
  // Returns when read_event may have something new. Everything written is visible meanwhile.
  virtual void wait_for_input() = 0;
  virtual void sleep_ms(uint32_t ms) = 0;

  // The console ends: show what is pending and give the device back as it was found.
  virtual void shutdown() = 0;
};

}  // namespace Console

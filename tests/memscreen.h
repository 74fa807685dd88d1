// An in-memory screen for console tests: a buffer of cells with attributes, a visible window that
// may be smaller than the buffer, a cursor, and a queue of input events.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform.h"

class MemScreen final : public Console::Platform {
 public:
  struct Cell {
    char ch = '.';  // untouched cells show as dots, so blanks written by the console stand out
    uint8_t attr = 0;
  };

  // A buffer of cols x rows; the visible window is the given rectangle (the whole buffer if 0).
  MemScreen(uint32_t cols, uint32_t rows, uint8_t attr = 0x1E, uint32_t left = 0, uint32_t top = 0,
            uint32_t right = 0, uint32_t bottom = 0);

  // The characters of row y, columns 1..cols.
  std::string row(uint32_t y) const;
  const Cell& cell(uint32_t x, uint32_t y) const;
  void put_text(uint32_t x, uint32_t y, const std::string& s, uint8_t attr);

  void type(const Console::InputEvent& e) { input.push_back(e); }
  void type_char(uint8_t ch);

  uint32_t cursor_x = 1, cursor_y = 1;
  std::deque<Console::InputEvent> input;
  uint32_t slept_ms = 0;
  int waits = 0;
  int run_calls = 0;
  bool shut_down = false;
  // Called when a key wait finds the queue empty; a test adds keys here or fails.
  std::function<void(MemScreen&)> on_wait;

  Console::ScreenInfo screen_info() override;
  void get_cursor(uint32_t& x, uint32_t& y) override;
  void set_cursor(uint32_t x, uint32_t y) override;
  void fill_rect(uint32_t left, uint32_t top, uint32_t right, uint32_t bottom,
                 uint8_t attr) override;
  void write_run(uint32_t x, uint32_t y, const char* chars, uint32_t n, uint8_t attr) override;
  void scroll_up(uint32_t left, uint32_t top, uint32_t right, uint32_t bottom,
                 uint8_t attr) override;
  bool read_event(Console::InputEvent& e) override;
  void wait_for_input() override;
  void sleep_ms(uint32_t ms) override { slept_ms += ms; }
  void shutdown() override { shut_down = true; }

 private:
  Cell& at(uint32_t x, uint32_t y);

  uint32_t cols_, rows_;
  uint8_t attr_;
  uint32_t left_, top_, right_, bottom_;
  std::vector<Cell> cells_;
};

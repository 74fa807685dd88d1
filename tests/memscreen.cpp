#include "memscreen.h"

#include <gtest/gtest.h>

MemScreen::MemScreen(uint32_t cols, uint32_t rows, uint8_t attr, uint32_t left, uint32_t top,
                     uint32_t right, uint32_t bottom)
    : cols_(cols),
      rows_(rows),
      attr_(attr),
      left_(left ? left : 1),
      top_(top ? top : 1),
      right_(right ? right : cols),
      bottom_(bottom ? bottom : rows),
      cells_(static_cast<size_t>(cols) * rows) {}

MemScreen::Cell& MemScreen::at(uint32_t x, uint32_t y) {
  return cells_[static_cast<size_t>(y - 1) * cols_ + (x - 1)];
}

const MemScreen::Cell& MemScreen::cell(uint32_t x, uint32_t y) const {
  return cells_[static_cast<size_t>(y - 1) * cols_ + (x - 1)];
}

std::string MemScreen::row(uint32_t y) const {
  std::string s;
  for (uint32_t x = 1; x <= cols_; ++x) s += cell(x, y).ch;
  return s;
}

void MemScreen::put_text(uint32_t x, uint32_t y, const std::string& s, uint8_t attr) {
  for (char c : s) at(x++, y) = {c, attr};
}

void MemScreen::type_char(uint8_t ch) {
  Console::InputEvent e;
  e.ch = ch;
  e.vk = ch;
  input.push_back(e);
}

Console::ScreenInfo MemScreen::screen_info() {
  return {left_, top_, right_, bottom_, attr_, cursor_x, cursor_y};
}

void MemScreen::get_cursor(uint32_t& x, uint32_t& y) {
  x = cursor_x;
  y = cursor_y;
}

void MemScreen::set_cursor(uint32_t x, uint32_t y) {
  cursor_x = x;
  cursor_y = y;
}

void MemScreen::fill_rect(uint32_t left, uint32_t top, uint32_t right, uint32_t bottom,
                          uint8_t attr) {
  for (uint32_t y = top; y <= bottom; ++y)
    for (uint32_t x = left; x <= right; ++x) at(x, y) = {' ', attr};
}

void MemScreen::write_run(uint32_t x, uint32_t y, const char* chars, uint32_t n, uint8_t attr) {
  ++run_calls;
  // Cells past the buffer's right edge are not there to write.
  for (uint32_t i = 0; i < n && x + i <= cols_; ++i) at(x + i, y) = {chars[i], attr};
}

void MemScreen::scroll_up(uint32_t left, uint32_t top, uint32_t right, uint32_t bottom,
                          uint8_t attr) {
  for (uint32_t y = top; y < bottom; ++y)
    for (uint32_t x = left; x <= right; ++x) at(x, y) = at(x, y + 1);
  for (uint32_t x = left; x <= right; ++x) at(x, bottom) = {' ', attr};
}

bool MemScreen::read_event(Console::InputEvent& e) {
  if (input.empty()) return false;
  e = input.front();
  input.pop_front();
  return true;
}

void MemScreen::wait_for_input() {
  ++waits;
  if (on_wait) {
    on_wait(*this);
  } else {
    ADD_FAILURE() << "key wait with no key queued";
    type_char('!');
  }
}

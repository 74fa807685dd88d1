// The console against the in-memory screen: window, writer, scrolling, keys.
#include "console.h"

#include <gtest/gtest.h>

#include <string>

#include "memscreen.h"

using Console::InputEvent;

namespace {

constexpr uint8_t kAttr = 0x1E;
constexpr uint8_t kOld = 0x55;

// A 20x10 buffer whose visible window is columns 3..12, rows 2..6, full of old text.
class ConsoleTest : public ::testing::Test {
 protected:
  ConsoleTest() : screen(20, 10, kAttr, 3, 2, 12, 6) {
    for (uint32_t y = 1; y <= 10; ++y) screen.put_text(1, y, std::string(20, 'x'), kOld);
    screen.cursor_x = 5;
    screen.cursor_y = 3;
    Console::start(screen);
  }

  void write(const std::string& s) {
    Runtime::out_str(Runtime::make_shortstr(s));
    Runtime::out_end();
  }

  // Row y of the window, columns 3..12.
  std::string window_row(uint32_t y) const { return screen.row(y).substr(2, 10); }

  MemScreen screen;
};

TEST_F(ConsoleTest, StartUpTakesTheWindowAndDrawsNothing) {
  EXPECT_EQ(Console::WINDMINX, 3u);
  EXPECT_EQ(Console::WINDMINY, 2u);
  EXPECT_EQ(Console::WINDMAXX, 12u);
  EXPECT_EQ(Console::WINDMAXY, 6u);
  EXPECT_EQ(Console::TEXTATTR, kAttr);
  EXPECT_EQ(screen.row(3), std::string(20, 'x'));
  EXPECT_EQ(screen.cursor_x, 5u);
  // The first write starts where the cursor stands.
  write("ab");
  EXPECT_EQ(screen.row(3), "xxxxabxxxxxxxxxxxxxx");
}

TEST_F(ConsoleTest, ClrscrBlanksExactlyTheWindowAndHomesTheCursor) {
  Console::CLRSCR();
  for (uint32_t y = 1; y <= 10; ++y) {
    const bool inside_rows = y >= 2 && y <= 6;
    EXPECT_EQ(screen.row(y), inside_rows ? "xx          xxxxxxxx" : std::string(20, 'x')) << y;
  }
  EXPECT_EQ(screen.cell(3, 2).attr, kAttr);
  EXPECT_EQ(screen.cell(2, 2).attr, kOld);
  EXPECT_EQ(screen.cursor_x, 3u);
  EXPECT_EQ(screen.cursor_y, 2u);
}

TEST_F(ConsoleTest, WritesContinueOnTheRowAndLeaveTheCursorAfterThem) {
  Console::CLRSCR();
  write("Tok");
  EXPECT_EQ(screen.cursor_x, 6u);
  write(" Also");
  EXPECT_EQ(window_row(2), "Tok Also  ");
  EXPECT_EQ(screen.cursor_x, 11u);
  write("\r\n");
  EXPECT_EQ(screen.cursor_x, 3u);
  EXPECT_EQ(screen.cursor_y, 3u);
  EXPECT_EQ(screen.run_calls, 2) << "one platform call per run";
}

TEST_F(ConsoleTest, ControlCharacters) {
  struct Case {
    std::string text;
    std::string row2, row3;
    uint32_t x, y;
  };
  const Case cases[] = {
      {"ab\ncd", "ab        ", "  cd      ", 7, 3},    // line feed keeps the column
      {"abc\rX", "Xbc       ", "          ", 4, 2},    // carriage return to the left edge
      {"\bab", "ab        ", "          ", 5, 2},      // backspace at the left edge: nothing
      {"abc\b\bX", "aXc       ", "          ", 5, 2},  // backspace erases nothing
      {"a\a\ab", "ab        ", "          ", 5, 2},    // bell: nothing at all
  };
  for (const Case& c : cases) {
    Console::CLRSCR();
    write(c.text);
    EXPECT_EQ(window_row(2), c.row2) << c.text;
    EXPECT_EQ(window_row(3), c.row3) << c.text;
    EXPECT_EQ(screen.cursor_x, c.x) << c.text;
    EXPECT_EQ(screen.cursor_y, c.y) << c.text;
  }
}

TEST_F(ConsoleTest, LineEndOnTheBottomRowScrollsOnlyTheWindow) {
  Console::CLRSCR();
  write("1\r\n2\r\n3\r\n4\r\n5");
  EXPECT_EQ(window_row(6), "5         ");
  write("\r\n");
  EXPECT_EQ(window_row(2), "2         ") << "the top row's text is gone";
  EXPECT_EQ(window_row(5), "5         ");
  EXPECT_EQ(window_row(6), "          ");
  EXPECT_EQ(screen.cell(3, 6).attr, kAttr);
  EXPECT_EQ(screen.cursor_x, 3u);
  EXPECT_EQ(screen.cursor_y, 6u);
  for (uint32_t y : {1u, 7u, 10u}) EXPECT_EQ(screen.row(y), std::string(20, 'x')) << y;
  EXPECT_EQ(screen.row(4).substr(0, 2), "xx");
  EXPECT_EQ(screen.row(4).substr(12), "xxxxxxxx");

  write("\r\n\r\n");  // once each
  EXPECT_EQ(window_row(2), "4         ");
  EXPECT_EQ(window_row(3), "5         ");
  EXPECT_EQ(window_row(4), "          ");
}

TEST_F(ConsoleTest, RunEndingOnTheRightEdgeThenLineEndMovesDownOneRow) {
  Console::CLRSCR();
  write("0123456789\r\nx");
  EXPECT_EQ(window_row(2), "0123456789");
  EXPECT_EQ(window_row(3), "x         ");
  EXPECT_EQ(screen.cursor_y, 3u);
}

TEST_F(ConsoleTest, LongStatementReachesTheScreenInTwoHandOvers) {
  MemScreen wide(400, 3);
  Console::start(wide);
  Console::CLRSCR();
  const std::string text = std::string(255, 'a') + std::string(45, 'b');
  Runtime::out_str(Runtime::make_shortstr(text.substr(0, 255)));
  Runtime::out_str(Runtime::make_shortstr(text.substr(255)));
  Runtime::out_end();
  EXPECT_EQ(wide.row(1).substr(0, 300), text);
  EXPECT_EQ(wide.run_calls, 2);
  EXPECT_EQ(wide.cursor_x, 301u);
}

TEST_F(ConsoleTest, GotoxyInsideTheWindowOnly) {
  const std::pair<uint8_t, uint8_t> ignored[] = {{0, 1}, {1, 0}, {11, 1}, {1, 6}};
  for (const auto& [x, y] : ignored) {
    Console::GOTOXY(x, y);
    EXPECT_EQ(screen.cursor_x, 5u);
    EXPECT_EQ(screen.cursor_y, 3u);
  }
  Console::GOTOXY(10, 5);
  EXPECT_EQ(screen.cursor_x, 12u);
  EXPECT_EQ(screen.cursor_y, 6u);
}

// ---- Keys
// ----------------------------------------------------------------------------------------

InputEvent key(uint8_t ch, uint8_t scan = 0, uint16_t vk = 0, uint8_t mods = 0,
               bool enhanced = false) {
  InputEvent e;
  e.ch = ch;
  e.scan = scan;
  e.vk = vk;
  e.mods = mods;
  e.enhanced = enhanced;
  return e;
}

InputEvent release(uint16_t vk) {
  InputEvent e = key(0, 0, vk);
  e.down = false;
  return e;
}

std::vector<int> read_all(MemScreen& s) {
  std::vector<int> got;
  s.on_wait = [](MemScreen&) {};
  while (!s.input.empty() || Console::SCANCODE != 0) {
    if (!Console::KEYPRESSED()) break;
    got.push_back(Console::READKEY());
  }
  return got;
}

TEST_F(ConsoleTest, KeyEventsBecomeCharacters) {
  struct Case {
    const char* what;
    std::vector<InputEvent> events;
    std::vector<int> chars;
  };
  InputEvent mouse;
  mouse.kind = InputEvent::Kind::Mouse;
  InputEvent focus;
  focus.kind = InputEvent::Kind::Focus;
  InputEvent repeated = key('r', 19, 'R');
  repeated.repeat = 5;
  const Case cases[] = {
      {"letter", {key('a', 30, 'A')}, {'a'}},
      {"Enter, Esc", {key(13, 28, 13), key(27, 1, 27)}, {13, 27}},
      {"F1", {key(0, 59, 0x70)}, {0, 59}},
      {"Up (enhanced)", {key(0, 72, 0x26, 0, true)}, {0, 72}},
      {"Del", {key(0, 83, 0x2E, 0, true)}, {0, 83}},
      {"Shift+F1, Ctrl+F10, Alt+F2",
       {key(0, 59, 0x70, Console::kShift), key(0, 68, 0x79, Console::kCtrl),
        key(0, 60, 0x71, Console::kLeftAlt)},
       {0, 84, 0, 103, 0, 105}},
      {"F11, F12", {key(0, 87, 0x7A), key(0, 88, 0x7B)}, {0, 133, 0, 134}},
      {"Ctrl+Left", {key(0, 75, 0x25, Console::kCtrl, true)}, {0, 115}},
      {"Shift+Tab", {key(9, 15, 9, Console::kShift)}, {0, 15}},
      {"Alt+A", {key('a', 30, 'A', Console::kLeftAlt)}, {0, 30}},
      {"modifiers alone, releases, mouse, focus",
       {key(0, 42, Console::kVkShift), key(0, 29, Console::kVkControl),
        key(0, 56, Console::kVkMenu), key(0, 58, Console::kVkCapital),
        key(0, 69, Console::kVkNumLock), key(0, 70, Console::kVkScroll), release('A'), mouse,
        focus},
       {}},
      {"typed ahead, in order", {key('x'), key(0, 59), key('y')}, {'x', 0, 59, 'y'}},
      {"repeat count gives one key", {repeated}, {'r'}},
      {"Alt+keypad 6 5",
       {key(0, 77, 0x66, Console::kLeftAlt), key(0, 76, 0x65, Console::kLeftAlt),
        release(Console::kVkMenu)},
       {65}},
      {"Alt+keypad 0", {key(0, 82, 0x60, Console::kLeftAlt), release(Console::kVkMenu)}, {}},
      {"Alt+keypad 3 2 1 wraps at 256",
       {key(0, 81, 0, Console::kLeftAlt), key(0, 80, 0, Console::kLeftAlt),
        key(0, 79, 0, Console::kLeftAlt), release(Console::kVkMenu)},
       {65}},
  };
  for (const Case& c : cases) {
    for (const InputEvent& e : c.events) screen.type(e);
    EXPECT_EQ(read_all(screen), c.chars) << c.what;
  }
}

TEST_F(ConsoleTest, AltKeypadNumberArrivesOnlyOnRelease) {
  screen.type(key(0, 77, 0x66, Console::kLeftAlt));
  screen.type(key(0, 76, 0x65, Console::kLeftAlt));
  EXPECT_FALSE(Console::KEYPRESSED());
  screen.type(release(Console::kVkMenu));
  EXPECT_TRUE(Console::KEYPRESSED());
  EXPECT_EQ(Console::READKEY(), 65);
}

TEST_F(ConsoleTest, SpecialKeySatisfiesTwoReadsAndTheSecondWaitsForNothing) {
  screen.type(key(0, 59, 0x70));
  EXPECT_EQ(Console::READKEY(), 0);
  EXPECT_TRUE(Console::KEYPRESSED()) << "the code waits";
  EXPECT_EQ(Console::READKEY(), 59);
  EXPECT_EQ(screen.waits, 0);
}

TEST_F(ConsoleTest, ReadkeyWaitsUntilAKeyComesAndWritesNothing) {
  int calls = 0;
  screen.on_wait = [&calls](MemScreen& s) {
    if (++calls == 3) s.type_char('k');
  };
  EXPECT_FALSE(Console::KEYPRESSED());
  EXPECT_EQ(Console::READKEY(), 'k');
  EXPECT_EQ(screen.waits, 3);
  EXPECT_EQ(screen.cursor_x, 5u);
  EXPECT_EQ(screen.row(3), std::string(20, 'x'));
}

TEST_F(ConsoleTest, DelaySleepsAndLeavesKeysQueued) {
  screen.type_char('q');
  Console::DELAY(0);
  Console::DELAY(65535);
  EXPECT_EQ(screen.slept_ms, 65535u);
  ASSERT_EQ(screen.input.size(), 1u);
  EXPECT_EQ(Console::READKEY(), 'q');
}

}  // namespace

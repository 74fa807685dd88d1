// The page and key routines over the in-memory screen.
#include "altrutin.h"

#include <gtest/gtest.h>

#include <string>

#include "child.h"
#include "console.h"
#include "memscreen.h"

using Runtime::make_shortstr;

namespace {

class AltRutinTest : public ::testing::Test {
 protected:
  AltRutinTest() : screen(80, 25) { Console::start(screen); }
  MemScreen screen;
};

TEST_F(AltRutinTest, TitlesAreCentredOnTheFirstLine) {
  struct Case {
    std::string title;
    size_t blanks;
  };
  const Case cases[] = {
      {"K\xA0rty\xA0s program", 32},  // 15 characters
      {"K\xA0rtyakever\x82s", 33},    // 13 characters
      {"ab", 39},
      {"", 40},
      {std::string(79, 't'), 0},
      {std::string(81, 't'), 0},
  };
  for (const Case& c : cases) {
    screen.put_text(1, 1, std::string(80, 'x'), 0);
    AltRutin::UJLAP(make_shortstr(c.title), 0);
    const std::string expected =
        (std::string(c.blanks, ' ') + c.title + std::string(80, ' ')).substr(0, 80);
    EXPECT_EQ(screen.row(1), expected) << c.title.size();
    EXPECT_EQ(screen.cursor_x, 1u);
    EXPECT_EQ(screen.cursor_y, 2u) << "the line end follows at once, also after 81 characters";
  }
}

TEST_F(AltRutinTest, WaitIsTimeInTenthsOrAKey) {
  struct Case {
    int16_t wait;
    uint32_t slept_ms;
    size_t keys_taken;
  };
  const Case cases[] = {{0, 0, 0}, {5, 500, 0}, {655, 65500, 0}, {-1, 0, 1}, {-32768, 0, 1}};
  for (const Case& c : cases) {
    screen.slept_ms = 0;
    screen.input.clear();
    screen.type_char('a');
    screen.type_char('b');
    AltRutin::UJLAP(make_shortstr("t"), c.wait);
    EXPECT_EQ(screen.slept_ms, c.slept_ms) << c.wait;
    EXPECT_EQ(2 - screen.input.size(), c.keys_taken) << c.wait;
  }
}

TEST_F(AltRutinTest, BillrevarTakesOneCharacterSoASpecialKeyServesTwoWaits) {
  Console::InputEvent f1;
  f1.scan = 59;
  f1.vk = 0x70;
  screen.type(f1);
  screen.type_char('z');
  AltRutin::BILLREVAR();
  AltRutin::BILLREVAR();
  EXPECT_EQ(screen.input.size(), 1u) << "F1 gave both characters";
  AltRutin::BILLREVAR();
  EXPECT_TRUE(screen.input.empty());
}

TEST(AltRutin, WaitOf656TenthsStopsWith201) {
  const std::pair<int16_t, int> cases[] = {{656, 201}, {32767, 201}, {655, 0}};
  for (const auto& [wait, code] : cases) {
    const ChildResult r = run_child([wait = wait] {
      static const Runtime::Module kRuntimeOnly[] = {Runtime::kCoreModule, Runtime::kSupportModule};
      Runtime::start_modules(kRuntimeOnly);
      static MemScreen screen(80, 25);
      Console::start(screen);
      AltRutin::UJLAP(make_shortstr("title"), wait);
    });
    EXPECT_EQ(r.exit_code, code) << wait;
    EXPECT_EQ(r.out.rfind(code ? "Runtime error 201 at $" : "", 0), 0u) << r.out;
  }
}

}  // namespace

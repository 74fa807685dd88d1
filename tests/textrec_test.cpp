#include <gtest/gtest.h>

#include <string>

#include "capture.h"
#include "system.h"

using Runtime::make_shortstr;

namespace {

TEST(TextRec, FieldWidths) {
  struct Case {
    std::string text;
    int32_t width;
    std::string expected;
  };
  const Case cases[] = {
      {"abcdefghij", 6, "abcdefghij"},     // longer than the field: whole, no blanks
      {"abcdefghij", 12, "  abcdefghij"},  // padded on the left
      {"", 6, "      "},                   // empty text still fills the field
      {"", 0, ""},                         //
      {"Tok", 0, "Tok"},                   //
      {"Tok", -5, "Tok"},                  // a negative width adds nothing
      {"Makk", 6, "  Makk"},               // the suit name of a listing line
      {std::string(15, 't'), 47, std::string(32, ' ') + std::string(15, 't')},
  };
  for (const Case& c : cases) {
    CapturedStream s;
    Runtime::WRITE_TEXT_SHORTSTR(s.rec, c.width, make_shortstr(c.text));
    Runtime::WRITE_END(s.rec);
    EXPECT_EQ(s.text, c.expected) << "width " << c.width << " text '" << c.text << "'";
  }
}

TEST(TextRec, CharacterWidths) {
  const std::pair<int32_t, std::string> cases[] = {{0, ":"}, {1, ":"}, {3, "  :"}, {-2, ":"}};
  for (const auto& [width, expected] : cases) {
    CapturedStream s;
    Runtime::WRITE_TEXT_CHAR(s.rec, width, ':');
    Runtime::WRITE_END(s.rec);
    EXPECT_EQ(s.text, expected) << width;
  }
}

TEST(TextRec, StatementReachesTheDeviceWhenItEnds) {
  CapturedStream s;
  Runtime::WRITE_TEXT_SHORTSTR(s.rec, 0, make_shortstr("Asztal:"));
  EXPECT_EQ(s.text, "");  // still in the buffer
  Runtime::WRITELN_END(s.rec);
  EXPECT_EQ(s.text, "Asztal:\r\n");
  ASSERT_EQ(s.pieces.size(), 1u);
}

TEST(TextRec, LongStatementIsHandedOverAsFullBufferThenRest) {
  CapturedStream s;
  const std::string all = std::string(255, 'a') + std::string(45, 'b');  // 300 characters
  Runtime::WRITE_TEXT_SHORTSTR(s.rec, 0, make_shortstr(all.substr(0, 255)));
  Runtime::WRITE_TEXT_SHORTSTR(s.rec, 0, make_shortstr(all.substr(255)));
  Runtime::WRITE_END(s.rec);
  EXPECT_EQ(s.text, all);
  EXPECT_EQ(s.pieces, (std::vector<size_t>{256, 44}));
}

TEST(TextRec, ExactlyFullBufferWaitsForTheNextCharacter) {
  CapturedStream s;
  Runtime::WRITE_TEXT_SHORTSTR(s.rec, 256, make_shortstr(""));
  EXPECT_TRUE(s.pieces.empty());
  Runtime::WRITE_TEXT_CHAR(s.rec, 0, 'x');
  EXPECT_EQ(s.pieces, (std::vector<size_t>{256}));
  Runtime::WRITE_END(s.rec);
  EXPECT_EQ(s.pieces, (std::vector<size_t>{256, 1}));
}

TEST(TextRec, StreamNotOpenForOutputSetsThePendingResult) {
  struct Case {
    Runtime::FileMode mode;
    uint16_t text_result;
    uint16_t char_result;
  };
  const Case cases[] = {{Runtime::FileMode::Closed, 103, 103},
                        {Runtime::FileMode::Input, 105, 105}};
  for (const Case& c : cases) {
    CapturedStream s;
    s.rec.mode = c.mode;
    Runtime::WRITE_TEXT_SHORTSTR(s.rec, 0, make_shortstr("x"));
    EXPECT_EQ(Runtime::INOUTRES, c.text_result);
    Runtime::INOUTRES = 0;
    Runtime::WRITE_TEXT_CHAR(s.rec, 0, 'x');
    EXPECT_EQ(Runtime::INOUTRES, c.char_result);
    Runtime::INOUTRES = 0;
    Runtime::WRITELN_END(s.rec);
    EXPECT_EQ(Runtime::INOUTRES, c.text_result);
    Runtime::INOUTRES = 0;
    EXPECT_EQ(s.text, "");
  }
}

TEST(TextRec, PendingResultSuppressesEveryWrite) {
  CapturedStream s;
  Runtime::INOUTRES = 105;
  Runtime::WRITE_TEXT_SHORTSTR(s.rec, 4, make_shortstr("abc"));
  Runtime::WRITE_TEXT_CHAR(s.rec, 0, 'x');
  Runtime::WRITELN_END(s.rec);
  Runtime::WRITE_END(s.rec);
  EXPECT_EQ(s.text, "");
  EXPECT_EQ(Runtime::INOUTRES, 105);
  Runtime::INOUTRES = 0;
}

}  // namespace

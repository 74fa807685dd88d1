// The key decoder, through the console: terminal bytes in, the characters READKEY delivers out.
#include "keydecoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "charset.h"
#include "console.h"
#include "memscreen.h"

namespace {

KeyDecoder::Config utf8_config() {
  Charset::init_for("UTF-8");
  return {true, Charset::to_cp852};
}

// Feeds the chunks as separate reads. Between chunks nothing times out; after the last one no
// more bytes come, so a partial sequence is decoded as it stands.
std::vector<int> keys_of(const std::vector<std::string>& chunks,
                         const KeyDecoder::Config& config = utf8_config()) {
  MemScreen screen(10, 2);
  Console::start(screen);
  std::string pending;
  auto drain = [&](bool final) {
    while (!pending.empty()) {
      const auto* p = reinterpret_cast<const uint8_t*>(pending.data());
      const KeyDecoder::Result r = KeyDecoder::decode(p, pending.size(), final, config);
      if (r.consumed == 0) break;
      EXPECT_LE(r.consumed, pending.size());
      if (r.has_event) screen.type(r.event);
      pending.erase(0, r.consumed);
    }
  };
  for (const std::string& chunk : chunks) {
    pending += chunk;
    drain(false);
  }
  drain(true);
  EXPECT_TRUE(pending.empty()) << "every byte consumed";
  std::vector<int> got;
  while (Console::KEYPRESSED()) got.push_back(Console::READKEY());
  return got;
}

std::vector<int> keys_of(const std::string& bytes) {
  return keys_of(std::vector{bytes});
}

struct Case {
  const char* what;
  std::string bytes;
  std::vector<int> chars;
};

TEST(KeyDecoder, EveryFamilyOfKeys) {
  const Case cases[] = {
      // Plain characters and controls
      {"letters", "aZ5 ~", {'a', 'Z', '5', ' ', '~'}},
      {"Enter", "\r", {13}},
      {"Tab", "\t", {9}},
      {"Backspace as DEL and as BS", "\x7f\b", {8, 8}},
      {"Ctrl+A, Ctrl+Z, Ctrl+S, Ctrl+Q", "\x01\x1a\x13\x11", {1, 26, 19, 17}},
      {"Ctrl+Space", std::string(1, '\0'), {0, 3}},
      // Function keys: xterm SS3, VT220/xterm CSI ~, Linux console, rxvt
      {"F1-F4 SS3", "\x1bOP\x1bOQ\x1bOR\x1bOS", {0, 59, 0, 60, 0, 61, 0, 62}},
      {"F1-F4 CSI", "\x1b[P\x1b[Q\x1b[R\x1b[S", {0, 59, 0, 60, 0, 61, 0, 62}},
      {"F1-F5 CSI ~",
       "\x1b[11~\x1b[12~\x1b[13~\x1b[14~\x1b[15~",
       {0, 59, 0, 60, 0, 61, 0, 62, 0, 63}},
      {"F6-F10", "\x1b[17~\x1b[18~\x1b[19~\x1b[20~\x1b[21~", {0, 64, 0, 65, 0, 66, 0, 67, 0, 68}},
      {"F11, F12", "\x1b[23~\x1b[24~", {0, 133, 0, 134}},
      {"Linux console F1-F5",
       "\x1b[[A\x1b[[B\x1b[[C\x1b[[D\x1b[[E",
       {0, 59, 0, 60, 0, 61, 0, 62, 0, 63}},
      {"Shift+F1 xterm", "\x1b[1;2P", {0, 84}},
      {"Shift+F5, Shift+F10 xterm", "\x1b[15;2~\x1b[21;2~", {0, 88, 0, 93}},
      {"Shift+F3 as F13, Shift+F10 as F20", "\x1b[25~\x1b[34~", {0, 86, 0, 93}},
      {"Shift+F5 rxvt", "\x1b[15$", {0, 88}},
      {"Ctrl+F1 xterm, Ctrl+F10 rxvt", "\x1b[1;5P\x1b[21^", {0, 94, 0, 103}},
      {"Alt+F1 xterm, Alt+F10", "\x1b[1;3P\x1b[21;3~", {0, 104, 0, 113}},
      {"Alt+F1 rxvt (ESC prefix)", "\x1b\x1b[11~", {0, 104}},
      {"Shift+F12, Ctrl+F11", "\x1b[24;2~\x1b[23;5~", {0, 136, 0, 137}},
      {"F1 old xterm with modifier in SS3", "\x1bO2P", {0, 84}},
      // Cursor and editing keys
      {"arrows CSI", "\x1b[A\x1b[B\x1b[C\x1b[D", {0, 72, 0, 80, 0, 77, 0, 75}},
      {"arrows SS3", "\x1bOA\x1bOB\x1bOC\x1bOD", {0, 72, 0, 80, 0, 77, 0, 75}},
      {"Home, End: CSI, SS3, ~ (1 4 7 8)",
       "\x1b[H\x1b[F\x1bOH\x1bOF\x1b[1~\x1b[4~\x1b[7~\x1b[8~",
       {0, 71, 0, 79, 0, 71, 0, 79, 0, 71, 0, 79, 0, 71, 0, 79}},
      {"Insert, Delete, PageUp, PageDown",
       "\x1b[2~\x1b[3~\x1b[5~\x1b[6~",
       {0, 82, 0, 83, 0, 73, 0, 81}},
      {"Ctrl+Right xterm, rxvt", "\x1b[1;5C\x1bOc", {0, 116, 0, 116}},
      {"Shift+Up xterm, rxvt", "\x1b[1;2A\x1b[a", {0, 72, 0, 72}},
      {"Alt+Up", "\x1b[1;3A", {0, 152}},
      {"Ctrl+Delete", "\x1b[3;5~", {0, 147}},
      {"Shift+Tab", "\x1b[Z", {0, 15}},
      {"keypad Enter and digits, application mode",
       "\x1bOM\x1bOp\x1bOy\x1bOk",
       {0, 28, '0', '9', '+'}},
      // Alt with a key: ESC prefix
      {"Alt+A, Alt+z",
       "\x1b"
       "a\x1bz",
       {0, 30, 0, 44}},
      {"Alt+1",
       "\x1b"
       "1",
       {0, 2}},
      {"Alt+Enter", "\x1b\r", {0, 28}},
      // Esc
      {"lone Esc at the end", "\x1b", {27}},
      {"two Escs", "\x1b\x1b", {27, 27}},
      {"Esc then a letter is Alt", "\x1bq", {0, 16}},
      // UTF-8 into code page 852
      {"a acute, e acute, u acute", "\xc3\xa1\xc3\xa9\xc3\xba", {0xA0, 0x82, 0xA3}},
      {"o double acute, z caron", "\xc5\x91\xc5\xbe", {0x8B, 0xA7}},
      {"no code page 852 character", "\xe2\x82\xac", {'?'}},
      {"four-byte character", "\xf0\x9f\x83\x8f", {'?'}},
      // Unknown sequences and garbage
      {"unknown CSI ~ number", "\x1b[99~", {0, 255}},
      {"unknown CSI final", "\x1b[5n", {0, 255}},
      {"CSI with intermediates", "\x1b[1 q", {0, 255}},
      {"focus in and out give no key", "\x1b[I\x1b[Ox", {'x'}},
      {"broken-off CSI, then a key", "\x1b[12\rz", {0, 255, 13, 'z'}},
      {"partial CSI at the end", "\x1b[1;", {0, 255}},
      {"stray continuation bytes", "\x80\xbfk", {'k'}},
      {"invalid UTF-8 leads", "\xc0\xc1\xf5\xffk", {'k'}},
      {"overlong and surrogate forms", "\xe0\x80\x80\xed\xa0\x80k", {'k'}},
      {"truncated UTF-8 then a key", "\xc3z", {'z'}},
      {"truncated UTF-8 at the end", "\xe2\x82", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(keys_of(c.bytes), c.chars) << c.what;
}

TEST(KeyDecoder, SplitAcrossReads) {
  struct SplitCase {
    const char* what;
    std::vector<std::string> chunks;
    std::vector<int> chars;
  };
  const SplitCase cases[] = {
      {"ESC, then the rest of an arrow before the time-out", {"\x1b", "[", "A"}, {0, 72}},
      {"F5 byte by byte", {"\x1b", "[", "1", "5", "~"}, {0, 63}},
      {"UTF-8 split", {"\xc3", "\xa1"}, {0xA0}},
      {"key typed ahead after a sequence", {"\x1b[B", "q\x1b[C"}, {0, 80, 'q', 0, 77}},
  };
  for (const SplitCase& c : cases) EXPECT_EQ(keys_of(c.chunks), c.chars) << c.what;
}

TEST(KeyDecoder, LoneEscAfterTheTimeOutIsTheEscKey) {
  // The time-out passed after ESC: it is decoded as it stands, before "[A" arrives.
  const KeyDecoder::Config config = utf8_config();
  const uint8_t esc[] = {0x1b};
  EXPECT_EQ(KeyDecoder::decode(esc, 1, false, config).consumed, 0u) << "waits for more";
  const KeyDecoder::Result r = KeyDecoder::decode(esc, 1, true, config);
  EXPECT_EQ(r.consumed, 1u);
  EXPECT_EQ(r.event.ch, 27);
  EXPECT_EQ(keys_of(std::vector<std::string>{"[A"}), (std::vector<int>{'[', 'A'}));
}

TEST(KeyDecoder, SingleByteLocale) {
  Charset::init_for("ISO-8859-2");
  const KeyDecoder::Config config{false, Charset::to_cp852};
  // ISO-8859-2: 0xE1 a acute, 0xF5 o double acute.
  EXPECT_EQ(keys_of(std::vector<std::string>{"\xe1\xf5x"}, config),
            (std::vector<int>{0xA0, 0x8B, 'x'}));
  Charset::init_for("UTF-8");
}

TEST(KeyDecoder, OverlongSequenceIsConsumedAsOneUnknownKey) {
  const std::string long_csi = "\x1b[" + std::string(100, '1') + "~";
  const std::vector<int> got = keys_of(long_csi);
  ASSERT_GE(got.size(), 2u);
  EXPECT_EQ(got[0], 0);
  EXPECT_EQ(got[1], 255);
  EXPECT_LE(got.size(), long_csi.size());
}

}  // namespace

#include "keydecoder.h"

#include <array>

namespace KeyDecoder {
namespace {

using Console::InputEvent;

// ==== Key tables =============================================================================

struct Key {
  uint8_t scan;
  uint16_t vk;
  bool enhanced;
  uint8_t ch = 0;
};

constexpr Key kUp{72, 0x26, true}, kDown{80, 0x28, true}, kRight{77, 0x27, true},
    kLeft{75, 0x25, true}, kHome{71, 0x24, true}, kEnd{79, 0x23, true}, kPgUp{73, 0x21, true},
    kPgDn{81, 0x22, true}, kIns{82, 0x2D, true}, kDel{83, 0x2E, true}, kCentre{76, 0x0C, false};
constexpr Key kF[13] = {{0, 0, false},     {59, 0x70, false}, {60, 0x71, false}, {61, 0x72, false},
                        {62, 0x73, false}, {63, 0x74, false}, {64, 0x75, false}, {65, 0x76, false},
                        {66, 0x77, false}, {67, 0x78, false}, {68, 0x79, false}, {87, 0x7A, false},
                        {88, 0x7B, false}};
constexpr Key kKeypadEnter{28, 0x0D, true, 13};
constexpr Key kShiftTab{15, 0x09, false, 9};
constexpr Key kUnknown{kUnknownSequenceCode, 0, false};

// Final byte of CSI and SS3 forms: arrows, Home/End, the keypad centre and F1-F4.
struct FinalKey {
  char final;
  Key key;
};
constexpr FinalKey kLetterFinals[] = {{'A', kUp},   {'B', kDown}, {'C', kRight},  {'D', kLeft},
                                      {'H', kHome}, {'F', kEnd},  {'E', kCentre}, {'P', kF[1]},
                                      {'Q', kF[2]}, {'R', kF[3]}, {'S', kF[4]}};
// rxvt: CSI a-d is Shift with an arrow, SS3 a-d Ctrl with an arrow.
constexpr Key kArrowsAtoD[] = {kUp, kDown, kRight, kLeft};

// CSI n ~ (VT220, xterm, rxvt, the Linux console, tmux and screen).
struct TildeKey {
  int number;
  Key key;
  uint8_t mods;
};
constexpr TildeKey kTildeKeys[] = {
    {1, kHome, 0},
    {2, kIns, 0},
    {3, kDel, 0},
    {4, kEnd, 0},
    {5, kPgUp, 0},
    {6, kPgDn, 0},
    {7, kHome, 0},
    {8, kEnd, 0},
    {11, kF[1], 0},
    {12, kF[2], 0},
    {13, kF[3], 0},
    {14, kF[4], 0},
    {15, kF[5], 0},
    {17, kF[6], 0},
    {18, kF[7], 0},
    {19, kF[8], 0},
    {20, kF[9], 0},
    {21, kF[10], 0},
    {23, kF[11], 0},
    {24, kF[12], 0},
    // F13-F20 of a VT220 keyboard, which terminals send for Shift+F3 to Shift+F10
    {25, kF[3], Console::kShift},
    {26, kF[4], Console::kShift},
    {28, kF[5], Console::kShift},
    {29, kF[6], Console::kShift},
    {31, kF[7], Console::kShift},
    {32, kF[8], Console::kShift},
    {33, kF[9], Console::kShift},
    {34, kF[10], Console::kShift}};

// SS3 forms of the application keypad that stand for characters.
constexpr char kKeypadChars[] = "j*k+l,m-n.o/p0q1r2s3t4u5v6w7x8y9X=";

// PC scan codes of the US layout for the printable ASCII characters.
constexpr std::array<uint8_t, 128> make_scan_table() {
  std::array<uint8_t, 128> t{};
  struct Row {
    const char* keys;
    uint8_t first;
  };
  constexpr Row rows[] = {{"1234567890-=", 2},  {"!@#$%^&*()_+", 2},  {"qwertyuiop[]", 16},
                          {"QWERTYUIOP{}", 16}, {"asdfghjkl;'`", 30}, {"ASDFGHJKL:\"~", 30},
                          {"\\zxcvbnm,./", 43}, {"|ZXCVBNM<>?", 43}};
  for (const Row& r : rows) {
    for (uint8_t i = 0; r.keys[i] != '\0'; ++i) {
      t[static_cast<uint8_t>(r.keys[i])] = static_cast<uint8_t>(r.first + i);
    }
  }
  t[' '] = 57;
  return t;
}
constexpr std::array<uint8_t, 128> kScanOf = make_scan_table();

// ==== Building results =======================================================================

Result key_event(size_t consumed, const Key& k, uint8_t mods) {
  Result r;
  r.consumed = consumed;
  r.has_event = true;
  r.event.vk = k.vk;
  r.event.scan = k.scan;
  r.event.enhanced = k.enhanced;
  r.event.ch = k.ch;
  r.event.mods = mods;
  return r;
}

Result char_event(size_t consumed, uint8_t ch, uint8_t scan, uint16_t vk, uint8_t mods) {
  return key_event(consumed, Key{scan, vk, false, ch}, mods);
}

Result nothing(size_t consumed) {
  Result r;
  r.consumed = consumed;
  return r;
}

Result need_more() {
  return Result{};
}

// xterm's modifier parameter: 1 + (1 Shift, 2 Alt, 4 Ctrl).
uint8_t mods_from_param(int p) {
  if (p < 2) return 0;
  const int bits = p - 1;
  uint8_t m = 0;
  if (bits & 1) m |= Console::kShift;
  if (bits & 2) m |= Console::kLeftAlt;
  if (bits & 4) m |= Console::kCtrl;
  return m;
}

// ==== Single characters ======================================================================

Result decode_control(uint8_t b) {
  switch (b) {
    case 0x00:
      return char_event(1, 0, 3, '2', Console::kCtrl);  // Ctrl+Space, Ctrl+@
    case 0x08:
    case 0x7F:
      return char_event(1, 8, 14, 0x08, 0);  // Backspace
    case 0x09:
      return char_event(1, 9, 15, 0x09, 0);
    case 0x0A:
      return char_event(1, 10, 28, 0x0D, Console::kCtrl);
    case 0x0D:
      return char_event(1, 13, 28, 0x0D, 0);
    case 0x1B:
      return char_event(1, 27, 1, 0x1B, 0);
    case 0x1C:
      return char_event(1, b, 43, 0xDC, Console::kCtrl);
    case 0x1D:
      return char_event(1, b, 27, 0xDD, Console::kCtrl);
    case 0x1E:
      return char_event(1, b, 7, '6', Console::kCtrl);
    case 0x1F:
      return char_event(1, b, 12, 0xBD, Console::kCtrl);
    default: {  // Ctrl+A .. Ctrl+Z
      const uint8_t letter = static_cast<uint8_t>('a' + b - 1);
      return char_event(1, b, kScanOf[letter], static_cast<uint16_t>('A' + b - 1), Console::kCtrl);
    }
  }
}

// Length of the UTF-8 sequence that starts with `lead`, 0 for a byte that cannot start one.
size_t utf8_length(uint8_t lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

bool utf8_continuation_ok(const uint8_t* b, size_t i) {
  const uint8_t c = b[i];
  if (i == 1) {
    if (b[0] == 0xE0) return c >= 0xA0 && c <= 0xBF;  // no overlong forms
    if (b[0] == 0xED) return c >= 0x80 && c <= 0x9F;  // no surrogates
    if (b[0] == 0xF0) return c >= 0x90 && c <= 0xBF;
    if (b[0] == 0xF4) return c >= 0x80 && c <= 0x8F;  // nothing past U+10FFFF
  }
  return c >= 0x80 && c <= 0xBF;
}

Result converted_char(size_t consumed, const uint8_t* b, size_t len, const Config& config) {
  const int c = config.to_cp852 != nullptr ? config.to_cp852(b, len) : -1;
  return char_event(consumed, c < 0 ? '?' : static_cast<uint8_t>(c), 0, 0, 0);
}

// One character that is not an escape sequence.
Result decode_char(const uint8_t* b, size_t n, bool final, const Config& config) {
  const uint8_t b0 = b[0];
  if (b0 < 0x20 || b0 == 0x7F) return decode_control(b0);
  if (b0 < 0x80) return char_event(1, b0, kScanOf[b0], 0, 0);
  if (!config.utf8) return converted_char(1, b, 1, config);
  const size_t len = utf8_length(b0);
  if (len == 0) return nothing(1);  // a stray continuation or a byte no sequence starts with
  for (size_t i = 1; i < len; ++i) {
    if (i >= n) return final ? nothing(1) : need_more();
    if (!utf8_continuation_ok(b, i)) return nothing(1);
  }
  return converted_char(len, b, len, config);
}

// ==== Escape sequences =======================================================================

struct Params {
  int values[4] = {0, 0, 0, 0};
  int count = 0;
  bool ok = true;  // only digits and ';'
};

Params parse_params(const uint8_t* p, size_t n) {
  Params r;
  if (n == 0) return r;
  r.count = 1;
  for (size_t i = 0; i < n; ++i) {
    if (p[i] == ';') {
      if (r.count == 4) {
        r.ok = false;
        return r;
      }
      ++r.count;
    } else if (p[i] >= '0' && p[i] <= '9') {
      int& v = r.values[r.count - 1];
      if (v < 10000) v = v * 10 + (p[i] - '0');
    } else {
      r.ok = false;
    }
  }
  return r;
}

Result decode_tilde(size_t consumed, const Params& p, uint8_t extra_mods) {
  if (!p.ok || p.count == 0) return key_event(consumed, kUnknown, 0);
  for (const TildeKey& t : kTildeKeys) {
    if (t.number == p.values[0]) {
      return key_event(consumed, t.key, t.mods | extra_mods | mods_from_param(p.values[1]));
    }
  }
  return key_event(consumed, kUnknown, 0);
}

Result decode_letter_final(size_t consumed, uint8_t final, uint8_t mods) {
  for (const FinalKey& f : kLetterFinals) {
    if (f.final == final) return key_event(consumed, f.key, mods);
  }
  return key_event(consumed, kUnknown, 0);
}

// ESC [ ... : parameters, intermediates, one final byte.
Result decode_csi(const uint8_t* b, size_t n, bool final) {
  size_t i = 2;
  if (n > 2 && b[2] == '[') {  // Linux console F1-F5: ESC [ [ A .. E
    if (n < 4) return final ? key_event(n, kUnknown, 0) : need_more();
    if (b[3] >= 'A' && b[3] <= 'E') return key_event(4, kF[b[3] - 'A' + 1], 0);
    return key_event(4, kUnknown, 0);
  }
  while (i < n && b[i] >= 0x30 && b[i] <= 0x3F) ++i;
  const size_t params_end = i;
  while (i < n && b[i] >= 0x20 && b[i] <= 0x2F && b[i] != '$') ++i;
  if (i >= n || i >= kMaxSequence) {
    if (i >= kMaxSequence) return key_event(kMaxSequence, kUnknown, 0);
    return final ? key_event(n, kUnknown, 0) : need_more();
  }
  const uint8_t f = b[i];
  if (f != '$' && (f < 0x40 || f > 0x7E)) return key_event(i, kUnknown, 0);  // broken off
  const size_t consumed = i + 1;
  if (params_end != i) return key_event(consumed, kUnknown, 0);  // intermediates: not a key
  const Params p = parse_params(b + 2, params_end - 2);
  switch (f) {
    case '~':
      return decode_tilde(consumed, p, 0);
    case '$':
      return decode_tilde(consumed, p, Console::kShift);
    case '^':
      return decode_tilde(consumed, p, Console::kCtrl);
    case '@':
      return decode_tilde(consumed, p, Console::kCtrl | Console::kShift);
    case 'Z':
      return key_event(consumed, kShiftTab, Console::kShift);
    case 'I':
    case 'O':
      if (p.count == 0) {  // focus in and out
        Result r = nothing(consumed);
        r.has_event = true;
        r.event.kind = InputEvent::Kind::Focus;
        return r;
      }
      return key_event(consumed, kUnknown, 0);
    default:
      break;
  }
  if (!p.ok) return key_event(consumed, kUnknown, 0);
  if (f >= 'a' && f <= 'd') return key_event(consumed, kArrowsAtoD[f - 'a'], Console::kShift);
  return decode_letter_final(consumed, f, mods_from_param(p.count >= 2 ? p.values[1] : 0));
}

// ESC O ... : an optional modifier parameter and one final byte.
Result decode_ss3(const uint8_t* b, size_t n, bool final) {
  size_t i = 2;
  while (i < n && i < kMaxSequence && ((b[i] >= '0' && b[i] <= '9') || b[i] == ';')) ++i;
  if (i >= kMaxSequence) return key_event(kMaxSequence, kUnknown, 0);
  if (i >= n) return final ? key_event(n, kUnknown, 0) : need_more();
  const uint8_t f = b[i];
  if (f < 0x40 || f > 0x7E) return key_event(i, kUnknown, 0);
  const size_t consumed = i + 1;
  const Params p = parse_params(b + 2, i - 2);
  if (!p.ok) return key_event(consumed, kUnknown, 0);
  if (f == 'M') return key_event(consumed, kKeypadEnter, 0);
  if (f >= 'a' && f <= 'd') return key_event(consumed, kArrowsAtoD[f - 'a'], Console::kCtrl);
  for (size_t k = 0; kKeypadChars[k] != '\0'; k += 2) {
    if (kKeypadChars[k] == f) {
      const auto c = static_cast<uint8_t>(kKeypadChars[k + 1]);
      return char_event(consumed, c, kScanOf[c], 0, 0);
    }
  }
  const int mod_param = p.count >= 2 ? p.values[1] : p.values[0];
  return decode_letter_final(consumed, f, mods_from_param(mod_param));
}

Result with_alt(Result r) {
  ++r.consumed;
  // Alt with a character that has no scan code (a letter outside US ASCII) gives the character.
  if (r.has_event && r.event.kind == InputEvent::Kind::Key &&
      (r.event.scan != 0 || r.event.ch == 0)) {
    r.event.mods |= Console::kLeftAlt;
  }
  return r;
}

Result decode_escape(const uint8_t* b, size_t n, bool final, const Config& config) {
  const Result esc = decode_control(0x1B);
  if (n == 1) return final ? esc : need_more();
  const uint8_t b1 = b[1];
  if (b1 == '[' || b1 == 'O') {
    if (n == 2) {
      if (!final) return need_more();
      return with_alt(char_event(1, b1, kScanOf[b1], 0, 0));  // Alt+[ or Alt+O
    }
    return b1 == '[' ? decode_csi(b, n, final) : decode_ss3(b, n, final);
  }
  if (b1 == 0x1B) {
    // ESC ESC [ ... and ESC ESC O ...: rxvt's Alt with a special key. Two Escs otherwise.
    if (n == 2) return final ? esc : need_more();
    if (b[2] == '[' || b[2] == 'O') {
      const Result inner = decode_escape(b + 1, n - 1, final, config);
      return inner.consumed == 0 ? inner : with_alt(inner);
    }
    return esc;
  }
  const Result inner = decode_char(b + 1, n - 1, final, config);
  if (inner.consumed == 0) return inner;
  if (!inner.has_event) return esc;  // ESC and a byte that forms nothing: the Esc key alone
  return with_alt(inner);
}

}  // namespace

Result decode(const uint8_t* bytes, size_t n, bool final, const Config& config) {
  if (n == 0) return need_more();
  if (bytes[0] == 0x1B) return decode_escape(bytes, n, final, config);
  return decode_char(bytes, n, final, config);
}

}  // namespace KeyDecoder

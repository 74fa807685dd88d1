#include "console.h"

#include <unistd.h>

#include "terminal.h"

namespace Console {

uint32_t WINDMINX = 1, WINDMINY = 1, WINDMAXX = 1, WINDMAXY = 1;
uint8_t TEXTATTR = 0;
uint32_t CURRX = 1, CURRY = 1;
uint8_t SCANCODE = 0;
bool SPECIALKEY = false;

namespace {

Platform* g_platform = nullptr;

// Alt held with keypad digits: the digits gathered so far.
bool g_alt_number_active = false;
uint32_t g_alt_number = 0;

constexpr uint8_t kBell = 7, kBackspace = 8, kLineFeed = 10, kCarriageReturn = 13;

bool is_control(uint8_t c) {
  return c == kBell || c == kBackspace || c == kLineFeed || c == kCarriageReturn;
}

// ==== Key codes ==============================================================================

constexpr uint8_t kScanF1 = 59, kScanF10 = 68, kScanF11 = 87, kScanF12 = 88;
constexpr uint8_t kScanHome = 71, kScanDel = 83;
constexpr uint8_t kScanTab = 15;

bool is_modifier_key(uint16_t vk) {
  return vk == kVkShift || vk == kVkControl || vk == kVkMenu || vk == kVkCapital ||
         vk == kVkNumLock || vk == kVkScroll;
}

// The code a special key delivers after its 0: the scan code, changed for function keys and the
// keypad and cursor keys by the Alt, Ctrl or Shift key held (Alt first, then Ctrl, then Shift).
uint8_t special_code(const InputEvent& e) {
  const bool alt = e.mods & (kLeftAlt | kRightAlt);
  const bool ctrl = e.mods & kCtrl;
  const bool shift = e.mods & kShift;
  const uint8_t s = e.scan;
  if (s >= kScanF1 && s <= kScanF10) {
    if (alt) return static_cast<uint8_t>(s + 45);    // 104..113
    if (ctrl) return static_cast<uint8_t>(s + 35);   // 94..103
    if (shift) return static_cast<uint8_t>(s + 25);  // 84..93
    return s;
  }
  if (s == kScanF11 || s == kScanF12) {
    const uint8_t i = static_cast<uint8_t>(s - kScanF11);
    if (alt) return static_cast<uint8_t>(139 + i);
    if (ctrl) return static_cast<uint8_t>(137 + i);
    if (shift) return static_cast<uint8_t>(135 + i);
    return static_cast<uint8_t>(133 + i);
  }
  if (s >= kScanHome && s <= kScanDel && (alt || ctrl)) {
    // Home Up PgUp - Left Centre Right + End Down PgDn Ins Del
    static constexpr uint8_t kCtrl[] = {119, 141, 132, 142, 115, 143, 116,
                                        144, 117, 145, 118, 146, 147};
    static constexpr uint8_t kAlt[] = {151, 152, 153, 74,  155, 76, 157,
                                       78,  159, 160, 161, 162, 163};
    return (alt ? kAlt : kCtrl)[s - kScanHome];
  }
  return s;
}

// Keypad digits by scan code, as they arrive with Num Lock on or off; -1 for other keys.
int keypad_digit(const InputEvent& e) {
  if (e.enhanced) return -1;
  if (e.vk >= 0x60 && e.vk <= 0x69) return e.vk - 0x60;
  switch (e.scan) {
    case 82:
      return 0;
    case 79:
      return 1;
    case 80:
      return 2;
    case 81:
      return 3;
    case 75:
      return 4;
    case 76:
      return 5;
    case 77:
      return 6;
    case 71:
      return 7;
    case 72:
      return 8;
    case 73:
      return 9;
    default:
      return -1;
  }
}

void set_waiting_key(bool special, uint8_t code) {
  SPECIALKEY = special;
  SCANCODE = code;
}

// Turns one input event into the waiting key; false when the event gives no key.
bool take_event(const InputEvent& e) {
  if (e.kind != InputEvent::Kind::Key) return false;
  if (!e.down) {
    if (e.vk != kVkMenu || !g_alt_number_active) return false;
    g_alt_number_active = false;
    const uint8_t number = static_cast<uint8_t>(g_alt_number % 256);
    if (number == 0) return false;
    set_waiting_key(false, number);
    return true;
  }
  if (is_modifier_key(e.vk)) return false;
  if (e.mods & (kLeftAlt | kRightAlt)) {
    if (const int digit = keypad_digit(e); digit >= 0) {
      if (!g_alt_number_active) g_alt_number = 0;
      g_alt_number_active = true;
      g_alt_number = g_alt_number * 10 + static_cast<uint32_t>(digit);
      return false;
    }
  }
  if (e.ch == 0 || e.enhanced || (e.mods & kLeftAlt)) {
    set_waiting_key(true, special_code(e));
  } else if (e.ch == '\t' && (e.mods & kShift)) {
    set_waiting_key(true, kScanTab);
  } else {
    set_waiting_key(false, e.ch);
  }
  return true;
}

}  // namespace

// ==== Start-up ===============================================================================

void start(Platform& platform) {
  g_platform = &platform;
  const ScreenInfo s = platform.screen_info();
  WINDMINX = s.left;
  WINDMINY = s.top;
  WINDMAXX = s.right;
  WINDMAXY = s.bottom;
  TEXTATTR = s.attr;
  SCANCODE = 0;
  SPECIALKEY = false;
  g_alt_number_active = false;
  Runtime::bind_text(Runtime::TEXT_OUTPUT, Runtime::FileMode::Output, STDOUT_FILENO, console_writer,
                     console_writer);
  Runtime::IOCHECK();
  Runtime::bind_text(Runtime::KEYBOARD_INPUT, Runtime::FileMode::Input, STDIN_FILENO, nullptr,
                     nullptr);
  Runtime::IOCHECK();
}

void stop() {
  if (g_platform != nullptr) g_platform->shutdown();
}

// ==== Screen =================================================================================

void GOTOXY(uint8_t x, uint8_t y) {
  if (x == 0 || y == 0) return;
  if (x > WINDMAXX - WINDMINX + 1 || y > WINDMAXY - WINDMINY + 1) return;
  g_platform->set_cursor(WINDMINX + x - 1, WINDMINY + y - 1);
}

void CLRSCR() {
  g_platform->fill_rect(WINDMINX, WINDMINY, WINDMAXX, WINDMAXY, TEXTATTR);
  GOTOXY(1, 1);
}

void REMOVELINE() {
  g_platform->scroll_up(WINDMINX, WINDMINY, WINDMAXX, WINDMAXY, TEXTATTR);
}

void WRITESTR(const char* chars, uint32_t n) {
  g_platform->write_run(CURRX, CURRY, chars, n, TEXTATTR);
  CURRX += n;
}

void WRITECHAR(uint8_t c) {
  switch (c) {
    case kBell:
      break;
    case kBackspace:
      if (CURRX > WINDMINX) --CURRX;
      break;
    case kLineFeed:
      ++CURRY;
      break;
    case kCarriageReturn:
      CURRX = WINDMINX;
      break;
    default:
      break;
  }
  if (CURRX > WINDMAXX) {
    CURRX = WINDMINX;
    ++CURRY;
  }
  while (CURRY > WINDMAXY) {
    REMOVELINE();
    --CURRY;
  }
}

uint16_t console_writer(Runtime::TEXTREC& t) {
  g_platform->get_cursor(CURRX, CURRY);
  uint32_t run_start = 0;
  for (uint32_t i = 0; i < t.bufpos; ++i) {
    const auto c = static_cast<uint8_t>(t.buf[i]);
    if (!is_control(c)) continue;
    if (i > run_start) WRITESTR(t.buf + run_start, i - run_start);
    WRITECHAR(c);
    run_start = i + 1;
  }
  if (t.bufpos > run_start) WRITESTR(t.buf + run_start, t.bufpos - run_start);
  g_platform->set_cursor(CURRX, CURRY);
  t.bufpos = 0;
  return 0;
}

// ==== Keyboard ===============================================================================

bool KEYPRESSED() {
  if (SCANCODE != 0) return true;
  InputEvent e;
  while (g_platform->read_event(e)) {
    if (take_event(e)) return true;
  }
  return false;
}

uint8_t READKEY() {
  while (!KEYPRESSED()) g_platform->wait_for_input();
  if (SPECIALKEY) {
    SPECIALKEY = false;
    return 0;
  }
  const uint8_t c = SCANCODE;
  SCANCODE = 0;
  return c;
}

void DELAY(uint16_t ms) {
  g_platform->sleep_ms(ms);
}

const Runtime::Module kModule = {"console", [] { start(Terminal::platform()); }, stop};

}  // namespace Console

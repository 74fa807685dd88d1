#include "terminal.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string_view>

#include "charset.h"
#include "keydecoder.h"
#include "system.h"

namespace Terminal {
namespace {

// ==== Escape sequences sent to the terminal ==================================================
// Nothing else is sent: no colours, no alternate screen, no modes that would need undoing.
constexpr std::string_view kCursorHome = "\x1b[H";    // cursor to row 1, column 1
constexpr std::string_view kClearScreen = "\x1b[2J";  // blank the whole screen
// With numbers: "\x1b[<row>;<col>H" cursor position. Scrolling is the terminal's own line feed
// on the bottom row. The window this platform reports is always the whole screen, so nothing
// narrower is ever cleared or scrolled.

// A key wait ends at once when standard input has ended; the key it takes is Ctrl+Z, the old
// end-of-input character.
constexpr uint8_t kEndOfInputKey = 26;
constexpr int kLoneEscMs = 50;

// ==== Terminal settings: taken at start, given back on every way out =========================

struct SavedTty {
  int fd = -1;
  termios original{};
  termios program{};
};

SavedTty g_ttys[2];
int g_tty_count = 0;
volatile sig_atomic_t g_program_mode = 0;  // the program's settings are in force
volatile sig_atomic_t g_cursor_lost = 0;   // something else drew on the screen meanwhile

void apply_program_mode() {
  for (int i = 0; i < g_tty_count; ++i) tcsetattr(g_ttys[i].fd, TCSANOW, &g_ttys[i].program);
  g_program_mode = 1;
}

void restore_settings() {
  if (!g_program_mode) return;
  for (int i = g_tty_count - 1; i >= 0; --i) {
    tcsetattr(g_ttys[i].fd, TCSANOW, &g_ttys[i].original);
  }
  g_program_mode = 0;
}

bool same_device(int a, int b) {
  struct stat sa, sb;
  return fstat(a, &sa) == 0 && fstat(b, &sb) == 0 && sa.st_rdev == sb.st_rdev;
}

// Keys one at a time without echo; Enter arrives as 13 and Ctrl+S/Ctrl+Q as keys; Ctrl+C still
// interrupts. Output: no post-processing, so a line feed keeps the column.
void take_settings(bool input_tty, bool screen_output) {
  auto add = [](int fd) -> SavedTty* {
    SavedTty& t = g_ttys[g_tty_count];
    if (tcgetattr(fd, &t.original) != 0) return nullptr;
    t.fd = fd;
    t.program = t.original;
    ++g_tty_count;
    return &t;
  };
  SavedTty* in = input_tty ? add(STDIN_FILENO) : nullptr;
  if (in != nullptr) {
    in->program.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
    in->program.c_iflag &= ~static_cast<tcflag_t>(ICRNL | IXON);
    in->program.c_cc[VMIN] = 1;
    in->program.c_cc[VTIME] = 0;
  }
  if (screen_output) {
    SavedTty* out =
        (in != nullptr && same_device(STDIN_FILENO, STDOUT_FILENO)) ? in : add(STDOUT_FILENO);
    if (out != nullptr) out->program.c_oflag &= ~static_cast<tcflag_t>(OPOST);
  }
  apply_program_mode();
}

// ==== Signals ================================================================================

void set_handler(int sig, void (*handler)(int)) {
  struct sigaction sa {};
  sa.sa_handler = handler;
  sigemptyset(&sa.sa_mask);
  sigaction(sig, &sa, nullptr);
}

void raise_default(int sig) {
  set_handler(sig, SIG_DFL);
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, sig);
  sigprocmask(SIG_UNBLOCK, &set, nullptr);
  raise(sig);
}

// Ending signals: settings back, then the signal's own default action, so the exit status
// still tells the signal.
void on_ending_signal(int sig) {
  const int saved_errno = errno;
  restore_settings();
  raise_default(sig);
  errno = saved_errno;
}

void on_stop_signal(int sig);

void on_continue(int) {
  const int saved_errno = errno;
  if (!g_program_mode) apply_program_mode();
  g_cursor_lost = 1;
  errno = saved_errno;
}

// Ctrl+Z: the shell gets the terminal as it was; on continuing, the program's settings return.
void on_stop_signal(int sig) {
  const int saved_errno = errno;
  restore_settings();
  raise_default(sig);  // stops here until SIGCONT
  set_handler(sig, on_stop_signal);
  apply_program_mode();
  g_cursor_lost = 1;
  errno = saved_errno;
}

void install_signal_handlers() {
  static constexpr int kEnding[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE};
  for (int sig : kEnding) {
    struct sigaction old {};
    sigaction(sig, nullptr, &old);
    if (old.sa_handler == SIG_IGN) continue;  // an ignored signal stays ignored
    set_handler(sig, on_ending_signal);
  }
  set_handler(SIGTSTP, on_stop_signal);
  set_handler(SIGCONT, on_continue);
}

// ==== The platform ===========================================================================

class Term final : public Console::Platform {
 public:
  Term() {
    Charset::init_from_locale();
    decoder_config_.utf8 = Charset::is_utf8();
    decoder_config_.to_cp852 = Charset::to_cp852;

    const bool input_tty = isatty(STDIN_FILENO);
    const char* term = std::getenv("TERM");
    const bool dumb = term == nullptr || *term == '\0' || std::strcmp(term, "dumb") == 0;
    screen_ = isatty(STDOUT_FILENO) && !dumb;
    if (screen_) {
      winsize ws{};
      if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &ws) == 0 && ws.ws_col > 0 && ws.ws_row > 0) {
        cols_ = ws.ws_col;
        rows_ = ws.ws_row;
      }
    } else {
      cols_ = kTranscriptColumns;
    }
    if (input_tty || screen_) {
      take_settings(input_tty, screen_);
      install_signal_handlers();
    }
  }

  Console::ScreenInfo screen_info() override {
    return {1, 1, cols_, rows_, kDefaultAttr, want_x_, want_y_};
  }

  void get_cursor(uint32_t& x, uint32_t& y) override {
    x = want_x_;
    y = want_y_;
  }

  void set_cursor(uint32_t x, uint32_t y) override {
    want_x_ = x;
    want_y_ = y;
    if (!screen_) transcript_newlines_to(y);
    done_call();
  }

  void fill_rect(uint32_t, uint32_t top, uint32_t, uint32_t, uint8_t) override {
    if (!screen_) {
      // A new page in a transcript is a form feed; none before the first text.
      if (wrote_any_) append("\f");
      line_ = top;
    } else {
      append(kCursorHome);
      append(kClearScreen);
      at_x_ = at_y_ = 1;
      cursor_known_ = true;
    }
    done_call();
  }

  void write_run(uint32_t x, uint32_t y, const char* chars, uint32_t n, uint8_t) override {
    if (!screen_) {
      transcript_newlines_to(y);
      append_converted(chars, n);
    } else if (x <= cols_ && y <= rows_) {
      // Nothing goes outside the screen: a run is cut at the right edge.
      const uint32_t fit = n < cols_ - x + 1 ? n : cols_ - x + 1;
      move_to(x, y);
      append_converted(chars, fit);
      at_x_ = x + fit;  // past the right edge: the terminal waits to wrap
    }
    done_call();
  }

  void scroll_up(uint32_t, uint32_t, uint32_t, uint32_t, uint8_t) override {
    if (!screen_) {
      --line_;
    } else {
      // A line feed on the bottom row scrolls the whole screen.
      if (!cursor_known() || at_y_ != rows_) {
        append_cursor_position(rows_, 1);
        at_x_ = 1;
        at_y_ = rows_;
        cursor_known_ = true;
      }
      append("\n");
    }
    done_call();
  }

  bool read_event(Console::InputEvent& e) override {
    for (;;) {
      take_input();
      if (pending_len_ == 0) {
        if (!at_eof_) return false;
        e = Console::InputEvent{};
        e.ch = kEndOfInputKey;
        e.vk = 'Z';
        e.scan = 44;
        e.mods = Console::kCtrl;
        return true;
      }
      const KeyDecoder::Result r =
          KeyDecoder::decode(pending_, pending_len_, at_eof_ || timed_out_, decoder_config_);
      if (r.consumed == 0) return false;  // the start of a sequence: wait_for_input times it out
      std::memmove(pending_, pending_ + r.consumed, pending_len_ - r.consumed);
      pending_len_ -= r.consumed;
      timed_out_ = false;
      if (r.has_event) {
        e = r.event;
        return true;
      }
    }
  }

  void wait_for_input() override {
    show();
    if (at_eof_) return;
    pollfd p{STDIN_FILENO, POLLIN, 0};
    if (pending_len_ > 0) {
      // Part of a sequence is here: if nothing follows soon, it is taken as it stands.
      if (poll(&p, 1, kLoneEscMs) == 0) timed_out_ = true;
      return;
    }
    int r;
    do {
      r = poll(&p, 1, -1);
    } while (r < 0 && errno == EINTR);
    if (r < 0 || (p.revents & POLLNVAL)) at_eof_ = true;
  }

  void sleep_ms(uint32_t ms) override {
    if (ms == 0) return;
    show();
    timespec left{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
    while (clock_nanosleep(CLOCK_MONOTONIC, 0, &left, &left) == EINTR) {
    }
  }

  void shutdown() override {
    show();
    restore_settings();
    shut_down_ = true;
  }

 private:
  static constexpr uint8_t kDefaultAttr = 0x07;
  static constexpr uint32_t kTranscriptColumns = 255;
  static constexpr size_t kOutSize = 16384;

  // ---- Output buffer: handed to the terminal in one write before each wait ----

  void append(std::string_view s) {
    drawn_ = true;
    if (out_len_ + s.size() > kOutSize) emit();
    if (s.size() > kOutSize) return;
    std::memcpy(out_ + out_len_, s.data(), s.size());
    out_len_ += s.size();
  }

  void append_converted(const char* chars, uint32_t n) {
    for (uint32_t i = 0; i < n; ++i) append(Charset::from_cp852(static_cast<uint8_t>(chars[i])));
    if (n > 0) wrote_any_ = true;
  }

  void append_cursor_position(uint32_t row, uint32_t col) {
    char s[32];
    const int len = std::snprintf(s, sizeof s, "\x1b[%u;%uH", row, col);
    append(std::string_view(s, static_cast<size_t>(len)));
  }

  void emit() {
    const char* p = out_;
    size_t left = out_len_;
    out_len_ = 0;
    if (left > 0 && !out_failed_ && Runtime::handle_was_closed(STDOUT_FILENO)) output_failed();
    while (left > 0 && !out_failed_) {
      const ssize_t r = ::write(STDOUT_FILENO, p, left);
      if (r > 0) {
        p += r;
        left -= static_cast<size_t>(r);
      } else if (r < 0 && errno == EINTR) {
        continue;
      } else if (r < 0 && errno == EAGAIN) {
        pollfd w{STDOUT_FILENO, POLLOUT, 0};
        poll(&w, 1, -1);
      } else {
        output_failed();
      }
    }
  }

  // The device refuses the output: it is never retried. The program ends through the error
  // stop, whose report to the same output is lost; the exit status still tells.
  void output_failed() {
    out_failed_ = true;
    out_len_ = 0;
    restore_settings();
    Runtime::error_stop(Runtime::kDiskWriteError, __builtin_return_address(0));
  }

  // Everything written so far, and the cursor where the console left it, on the terminal.
  void show() {
    if (screen_ && drawn_) move_to(want_x_, want_y_);
    emit();
  }

  // After the console has stopped, what still comes is written at once.
  void done_call() {
    if (shut_down_) emit();
  }

  // ---- Cursor: moved only when the next output does not start where it stands ----

  bool cursor_known() {
    if (g_cursor_lost) {
      g_cursor_lost = 0;
      cursor_known_ = false;
    }
    return cursor_known_;
  }

  void move_to(uint32_t x, uint32_t y) {
    if (cursor_known()) {
      if (x == at_x_ && y == at_y_) return;
      if (x == 1 && y == at_y_) {
        append("\r");
      } else if (x == 1 && y == at_y_ + 1) {
        append("\r\n");
      } else if (x == at_x_ && y == at_y_ + 1) {
        append("\n");
      } else {
        append_cursor_position(y, x);
      }
    } else {
      append_cursor_position(y, x);
    }
    at_x_ = x;
    at_y_ = y;
    cursor_known_ = true;
  }

  // ---- Transcript: rows become line feeds ----

  void transcript_newlines_to(uint32_t y) {
    while (line_ < static_cast<int64_t>(y)) {
      append("\n");
      ++line_;
      wrote_any_ = true;
    }
  }

  // ---- Input ----

  // Reads what standard input has ready, without waiting.
  void take_input() {
    if (at_eof_ || pending_len_ == sizeof pending_) return;
    pollfd p{STDIN_FILENO, POLLIN, 0};
    if (poll(&p, 1, 0) <= 0) return;
    if (p.revents & POLLNVAL) {
      at_eof_ = true;
      return;
    }
    const ssize_t n = ::read(STDIN_FILENO, pending_ + pending_len_, sizeof pending_ - pending_len_);
    if (n > 0) {
      pending_len_ += static_cast<size_t>(n);
    } else if (n == 0 || (errno != EINTR && errno != EAGAIN)) {
      at_eof_ = true;
    }
  }

  bool screen_ = false;
  uint32_t cols_ = 80, rows_ = 25;

  char out_[kOutSize];
  size_t out_len_ = 0;
  bool out_failed_ = false;
  bool shut_down_ = false;
  bool drawn_ = false;      // anything sent at all: until then the cursor stays where it was
  bool wrote_any_ = false;  // transcript: any text yet

  uint32_t want_x_ = 1, want_y_ = 1;  // where the console has put its cursor
  uint32_t at_x_ = 1, at_y_ = 1;      // where the terminal's cursor stands
  bool cursor_known_ = false;
  int64_t line_ = 1;  // transcript: the row the text has reached

  uint8_t pending_[64];
  size_t pending_len_ = 0;
  bool at_eof_ = false;
  bool timed_out_ = false;
  KeyDecoder::Config decoder_config_;
};

}  // namespace

Console::Platform& platform() {
  static Term term;
  return term;
}

void restore() {
  restore_settings();
}

}  // namespace Terminal

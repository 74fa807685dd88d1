#include "system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <ucontext.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include "codeloc.h"

namespace Runtime {

TEXTREC TEXT_OUTPUT;
TEXTREC KEYBOARD_INPUT;
TEXTREC STDOUT;
uint16_t INOUTRES = 0;
uint16_t ERRORCODE = 0;
uintptr_t ERRORADDR = 0;

namespace {

bool g_has_error = false;
const void* g_error_pc = nullptr;
std::span<const Module> g_modules;
bool g_exiting = false;

// ==== Putting characters into a stream =======================================================

void run_write(TEXTREC& t) {
  if (t.write == nullptr) {
    t.bufpos = 0;
    return;
  }
  if (const uint16_t r = t.write(t); r != 0) INOUTRES = r;
}

void put(TEXTREC& t, const char* p, uint32_t n) {
  while (n > 0) {
    if (t.bufpos == kTextBufSize) run_write(t);
    uint32_t take = kTextBufSize - t.bufpos;
    if (take > n) take = n;
    std::memcpy(t.buf + t.bufpos, p, take);
    t.bufpos += take;
    p += take;
    n -= take;
  }
}

void put_blanks(TEXTREC& t, int32_t count) {
  static constexpr char kBlanks[32] = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ',
                                       ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ',
                                       ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
  while (count > 0) {
    const int32_t take = count < 32 ? count : 32;
    put(t, kBlanks, static_cast<uint32_t>(take));
    count -= take;
  }
}

void run_flush(TEXTREC& t) {
  if (t.flush == nullptr) return;
  if (const uint16_t r = t.flush(t); r != 0) INOUTRES = r;
}

// Steps shared by the text write and the line end: a pending result or a stream that is not
// open for output makes the write do nothing.
bool ready_for_output(TEXTREC& t) {
  if (INOUTRES != 0) return false;
  if (t.mode == FileMode::Input) {
    INOUTRES = kFileNotOpenForOutput;
    return false;
  }
  if (t.mode != FileMode::Output) {
    INOUTRES = kFileNotOpen;
    return false;
  }
  return true;
}

[[noreturn]] void iocheck_failed(const void* addr) {
  const uint16_t code = INOUTRES;
  INOUTRES = 0;
  error_stop(code, addr);
}

// ==== The error report =======================================================================

void put_str(TEXTREC& t, const char* s) {
  put(t, s, static_cast<uint32_t>(std::strlen(s)));
}

void put_hex8(TEXTREC& t, uintptr_t v) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  char out[8];
  for (int i = 7; i >= 0; --i) {
    out[i] = kDigits[v & 0xF];
    v >>= 4;
  }
  put(t, out, 8);
}

void put_decimal(TEXTREC& t, unsigned v) {
  char out[10];
  int i = 10;
  do {
    out[--i] = static_cast<char>('0' + v % 10);
    v /= 10;
  } while (v != 0);
  put(t, out + i, static_cast<uint32_t>(10 - i));
}

void write_report() {
  TEXTREC& t = STDOUT;
  if (t.mode != FileMode::Output) return;
  put_str(t, "Runtime error ");
  put_decimal(t, ERRORCODE);
  put_str(t, " at $");
  put_hex8(t, ERRORADDR);
  put_str(t, "\r\n  $");
  put_hex8(t, ERRORADDR);
  put_str(t, "\r\n");

  const void* callers[64];
  const size_t most = isatty(t.handle) ? 9 : 64;
  const size_t n = CodeLoc::callers_of(g_error_pc, callers, most);
  for (size_t i = 0; i < n; ++i) {
    put_str(t, "  $");
    put_hex8(t, CodeLoc::image_offset(callers[i]));
    put_str(t, "\r\n");
  }
  put_str(t, "\r\n");
  if (t.flush != nullptr) t.flush(t);
}

bool is_char_device(int fd) {
  struct stat st;
  return fstat(fd, &st) == 0 && S_ISCHR(st.st_mode);
}

// STDOUT flushes at each statement only on a character device; elsewhere it waits for a full
// buffer or the end of the program.
void bind_stdout() {
  bind_text(STDOUT, FileMode::Output, STDOUT_FILENO, fd_write,
            is_char_device(STDOUT_FILENO) ? fd_write : nullptr);
}

// ==== Processor faults =======================================================================
// A fault ends the program through the error stop, like a failed check. The handler runs on a
// stack of its own, so that a stack overflow can still be reported.

constexpr int kFaultSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE};
constexpr uint16_t kDivisionByZero = 200;
constexpr uint16_t kStackOverflow = 202;
constexpr uint16_t kFloatingPointError = 207;
constexpr uint16_t kAccessViolation = 216;
constexpr uintptr_t kStackSlack = 64 * 1024;

alignas(16) char g_fault_stack[64 * 1024];
bool g_in_fault = false;

const void* fault_pc(void* context, uintptr_t& sp) {
  const auto* uc = static_cast<const ucontext_t*>(context);
#if defined(__x86_64__)
  sp = static_cast<uintptr_t>(uc->uc_mcontext.gregs[REG_RSP]);
  return reinterpret_cast<const void*>(uc->uc_mcontext.gregs[REG_RIP]);
#elif defined(__aarch64__)
  sp = uc->uc_mcontext.sp;
  return reinterpret_cast<const void*>(uc->uc_mcontext.pc);
#else
  (void)uc;
  sp = 0;
  return nullptr;
#endif
}

void on_fault(int sig, siginfo_t* info, void* context) {
  uintptr_t sp = 0;
  const void* pc = fault_pc(context, sp);
  const bool from_kernel = info->si_code > 0;  // not sent by kill or raise
  uint16_t code = kAccessViolation;
  if (sig == SIGFPE) {
    code = from_kernel && info->si_code == FPE_INTDIV ? kDivisionByZero : kFloatingPointError;
  } else if (sig == SIGSEGV && from_kernel) {
    const auto addr = reinterpret_cast<uintptr_t>(info->si_addr);
    if (sp != 0 && addr + kStackSlack >= sp && addr <= sp + kStackSlack) code = kStackOverflow;
  }
  g_in_fault = true;
  error_stop(code, pc);
}

void install_fault_handler() {
  stack_t ss{};
  ss.ss_sp = g_fault_stack;
  ss.ss_size = sizeof g_fault_stack;
  sigaltstack(&ss, nullptr);
  struct sigaction sa {};
  sa.sa_sigaction = on_fault;
  sa.sa_flags = SA_SIGINFO | SA_ONSTACK;
  sigemptyset(&sa.sa_mask);
  for (int sig : kFaultSignals) sigaddset(&sa.sa_mask, sig);  // a fault in here ends it all
  for (int sig : kFaultSignals) sigaction(sig, &sa, nullptr);
}

void remove_fault_handler() {
  for (int sig : kFaultSignals) signal(sig, SIG_DFL);
}

void reset_floating_point() {
#if defined(__x86_64__)
  const uint32_t default_mxcsr = 0x1F80;  // all exceptions masked, round to nearest
  asm volatile("fninit\n\tldmxcsr %0" : : "m"(default_mxcsr));
#endif
}

// ==== Standard handles =======================================================================

bool g_handle_was_closed[3] = {false, false, false};

// A standard handle that is closed gets /dev/null, so that no file opened later takes its number
// and receives the program's output; the program still knows it was closed.
void fill_closed_handles() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    g_handle_was_closed[fd] = true;
    const int got = open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
    if (got != fd && got >= 0) close(got);
  }
}

void core_init() {
  fill_closed_handles();
  install_fault_handler();
  reset_floating_point();
  CodeLoc::init();
  bind_text(KEYBOARD_INPUT, FileMode::Input, STDIN_FILENO, nullptr, nullptr);
  bind_text(TEXT_OUTPUT, FileMode::Output, STDOUT_FILENO, fd_write, fd_write);
  bind_stdout();
}

}  // namespace

bool handle_was_closed(int fd) {
  return fd >= 0 && fd <= 2 && g_handle_was_closed[fd];
}

// ==== Streams ================================================================================

void bind_text(TEXTREC& t, FileMode mode, int handle, TextFunc write, TextFunc flush) {
  t.mode = mode;
  t.handle = handle;
  t.bufpos = 0;
  t.lineend_len = 2;
  t.lineend[0] = '\r';
  t.lineend[1] = '\n';
  t.write = write;
  t.flush = flush;
}

uint16_t fd_write(TEXTREC& t) {
  const char* p = t.buf;
  size_t left = t.bufpos;
  t.bufpos = 0;
  while (left > 0) {
    const ssize_t r = ::write(t.handle, p, left);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) return kDiskWriteError;
    p += r;
    left -= static_cast<size_t>(r);
  }
  return 0;
}

void WRITE_TEXT_SHORTSTR(TEXTREC& t, int32_t width, const ShortStr& s) {
  if (!ready_for_output(t)) return;
  if (s.len < width) put_blanks(t, width - s.len);
  put(t, s.data, s.len);
}

void WRITE_TEXT_CHAR(TEXTREC& t, int32_t width, char c) {
  if (INOUTRES != 0) return;
  if (t.mode == FileMode::Closed) {
    INOUTRES = kFileNotOpen;
    return;
  }
  if (t.mode != FileMode::Output) {
    INOUTRES = kFileNotOpenForOutput;
    return;
  }
  if (width > 1) put_blanks(t, width - 1);
  put(t, &c, 1);
}

void WRITE_END(TEXTREC& t) {
  run_flush(t);
}

void WRITELN_END(TEXTREC& t) {
  if (!ready_for_output(t)) return;
  put(t, t.lineend, t.lineend_len);
  run_flush(t);
}

// Each statement helper checks for its caller, so the failure's location is the caller's.
__attribute__((noinline)) void out_str(const ShortStr& s, int32_t width) {
  WRITE_TEXT_SHORTSTR(TEXT_OUTPUT, width, s);
  if (INOUTRES != 0) [[unlikely]]
    iocheck_failed(__builtin_return_address(0));
}

__attribute__((noinline)) void out_char(char c, int32_t width) {
  WRITE_TEXT_CHAR(TEXT_OUTPUT, width, c);
  if (INOUTRES != 0) [[unlikely]]
    iocheck_failed(__builtin_return_address(0));
}

void out_end() {
  WRITE_END(TEXT_OUTPUT);
}

__attribute__((noinline)) void out_line_end() {
  WRITELN_END(TEXT_OUTPUT);
  if (INOUTRES != 0) [[unlikely]]
    iocheck_failed(__builtin_return_address(0));
}

// ==== Checks and the error stop ==============================================================

__attribute__((noinline)) void IOCHECK() {
  if (INOUTRES != 0) iocheck_failed(__builtin_return_address(0));
}

__attribute__((noinline)) void RANGEERROR() {
  error_stop(kRangeError, __builtin_return_address(0));
}

__attribute__((noinline)) void OVERFLOW() {
  error_stop(kOverflowError, __builtin_return_address(0));
}

bool has_error_addr() {
  return g_has_error;
}

void error_stop(uint16_t code, const void* addr) {
  ERRORCODE = code;
  ERRORADDR = CodeLoc::image_offset(addr);
  g_error_pc = addr;
  g_has_error = true;
  halt(static_cast<uint8_t>(code));
}

// ==== Start-up and exit ======================================================================

const Module kCoreModule = {"run-time core", core_init, nullptr};
// Holds no state of its own; it keeps its place in the start-up and shutdown order.
const Module kSupportModule = {"run-time support", nullptr, nullptr};

void start_modules(std::span<const Module> modules) {
  g_modules = modules;
  for (const Module& m : modules) {
    if (m.init != nullptr) m.init();
  }
}

void halt(uint8_t status) {
  // A failure inside the exit sequence must not run it again.
  if (g_exiting) _exit(status);
  g_exiting = true;
  for (size_t i = g_modules.size(); i-- > 0;) {
    if (g_modules[i].done != nullptr) g_modules[i].done();
  }
  if (g_has_error) {
    if (STDOUT.mode == FileMode::Closed) bind_stdout();
    write_report();
  }
  if (TEXT_OUTPUT.mode == FileMode::Output && TEXT_OUTPUT.bufpos > 0) run_write(TEXT_OUTPUT);
  if (STDOUT.mode == FileMode::Output && STDOUT.bufpos > 0) run_write(STDOUT);
  remove_fault_handler();
  // After a fault nothing more of the process is trusted: no exit handlers.
  if (g_in_fault) _exit(status);
  std::exit(status);
}

}  // namespace Runtime

// Everything that ends the process: run in a child, checked by its standard output and status.
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <regex>
#include <string>

#include "checks.h"
#include "child.h"
#include "system.h"

using Runtime::make_shortstr;

namespace {

const Runtime::Module kRuntimeOnly[] = {Runtime::kCoreModule, Runtime::kSupportModule};

void start() {
  Runtime::start_modules(kRuntimeOnly);
}

void say(const char* s) {
  Runtime::WRITE_TEXT_SHORTSTR(Runtime::TEXT_OUTPUT, 0, make_shortstr(s));
  Runtime::IOCHECK();
  Runtime::WRITELN_END(Runtime::TEXT_OUTPUT);
  Runtime::IOCHECK();
}

// The report: first line, echo line with the same location, back-trace lines, empty line.
const std::regex kReport(
    "Runtime error ([0-9]+) at \\$([0-9A-F]{8})\r\n"
    "  \\$\\2\r\n"
    "((  \\$[0-9A-F]{8}\r\n)*)"
    "\r\n");

// Runs `body` in a child after one line of output: that line stays, the report follows, and
// nothing written after the failure appears.
void expect_stop_after_output(const char* what, void (*body)(), int code) {
  const ChildResult r = run_child([&] {
    start();
    say("before");
    body();
    say("after");
  });
  EXPECT_EQ(r.exit_code, code) << what;
  const std::string prefix = "before\r\n";
  ASSERT_EQ(r.out.substr(0, prefix.size()), prefix) << what;
  std::smatch m;
  const std::string report = r.out.substr(prefix.size());
  ASSERT_TRUE(std::regex_match(report, m, kReport)) << what << ": " << report;
  EXPECT_EQ(m[1].str(), std::to_string(code)) << what;
}

__attribute__((noinline)) int32_t fail_range_in_named_function(int32_t v) {
  asm volatile("" : "+r"(v));  // keeps the check at run time
  return static_cast<int32_t>(Runtime::check_index(v, 8));
}

__attribute__((noinline)) void outer_caller_of_failure() {
  say("before");
  fail_range_in_named_function(9);
  say("never");
}

TEST(ErrorStop, EachCheckStopsWithItsNumberAfterEarlierOutput) {
  struct Case {
    const char* what;
    void (*body)();
    int code;
  };
  const Case cases[] = {
      {"range", [] { fail_range_in_named_function(-1); }, 201},
      {"narrowing", [] { Runtime::narrow<int16_t>(int32_t{40000}); }, 201},
      {"overflow", [] { Runtime::mul_checked<int32_t>(656000, 100000); }, 215},
      {"closed stream",
       [] {
         Runtime::TEXT_OUTPUT.mode = Runtime::FileMode::Closed;
         say("lost");
       },
       103},
      {"input stream",
       [] {
         Runtime::TEXT_OUTPUT.mode = Runtime::FileMode::Input;
         say("lost");
       },
       105},
  };
  for (const Case& c : cases) expect_stop_after_output(c.what, c.body, c.code);
}

TEST(ErrorStop, PendingResultWaitsForTheNextCheck) {
  const ChildResult r = run_child([] {
    start();
    Runtime::INOUTRES = 105;
    Runtime::WRITE_TEXT_SHORTSTR(Runtime::TEXT_OUTPUT, 0, make_shortstr("suppressed"));
    Runtime::WRITELN_END(Runtime::TEXT_OUTPUT);
    Runtime::IOCHECK();
    say("unreachable");
  });
  EXPECT_EQ(r.exit_code, 105);
  EXPECT_TRUE(std::regex_match(r.out, kReport)) << r.out;
}

TEST(ErrorStop, FailingItemLeavesNothingOfItsStatement) {
  const ChildResult r = run_child([] {
    start();
    Runtime::WRITE_TEXT_SHORTSTR(Runtime::TEXT_OUTPUT, 0, make_shortstr("whole "));
    Runtime::IOCHECK();
    Runtime::WRITE_END(Runtime::TEXT_OUTPUT);
    // The value of the next statement's first item is checked before it is written.
    const int32_t bad = fail_range_in_named_function(12);
    Runtime::WRITE_TEXT_CHAR(Runtime::TEXT_OUTPUT, 0, static_cast<char>('0' + bad));
    Runtime::WRITE_END(Runtime::TEXT_OUTPUT);
  });
  EXPECT_EQ(r.exit_code, 201);
  ASSERT_EQ(r.out.substr(0, 20), "whole Runtime error ");
}

TEST(ErrorStop, NormalEndWritesNoReport) {
  const ChildResult r = run_child([] {
    start();
    say("last page");
  });
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out, "last page\r\n");
}

std::string self_exe() {
  char path[4096];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  return n > 0 ? std::string(path, static_cast<size_t>(n)) : std::string();
}

// The function that addr2line names for an offset (8 hexadecimal digits) in this executable.
std::string function_at(const std::string& offset) {
  return shell_output("addr2line -f -C -e " + self_exe() + " 0x" + offset + " | head -n 1");
}

TEST(ErrorStop, LocationsNameTheFailingFunctionAndItsCaller) {
  if (system("command -v addr2line >/dev/null 2>&1") != 0) GTEST_SKIP() << "no addr2line";
  const ChildResult r = run_child([] {
    start();
    outer_caller_of_failure();
  });
  ASSERT_EQ(r.exit_code, 201);
  std::smatch m;
  const std::string report = r.out.substr(std::string("before\r\n").size());
  ASSERT_TRUE(std::regex_match(report, m, kReport)) << report;
  const std::string where = function_at(m[2].str());
  EXPECT_NE(where.find("fail_range_in_named_function"), std::string::npos) << where;

  const std::string trace = m[3].str();
  ASSERT_GE(trace.size(), 13u) << "no back-trace lines";
  const std::string caller = function_at(trace.substr(3, 8));
  EXPECT_NE(caller.find("outer_caller_of_failure"), std::string::npos) << caller;
}

}  // namespace

// ---- Processor faults -----------------------------------------------------------------------

__attribute__((noinline, no_sanitize("undefined"))) void write_through_null() {
  volatile int* volatile p = nullptr;
  *p = 1;
}

__attribute__((noinline, no_sanitize("undefined"))) int divide(int a, int b) {
  return a / b;
}

volatile bool g_keep_going = true;

__attribute__((noinline)) int recurse_forever(int depth) {
  volatile char pad[1024];
  pad[0] = static_cast<char>(depth);
  return g_keep_going ? recurse_forever(depth + 1) + pad[0] : 0;
}

TEST(ErrorStop, ProcessorFaultsEndThroughTheErrorStop) {
  struct Case {
    const char* what;
    void (*body)();
    int code;
  };
  const Case cases[] = {
      {"write through a null pointer", [] { write_through_null(); }, 216},
      {"integer division by zero",
       [] {
         volatile int zero = 0;
         volatile int result = divide(1, zero);
         (void)result;
       },
       200},
      {"other arithmetic fault", [] { raise(SIGFPE); }, 207},
      {"illegal instruction", [] { __builtin_trap(); }, 216},
      {"bus error", [] { raise(SIGBUS); }, 216},
      {"SIGSEGV sent from outside", [] { kill(getpid(), SIGSEGV); }, 216},
      {"stack overflow", [] { recurse_forever(0); }, 202},
  };
  for (const Case& c : cases) expect_stop_after_output(c.what, c.body, c.code);
}

TEST(ErrorStop, FaultLocationNamesTheFaultingFunction) {
  if (system("command -v addr2line >/dev/null 2>&1") != 0) GTEST_SKIP() << "no addr2line";
  const ChildResult r = run_child([] {
    start();
    write_through_null();
  });
  ASSERT_EQ(r.exit_code, 216);
  std::smatch m;
  ASSERT_TRUE(std::regex_match(r.out, m, kReport)) << r.out;
  const std::string where = function_at(m[2].str());
  EXPECT_NE(where.find("write_through_null"), std::string::npos) << where;
}

// Unusual and broken standard streams and environments: the program never hangs, never crashes,
// and ends with a status that tells what happened.
#include <gtest/gtest.h>

#include <string>

#include "child.h"

namespace {

// Runs a shell line with the program as $K under a time limit; returns "status" (124: it hung).
std::string status_of(const std::string& line) {
  const std::string out =
      shell_output("K=" KARTYAS_BIN " timeout 20 bash -c '" + line + "' >/dev/null 2>&1; echo $?");
  return out.substr(0, out.size() - 1);
}

TEST(Hostile, StreamsAndEnvironments) {
  struct Case {
    const char* what;
    std::string line;
    std::string status;
  };
  const Case cases[] = {
      {"standard input closed", "$K <&- >/dev/null", "0"},
      {"standard input /dev/null", "$K </dev/null >/dev/null", "0"},
      {"standard input a file of keys", "printf \"%040d\" 0 >in.txt; $K <in.txt >/dev/null", "0"},
      {"standard input a pipe that ends mid-run", "printf abc | $K >/dev/null", "0"},
      {"standard input a directory", "$K </ >/dev/null", "0"},
      {"standard output closed", "$K </dev/null >&-", "101"},
      {"standard output /dev/full", "$K </dev/null >/dev/full", "101"},
      {"standard output a pipe", "$K </dev/null | cat >/dev/null", "0"},
      {"standard output a pipe with no reader",
       "$K </dev/null | (exec 0<&-; sleep 1); "
       "exit ${PIPESTATUS[0]}",
       "141"},
      {"the same, SIGPIPE ignored",
       "trap \"\" PIPE; $K </dev/null | (exec 0<&-; sleep 1); "
       "exit ${PIPESTATUS[0]}",
       "101"},
      {"standard error closed", "$K </dev/null >/dev/null 2>&-", "0"},
      {"TERM unset", "env -u TERM $K </dev/null >/dev/null", "0"},
      {"TERM dumb", "TERM=dumb $K </dev/null >/dev/null", "0"},
      {"locale C", "LC_ALL=C $K </dev/null >/dev/null", "0"},
      {"locale C.UTF-8", "LC_ALL=C.UTF-8 $K </dev/null >/dev/null", "0"},
      {"unknown locale", "LC_ALL=xx_XX.NOPE $K </dev/null >/dev/null", "0"},
  };
  const std::string dir = testing::TempDir() + "kartyas-hostile";
  shell_output("mkdir -p " + dir);
  for (const Case& c : cases) {
    EXPECT_EQ(status_of("cd " + dir + " && " + c.line), c.status) << c.what;
  }
}

TEST(Hostile, ClosedOutputIsNotWrittenToAFileOpenedLater) {
  // With standard output closed, no text may land in whatever takes descriptor 1 next.
  const std::string dir = testing::TempDir() + "kartyas-closed";
  const std::string out = shell_output("mkdir -p " + dir + " && cd " + dir +
                                       " && " KARTYAS_BIN " </dev/null >&- ; ls -A | wc -l");
  EXPECT_EQ(out, "0\n");
}

}  // namespace

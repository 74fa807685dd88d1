// Runs a piece of code in a child process and collects what it wrote to standard output and how
// it ended; for everything that ends the process through the error stop.
#pragma once

#include <functional>
#include <string>

struct ChildResult {
  int exit_code = -1;  // -1 when the child was killed by a signal
  int signal = 0;
  std::string out;
};

// The child runs `body`, then the normal end of the program (exit status 0) if it returns.
ChildResult run_child(const std::function<void()>& body);

// Runs a shell command and returns its standard output.
std::string shell_output(const std::string& command);

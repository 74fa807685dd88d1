// kartyas: start the modules, run the program, end through the exit sequence.
#include "program.h"

int main() {
  Runtime::start_modules(Program::modules());
  Program::body();
  Runtime::halt(0);
}

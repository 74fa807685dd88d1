// The program: the module list in start-up order, then the body, then the exit sequence.
#include "system.h"

namespace {

// Start-up runs top to bottom; the exit sequence shuts down bottom to top.
const Runtime::Module kModules[] = {
    Runtime::kCoreModule,
    Runtime::kSupportModule,
};

}  // namespace

int main() {
  Runtime::start_modules(kModules);
  Runtime::halt(0);
}

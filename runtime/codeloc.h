// Code locations for the error report: offsets of code addresses from the load address of the
// executable, as addr2line expects them, and the chain of return addresses above a failure.
#pragma once

#include <cstddef>
#include <cstdint>

namespace Runtime::CodeLoc {

// Finds the executable's image and warms up the unwinder, so that later calls, also from a
// signal handler, neither allocate nor load anything.
void init();

bool in_image(const void* addr);
uintptr_t image_offset(const void* addr);

// Fills `out` with the return addresses of the levels that enclose the function containing
// `addr`, innermost first, up to the first one outside the executable. Returns how many.
size_t callers_of(const void* addr, const void** out, size_t max);

}  // namespace Runtime::CodeLoc

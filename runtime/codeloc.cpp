#include "codeloc.h"

#include <execinfo.h>
#include <link.h>

namespace Runtime::CodeLoc {
namespace {

uintptr_t g_bias = 0;
uintptr_t g_lo = 0;
uintptr_t g_hi = 0;
bool g_ready = false;

int find_main_image(dl_phdr_info* info, size_t, void*) {
  // The first object reported is the executable itself.
  g_bias = info->dlpi_addr;
  g_lo = UINTPTR_MAX;
  for (int i = 0; i < info->dlpi_phnum; ++i) {
    const ElfW(Phdr)& ph = info->dlpi_phdr[i];
    if (ph.p_type != PT_LOAD || !(ph.p_flags & PF_X)) continue;
    const uintptr_t start = info->dlpi_addr + ph.p_vaddr;
    if (start < g_lo) g_lo = start;
    if (start + ph.p_memsz > g_hi) g_hi = start + ph.p_memsz;
  }
  return 1;
}

}  // namespace

void init() {
  if (g_ready) return;
  dl_iterate_phdr(find_main_image, nullptr);
  void* warm[2];
  backtrace(warm, 2);  // the first call loads the unwinder
  g_ready = true;
}

bool in_image(const void* addr) {
  init();
  const auto a = reinterpret_cast<uintptr_t>(addr);
  return a >= g_lo && a < g_hi;
}

uintptr_t image_offset(const void* addr) {
  init();
  return reinterpret_cast<uintptr_t>(addr) - g_bias;
}

size_t callers_of(const void* addr, const void** out, size_t max) {
  init();
  void* frames[128];
  const int n = backtrace(frames, 128);
  int i = 0;
  while (i < n && frames[i] != addr) ++i;
  size_t count = 0;
  for (++i; i < n && count < max; ++i) {
    if (!in_image(frames[i])) break;
    out[count++] = frames[i];
  }
  return count;
}

}  // namespace Runtime::CodeLoc

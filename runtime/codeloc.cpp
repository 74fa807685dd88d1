#include "codeloc.h"

#include <link.h>
#include <unwind.h>

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

struct Walk {
  void** frames;
  int max;
  int count;
};

_Unwind_Reason_Code record_frame(_Unwind_Context* context, void* arg) {
  auto* walk = static_cast<Walk*>(arg);
  const uintptr_t ip = _Unwind_GetIP(context);
  if (ip == 0 || walk->count == walk->max) return _URC_END_OF_STACK;
  walk->frames[walk->count++] = reinterpret_cast<void*>(ip);
  return _URC_NO_REASON;
}

// The return addresses of the calls on the stack, innermost first.
int walk_stack(void** frames, int max) {
  Walk walk{frames, max, 0};
  _Unwind_Backtrace(record_frame, &walk);
  return walk.count;
}

}  // namespace

void init() {
  if (g_ready) return;
  dl_iterate_phdr(find_main_image, nullptr);
  void* warm[2];
  walk_stack(warm, 2);  // the first walk sets up the unwinder's caches
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
  const int n = walk_stack(frames, 128);
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

#include "capture.h"

namespace {

CapturedStream* g_current = nullptr;

uint16_t capture_write(Runtime::TEXTREC& t) {
  if (t.bufpos > 0) {
    g_current->text.append(t.buf, t.bufpos);
    g_current->pieces.push_back(t.bufpos);
  }
  t.bufpos = 0;
  return 0;
}

}  // namespace

CapturedStream::CapturedStream(Runtime::TEXTREC* target) : rec(target ? *target : own) {
  g_current = this;
  Runtime::INOUTRES = 0;
  Runtime::bind_text(rec, Runtime::FileMode::Output, -1, capture_write, capture_write);
}

CapturedStream::~CapturedStream() {
  g_current = nullptr;
}

// A text stream bound to memory: records every hand-over of its write routine, so tests can see
// what reached the device and in which pieces.
#pragma once

#include <string>
#include <vector>

#include "system.h"

struct CapturedStream {
  Runtime::TEXTREC own;
  Runtime::TEXTREC& rec;  // `own`, or the stream given to the constructor
  std::string text;
  std::vector<size_t> pieces;  // size of each non-empty hand-over

  // Binds `target` (by default a stream of its own) to memory.
  explicit CapturedStream(Runtime::TEXTREC* target = nullptr);
  ~CapturedStream();
};

// Bounded text values: a length of 0..255 and that many single-byte characters, in 256 bytes of
// fixed storage. Copies and joins cut the result at the target's maximum; nothing allocates.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>

namespace Runtime {

inline constexpr uint8_t kShortStrMax = 255;

struct ShortStr {
  uint8_t len = 0;
  char data[kShortStrMax]{};

  constexpr std::string_view view() const { return {data, len}; }
};
static_assert(sizeof(ShortStr) == 256);

// A text from a literal or view, cut at 255 characters.
constexpr ShortStr make_shortstr(std::string_view s) {
  ShortStr r;
  r.len = static_cast<uint8_t>(s.size() < kShortStrMax ? s.size() : kShortStrMax);
  for (uint8_t i = 0; i < r.len; ++i) r.data[i] = s[i];
  return r;
}

// target := the sources joined in order, cut at `maximum`. The target may be one of the sources.
void shortstr_concat_multi(ShortStr& target, uint8_t maximum,
                           std::initializer_list<const ShortStr*> sources);

// target := source, cut at `maximum`.
void SHORTSTR_ASSIGN(uint8_t maximum, const ShortStr& source, ShortStr& target);
void SHORTSTR_TO_SHORTSTR(uint8_t maximum, const ShortStr& source, ShortStr& target);

}  // namespace Runtime

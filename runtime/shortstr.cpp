#include "shortstr.h"

#include <cstring>

namespace Runtime {

void shortstr_concat_multi(ShortStr& target, uint8_t maximum,
                           std::initializer_list<const ShortStr*> sources) {
  // Built apart so that a source aliasing the target is read whole before it is overwritten.
  ShortStr result;
  for (const ShortStr* s : sources) {
    const unsigned room = maximum - result.len;
    const unsigned take = s->len < room ? s->len : room;
    std::memcpy(result.data + result.len, s->data, take);
    result.len = static_cast<uint8_t>(result.len + take);
  }
  target = result;
}

void SHORTSTR_ASSIGN(uint8_t maximum, const ShortStr& source, ShortStr& target) {
  const uint8_t n = source.len < maximum ? source.len : maximum;
  std::memmove(target.data, source.data, n);
  target.len = n;
}

void SHORTSTR_TO_SHORTSTR(uint8_t maximum, const ShortStr& source, ShortStr& target) {
  SHORTSTR_ASSIGN(maximum, source, target);
}

}  // namespace Runtime

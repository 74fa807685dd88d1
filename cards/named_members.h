// What the suit and rank modules share: copying a member's name out of its table, and the print
// routine that joins a leading text, the name and a trailing text into one output statement.
#pragma once

#include "shortstr.h"
#include "system.h"

namespace NamedMembers {

// `name` has already passed its module's range check.
inline Runtime::ShortStr copy_name(const Runtime::ShortStr& name) {
  Runtime::ShortStr r;
  Runtime::SHORTSTR_TO_SHORTSTR(Runtime::kShortStrMax, name, r);
  return r;
}

// One statement: leading text, name and trailing text joined and cut at 255, width 0.
inline void print(const Runtime::ShortStr& szov, const Runtime::ShortStr& name,
                  const Runtime::ShortStr& uto) {
  Runtime::ShortStr joined;
  Runtime::shortstr_concat_multi(joined, Runtime::kShortStrMax, {&szov, &name, &uto});
  Runtime::out_str(joined);
  Runtime::out_end();
}

}  // namespace NamedMembers

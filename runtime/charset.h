// The program's characters are code page 852; the terminal's are those of the locale. One table,
// built at start-up by iconv, maps each code page 852 byte to the locale's bytes for it; key input
// is mapped back through the same table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace Charset {

// Reads LC_CTYPE from the environment and builds the table for its codeset. The plain C and
// POSIX locales are taken as UTF-8.
void init_from_locale();
// Builds the table for the named codeset, e.g. "UTF-8" or "ISO-8859-2".
void init_for(const char* codeset);

bool is_utf8();

// The locale's bytes for one code page 852 character ("?" when it has none).
std::string_view from_cp852(uint8_t c);

// One character in the locale's encoding back to code page 852; -1 when there is none.
int to_cp852(const uint8_t* bytes, size_t n);

}  // namespace Charset

#include "charset.h"

#include <iconv.h>
#include <langinfo.h>

#include <clocale>
#include <cstdio>
#include <cstring>

namespace Charset {
namespace {

constexpr size_t kMaxBytes = 8;  // a transliteration may take a few characters

char g_bytes[256][kMaxBytes];
uint8_t g_len[256];
bool g_utf8 = true;
bool g_ready = false;

void build_plain_ascii() {
  for (int c = 0; c < 256; ++c) {
    g_bytes[c][0] = c < 0x80 ? static_cast<char>(c) : '?';
    g_len[c] = 1;
  }
}

}  // namespace

void init_for(const char* codeset) {
  g_utf8 = std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0;
  build_plain_ascii();
  char target[64];
  std::snprintf(target, sizeof target, "%s//TRANSLIT", codeset);
  iconv_t cd = iconv_open(target, "CP852");
  if (cd == reinterpret_cast<iconv_t>(-1)) cd = iconv_open(codeset, "CP852");
  if (cd != reinterpret_cast<iconv_t>(-1)) {
    for (int c = 0x80; c < 256; ++c) {
      char in = static_cast<char>(c);
      char* inp = &in;
      size_t in_left = 1;
      char out[kMaxBytes];
      char* outp = out;
      size_t out_left = sizeof out;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
      if (iconv(cd, &inp, &in_left, &outp, &out_left) != static_cast<size_t>(-1) && outp != out) {
        g_len[c] = static_cast<uint8_t>(outp - out);
        std::memcpy(g_bytes[c], out, g_len[c]);
      }
    }
    iconv_close(cd);
  }
  g_ready = true;
}

void init_from_locale() {
  const char* codeset = "UTF-8";
  if (std::setlocale(LC_CTYPE, "") != nullptr) {
    const char* name = nl_langinfo(CODESET);
    // The C locale reports plain ASCII; a terminal under it is taken as UTF-8.
    if (name != nullptr && *name != '\0' && std::strcmp(name, "ANSI_X3.4-1968") != 0) {
      codeset = name;
    }
  }
  init_for(codeset);
}

bool is_utf8() {
  return g_utf8;
}

std::string_view from_cp852(uint8_t c) {
  if (!g_ready) init_for("UTF-8");
  return {g_bytes[c], g_len[c]};
}

int to_cp852(const uint8_t* bytes, size_t n) {
  if (!g_ready) init_for("UTF-8");
  if (n == 1 && bytes[0] < 0x80) return bytes[0];
  for (int c = 0x80; c < 256; ++c) {
    // A transliterated entry ("?" or a plain letter) is no true image of its byte.
    if (g_len[c] == n && std::memcmp(g_bytes[c], bytes, n) == 0 && (n > 1 || bytes[0] >= 0x80)) {
      return c;
    }
  }
  return -1;
}

}  // namespace Charset

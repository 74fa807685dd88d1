// Fuzzes the key decoder as the terminal drives it: any bytes, delivered in any split across
// reads, with time-outs in between. Every byte is consumed, no read waits forever, and no more
// keys come out than bytes went in.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "charset.h"
#include "keydecoder.h"

namespace {

constexpr size_t kPendingSize = 64;  // as the terminal's buffer of undecoded bytes

void require(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  // The first two bytes choose the reads' sizes, the time-outs and the charset; the rest is input.
  const uint8_t split = data[0];
  const uint8_t timeouts = data[1];
  data += 2;
  size -= 2;
  static bool ready = false;
  if (!ready) {
    Charset::init_for("UTF-8");
    ready = true;
  }
  const KeyDecoder::Config config{(split & 0x80) == 0, Charset::to_cp852};

  uint8_t pending[kPendingSize];
  size_t pending_len = 0;
  size_t fed = 0;
  size_t events = 0;
  size_t round = 0;

  auto decode_all = [&](bool final) {
    while (pending_len > 0) {
      const KeyDecoder::Result r = KeyDecoder::decode(pending, pending_len, final, config);
      require(r.consumed <= pending_len);
      if (final) require(r.consumed >= 1);
      // A full buffer always holds something decodable, or reading would stall.
      if (pending_len == kPendingSize) require(r.consumed >= 1);
      if (r.consumed == 0) return;
      if (r.has_event && r.event.kind == Console::InputEvent::Kind::Key) ++events;
      std::memmove(pending, pending + r.consumed, pending_len - r.consumed);
      pending_len -= r.consumed;
    }
  };

  while (fed < size) {
    size_t chunk = static_cast<size_t>((split & 0x0F) + 1) + (round % 3);
    if (chunk > size - fed) chunk = size - fed;
    if (chunk > kPendingSize - pending_len) chunk = kPendingSize - pending_len;
    std::memcpy(pending + pending_len, data + fed, chunk);
    pending_len += chunk;
    fed += chunk;
    decode_all(false);
    if ((timeouts >> (round % 8)) & 1) decode_all(true);  // no byte came within the time-out
    ++round;
    require(round <= size + 1);
  }
  decode_all(true);
  require(pending_len == 0);
  require(events <= size);
  return 0;
}

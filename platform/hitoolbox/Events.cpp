#include "platform/hitoolbox/Events.h"

#include <atomic>

namespace platform {

namespace {

// The keyboard is shared by every thread, as the hardware is.
std::atomic<uint8_t> gKeys[16];

}  // namespace

void SetKeyDown(int keyCode, bool down) {
  if (keyCode < 0 || keyCode >= 128) return;
  const uint8_t bit = static_cast<uint8_t>(1u << (keyCode % 8));
  if (down) {
    gKeys[keyCode / 8].fetch_or(bit);
  } else {
    gKeys[keyCode / 8].fetch_and(static_cast<uint8_t>(~bit));
  }
}

void ReleaseAllKeys() {
  for (auto& byte : gKeys) byte.store(0);
}

}  // namespace platform

extern "C" void GetKeys(KeyMap keys) {
  for (int i = 0; i < 16; ++i) keys[i] = platform::gKeys[i].load();
}

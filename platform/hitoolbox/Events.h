#pragma once

#include <cstdint>

// Stand-in for the keyboard state of the Event Manager. With no keyboard
// attached, a key is down only while the host (or a test) says so.
extern "C" {

// 128 bits, one per virtual key code: key k is bit (k % 8) of byte k / 8.
typedef uint8_t KeyMap[16];

void GetKeys(KeyMap keys);

}  // extern "C"

namespace platform {

constexpr int kOptionKeyCode = 58;

void SetKeyDown(int keyCode, bool down);
void ReleaseAllKeys();

}  // namespace platform

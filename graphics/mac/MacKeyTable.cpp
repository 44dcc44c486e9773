#include "graphics/mac/MacKeyTable.h"

namespace {

// Mac virtual key codes.
enum { kMacSpace = 49, kMacLeft = 123, kMacRight = 124, kMacDown = 125, kMacUp = 126 };

}  // namespace

int MacKeyToIGraphicsKey(int keyCode, int character) {
  switch (keyCode) {
    case kMacSpace: return KEY_SPACE;
    case kMacUp: return KEY_UPARROW;
    case kMacDown: return KEY_DOWNARROW;
    case kMacLeft: return KEY_LEFTARROW;
    case kMacRight: return KEY_RIGHTARROW;
    default: break;
  }
  if (character >= '0' && character <= '9') return KEY_DIGIT_0 + (character - '0');
  if (character >= 'A' && character <= 'Z') return KEY_ALPHA_A + (character - 'A');
  if (character >= 'a' && character <= 'z') return KEY_ALPHA_A + (character - 'a');
  return -1;
}

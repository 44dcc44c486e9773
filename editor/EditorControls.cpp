#include "editor/EditorControls.h"

#include "graphics/controls/ControlScaling.h"
#include "graphics/controls/ITextControlClick.h"

namespace EditorControls {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

IColor HexToIColor(const char* hex, int alpha) {
  unsigned n = 0;
  if (hex && hex[0]) {
    // Only the low 24 bits make a colour; keeping only those lets a long
    // run of digits wrap instead of overflowing.
    for (const char* c = hex + 1; HexDigit(*c) >= 0; ++c) {
      n = ((n << 4) | static_cast<unsigned>(HexDigit(*c))) & 0xffffffu;
    }
  }
  return IColor(alpha, static_cast<int>(n / 65536), static_cast<int>((n / 256) % 256), static_cast<int>(n % 256));
}

ITextControlClick* NewTextControlClick(IPlugBase* plug, const IRECT& rect, const IText& text, const char* str,
                                       int tag) {
  const IText smaller = ControlScaling::ResizedText(text, text.mSize - 1);
  return new ITextControlClick(plug, rect, &smaller, str, tag);
}

}  // namespace EditorControls

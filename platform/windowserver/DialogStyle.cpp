#include "platform/windowserver/DialogStyle.h"

#include <algorithm>

namespace platform {

using namespace dialog_style;

int ButtonWidth(DialogCanvas& canvas, const std::string& title) {
  return std::max(kButtonMinWidth, canvas.TextWidth(title) + 32);
}

void DrawButton(DialogCanvas& canvas, const DialogButton& b, bool isDefault, bool pressed, bool focused) {
  if (focused) canvas.Outline(b.x - 3, b.y - 3, b.width + 6, b.height + 6, kFocusRing, 2);
  if (isDefault) {
    canvas.Fill(b.x, b.y, b.width, b.height, pressed ? kAccentPressed : kAccent);
  } else {
    canvas.Fill(b.x, b.y, b.width, b.height, pressed ? kButtonPressed : kButtonFace);
    canvas.Outline(b.x, b.y, b.width, b.height, kBorder);
  }
  const int textWidth = canvas.TextWidth(b.title);
  const int baseline = b.y + (b.height + canvas.Ascent() - canvas.Descent()) / 2;
  canvas.Text(b.x + (b.width - textWidth) / 2, baseline, b.title, isDefault ? kWhite : kText, false, b.width - 8);
}

}  // namespace platform

#pragma once

#include <string>

#include "platform/windowserver/DialogCanvas.h"

// The look the dialog windows share: colours, sizes and the push button.
namespace platform {

namespace dialog_style {

constexpr Rgb kBackground{236, 236, 236};
constexpr Rgb kText{28, 28, 28};
constexpr Rgb kQuietText{110, 110, 110};
constexpr Rgb kWarningText{180, 30, 30};
constexpr Rgb kAccent{48, 102, 214};
constexpr Rgb kAccentPressed{30, 76, 170};
constexpr Rgb kFocusRing{128, 166, 238};
constexpr Rgb kBorder{160, 160, 160};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kButtonFace{250, 250, 250};
constexpr Rgb kButtonPressed{214, 214, 214};

constexpr int kMargin = 18;
constexpr int kLineHeight = 18;
constexpr int kButtonHeight = 28;
constexpr int kButtonGap = 10;
constexpr int kButtonMinWidth = 86;

}  // namespace dialog_style

struct DialogButton {
  std::string title;
  int x = 0, y = 0, width = 0, height = dialog_style::kButtonHeight;
  bool Contains(int px, int py) const { return px >= x && px < x + width && py >= y && py < y + height; }
};

// As wide as its title needs, at least the common width.
int ButtonWidth(DialogCanvas& canvas, const std::string& title);
// The default button is filled with the accent colour; the focused one has
// a ring around it.
void DrawButton(DialogCanvas& canvas, const DialogButton& button, bool isDefault, bool pressed, bool focused);

}  // namespace platform

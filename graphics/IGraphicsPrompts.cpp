#include <cmath>
#include <string>

#include "framework/IParam.h"
#include "framework/IPopupMenu.h"
#include "framework/NumberText.h"
#include "graphics/IControl.h"
#include "graphics/IGraphics.h"

namespace {

bool PromptsWithPopup(const IParam& param) {
  return param.Type() == IParam::kTypeEnum || (param.Type() == IParam::kTypeBool && param.GetNDisplayTexts() > 0);
}

// A typed text names a display text only where there are display texts; a
// two-state parameter without them reads the text as a number.
bool ChoosesDisplayText(const IParam& param) {
  if (param.GetNDisplayTexts() <= 0) return false;
  return param.Type() == IParam::kTypeEnum || param.Type() == IParam::kTypeBool;
}

// The number a user typed, with a k (or else a K) as the decimal point of
// thousands: "2k5" is 2500, "1.5k" 1500. False when the text does not start
// with a finite number, so an emptied field or "abc" changes nothing.
bool ReadTypedNumber(const char* text, double* value) {
  std::string s = text ? text : "";
  bool kilo = false;
  std::string::size_type k = s.find('k');
  if (k == std::string::npos) k = s.find('K');
  if (k != std::string::npos) {
    s[k] = '.';
    kilo = true;
  }
  double v = 0.0;
  if (!ScanDoubleC(s.c_str(), &v) || !std::isfinite(v)) return false;
  *value = kilo ? v * 1000.0 : v;
  return true;
}

}  // namespace

void IGraphics::PromptUserInput(IControl* control, IParam* param, IRECT* rect) {
  if (!control || !param || !rect) return;
  char current[kNumberTextSize];

  if (PromptsWithPopup(*param)) {
    param->GetDisplayForHost(param->Value(), false, current, sizeof current, true);
    IPopupMenu menu;
    for (int i = 0; i < param->GetNDisplayTexts(); ++i) {
      const char* text = param->GetDisplayText(i);
      menu.AddItem(text, -1, std::string(text) == current ? IPopupMenuItem::kChecked : IPopupMenuItem::kNoFlags);
    }
    // The platform may deliver the click's mouse-up while the menu is open;
    // the host hears the edit end only after the choice is applied.
    mPopupOpen = true;
    IPopupMenu* chosen = CreateIPopupMenu(&menu, rect);
    mPopupOpen = false;
    if (chosen && chosen->GetChosenItemIdx() >= 0) {
      control->SetValueFromUserInput(param->ToNormalizedParam(chosen->GetChosenItemIdx()));
    }
    EndParamEdit();
    return;
  }

  param->GetDisplayForHost(param->Value(), false, current, sizeof current, false);
  CreateTextEntry(control, control->GetIText(), rect, current, param);
}

void IGraphics::SetFromStringAfterPrompt(IControl* control, IParam* param, const char* text) {
  if (!control || !param) return;
  double value = 0.0;
  if (ChoosesDisplayText(*param)) {
    int mapped = 0;
    if (!param->MapDisplayText(text ? text : "", &mapped)) mapped = 0;
    value = mapped;
  } else if (!ReadTypedNumber(text, &value)) {
    return;
  }
  control->SetValueFromUserInput(param->ToNormalizedParam(value));
}

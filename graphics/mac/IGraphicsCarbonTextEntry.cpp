#include <cstring>
#include <string>

#include "framework/IParam.h"
#include "graphics/IControl.h"
#include "graphics/IRECT.h"
#include "graphics/IText.h"
#include "graphics/mac/IGraphicsCarbon.h"
#include "graphics/mac/IGraphicsMac.h"
#include "platform/ats/ATSFont.h"
#include "platform/hitoolbox/Appearance.h"
#include "platform/hitoolbox/EditText.h"

// The one-line edit field the Carbon view opens over a control for a typed
// value, and the character rules it applies.

namespace {

const EventTypeSpec kFieldEvents[] = {{kEventClassKeyboard, kEventRawKeyDown}, {kEventClassKeyboard, kEventRawKeyRepeat}};

enum { kMacLeftArrow = 123, kMacUpArrow = 126 };

template <typename T>
T Param(EventRef event, EventParamName name, EventParamType type) {
  T value{};
  GetEventParameter(event, name, type, nullptr, sizeof value, nullptr, &value);
  return value;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

void IGraphicsCarbon::CreateTextEntry(IControl* control, IText* text, IRECT* textRect, const char* initialText,
                                      IParam* param) {
  if (!control || !textRect || mTextEntryView || !mIsComposited) return;
  const Rect bounds{static_cast<int16_t>(textRect->T), static_cast<int16_t>(textRect->L),
                    static_cast<int16_t>(textRect->B), static_cast<int16_t>(textRect->R)};
  ControlRef field = nullptr;
  if (CreateEditUnicodeTextControl(nullptr, &bounds, nullptr, false, nullptr, &field) != noErr || !field) return;
  HIViewAddSubview(mView, field);
  InstallEventHandler(GetControlEventTarget(field), TextEntryHandler, 2, kFieldEvents, this, &mTextEntryHandler);
  mTextEntryView = field;

  if (initialText && initialText[0]) {
    CFStringRef initial = CFStringCreateWithCString(nullptr, initialText, kCFStringEncodingUTF8);
    SetControlData(field, kControlEntireControl, kControlEditTextCFStringTag, sizeof initial, &initial);
    CFRelease(initial);
    // All selected, so that typing replaces the value.
    const ControlEditTextSelectionRec selection{0, static_cast<int16_t>(std::strlen(initialText))};
    SetControlData(field, kControlEntireControl, kControlEditTextSelectionTag, sizeof selection, &selection);
  }

  if (text) {
    ControlFontStyleRec style{};
    style.flags = kControlUseFontMask | kControlUseSizeMask | kControlUseJustMask;
    CFStringRef face = CFStringCreateWithCString(nullptr, text->mFont, kCFStringEncodingUTF8);
    style.font = static_cast<int16_t>(ATSFontFamilyFindFromName(face, kATSOptionFlagsDefault));
    CFRelease(face);
    style.size = static_cast<int16_t>(text->mSize);
    style.just = text->mAlign == IText::kAlignNear ? teFlushDefault
                 : text->mAlign == IText::kAlignFar ? teFlushRight
                                                    : teCenter;
    SetControlData(field, kControlEntireControl, kControlFontStyleTag, sizeof style, &style);
  }

  const Boolean singleLine = true;
  SetControlData(field, kControlEntireControl, kControlEditTextSingleLineTag, sizeof singleLine, &singleLine);
  HIViewSetVisible(field, true);
  HIViewAdvanceFocus(field, 0);
  SetKeyboardFocus(mWindow, field, kControlEditTextPart);
  SetUserFocusWindow(mWindow);
  mEdControl = control;
  mEdParam = param;
}

bool IGraphicsCarbon::AcceptsCharacter(char c) const {
  if (mEdParam) {
    switch (mEdParam->Type()) {
      // No letters, so no exponent notation either.
      case IParam::kTypeDouble:
        if (!IsDigit(c) && c != '+' && c != '-' && c != '.') return false;
        break;
      case IParam::kTypeBool:
      case IParam::kTypeInt:
      case IParam::kTypeEnum:
        if (!IsDigit(c) && c != '+' && c != '-') return false;
        break;
      default: break;
    }
  }
  // The length the text will have: a typed character replaces the
  // selection, so a selected value at the limit can still be typed over.
  // A limit of 0 is none.
  const int limit = mEdControl ? mEdControl->GetTextEntryLength() : 0;
  if (limit <= 0) return true;
  Size length = 0;
  GetControlDataSize(mTextEntryView, kControlEntireControl, kControlEditTextTextTag, &length);
  ControlEditTextSelectionRec selection{0, 0};
  GetControlData(mTextEntryView, kControlEntireControl, kControlEditTextSelectionTag, sizeof selection, &selection,
                 nullptr);
  return length - (selection.selEnd - selection.selStart) < limit;
}

OSStatus IGraphicsCarbon::TextEntryHandler(EventHandlerCallRef, EventRef event, void* view) {
  auto* self = static_cast<IGraphicsCarbon*>(view);
  const uint32_t kind = GetEventKind(event);
  if (GetEventClass(event) != kEventClassKeyboard || (kind != kEventRawKeyDown && kind != kEventRawKeyRepeat)) {
    return eventNotHandledErr;
  }
  const char c = Param<char>(event, kEventParamKeyMacCharCodes, typeChar);
  const uint32_t code = Param<uint32_t>(event, kEventParamKeyCode, typeUInt32);
  if (c == 3 || c == 13) {
    self->EndUserInput(true);
    return noErr;
  }
  // The field moves its caret and deletes by itself, even at the limit.
  if ((code >= kMacLeftArrow && code <= kMacUpArrow) || c == 8 || c == 127) return eventNotHandledErr;
  // Swallowed: handled here, so the field never types it.
  return self->AcceptsCharacter(c) ? eventNotHandledErr : static_cast<OSStatus>(noErr);
}

void IGraphicsCarbon::RemoveTextEntry() {
  if (mTextEntryHandler) RemoveEventHandler(mTextEntryHandler);
  mTextEntryHandler = nullptr;
  if (ControlRef field = mTextEntryView) {
    mTextEntryView = nullptr;
    HIViewSetVisible(field, false);
    HIViewRemoveFromSuperview(field);
  }
  mEdControl = nullptr;
  mEdParam = nullptr;
}

void IGraphicsCarbon::EndUserInput(bool commit) {
  IGraphicsMac* graphics = mGraphicsMac;
  IControl* control = mEdControl;
  IParam* param = mEdParam;
  std::string typed;
  bool taken = false;
  if (mTextEntryHandler) RemoveEventHandler(mTextEntryHandler);
  mTextEntryHandler = nullptr;
  if (commit && mTextEntryView && control) {
    CFStringRef text = nullptr;
    if (GetControlData(mTextEntryView, kControlEntireControl, kControlEditTextCFStringTag, sizeof text, &text,
                       nullptr) == noErr && text) {
      char buffer[512];
      taken = CFStringGetCString(text, buffer, sizeof buffer, kCFStringEncodingUTF8);
      if (taken) typed = buffer;
      CFRelease(text);
    }
  }
  RemoveTextEntry();
  if (mIsComposited) {
    HIViewSetNeedsDisplay(mView, true);
  } else if (control) {
    control->SetDirty(false);
  }
  SetThemeCursor(kThemeArrowCursor);
  SetUserFocusWindow(kUserFocusAuto);
  // Last: what the editor does with the text may close this view.
  if (!taken) return;
  if (param) graphics->SetFromStringAfterPrompt(control, param, typed.c_str());
  else control->TextFromTextEntry(typed.c_str());
}

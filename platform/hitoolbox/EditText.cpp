#include "platform/hitoolbox/EditText.h"

#include <algorithm>
#include <cstring>

#include "platform/corefoundation/CFStringObject.h"
#include "platform/hitoolbox/EditTextState.h"
#include "platform/hitoolbox/HIView.h"
#include "platform/hitoolbox/ViewRecord.h"
#include "platform/hitoolbox/WindowRecord.h"
#include "platform/windowserver/Backend.h"

namespace {

platform::EditTextState* StateOf(ControlRef control) {
  return control && platform::IsLiveView(control) ? control->edit : nullptr;
}

void Changed(platform::EditTextState* state) {
  if (state->shown) platform::Backend().TextFieldChanged(state);
}

// Byte offsets on character boundaries of the UTF-8 text.
int PreviousBoundary(const std::string& text, int at) {
  int i = at - 1;
  while (i > 0 && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) --i;
  return std::max(i, 0);
}
int NextBoundary(const std::string& text, int at) {
  int i = at + 1;
  while (i < static_cast<int>(text.size()) && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
  return std::min(i, static_cast<int>(text.size()));
}

void ReplaceSelection(platform::EditTextState* s, const std::string& with) {
  s->text.replace(s->selStart, s->selEnd - s->selStart, with);
  s->selStart = s->selEnd = s->selStart + static_cast<int>(with.size());
}

// What the field does with a key no handler took.
OSStatus TypeKey(ControlRef control, EventRef event) {
  platform::EditTextState* s = StateOf(control);
  if (!s) return eventNotHandledErr;
  const uint32_t kind = GetEventKind(event);
  if (GetEventClass(event) != kEventClassKeyboard || (kind != kEventRawKeyDown && kind != kEventRawKeyRepeat)) {
    return eventNotHandledErr;
  }
  char c = 0;
  uint32_t code = 0;
  GetEventParameter(event, kEventParamKeyMacCharCodes, typeChar, nullptr, sizeof c, nullptr, &c);
  GetEventParameter(event, kEventParamKeyCode, typeUInt32, nullptr, sizeof code, nullptr, &code);
  const unsigned char ch = static_cast<unsigned char>(c);
  const int length = static_cast<int>(s->text.size());
  if (ch == '\t') return eventNotHandledErr;  // focus moves on; not ours
  if (code == 123 || ch == 28) {
    s->selStart = s->selEnd = s->selStart < s->selEnd ? s->selStart : PreviousBoundary(s->text, s->selStart);
  } else if (code == 124 || ch == 29) {
    s->selStart = s->selEnd = s->selStart < s->selEnd ? s->selEnd : NextBoundary(s->text, s->selEnd);
  } else if (code == 126 || ch == 30) {
    s->selStart = s->selEnd = 0;
  } else if (code == 125 || ch == 31) {
    s->selStart = s->selEnd = length;
  } else if (ch == 8) {
    if (s->selStart == s->selEnd) s->selStart = PreviousBoundary(s->text, s->selStart);
    ReplaceSelection(s, "");
  } else if (ch == 127) {
    if (s->selStart == s->selEnd) s->selEnd = NextBoundary(s->text, s->selEnd);
    ReplaceSelection(s, "");
  } else if (ch >= 32) {
    ReplaceSelection(s, std::string(1, c));
  } else {
    // Return, Enter, Escape and other control characters type nothing.
    return noErr;
  }
  Changed(s);
  return noErr;
}

void ClampSelection(platform::EditTextState* s) {
  const int length = static_cast<int>(s->text.size());
  s->selStart = std::clamp(s->selStart, 0, length);
  s->selEnd = std::clamp(s->selEnd, s->selStart, length);
}

}  // namespace

OSStatus CreateEditUnicodeTextControl(WindowRef window, const Rect* bounds, CFStringRef text, Boolean isPassword,
                                      const ControlFontStyleRec* style, ControlRef* outControl) {
  if (!bounds || !outControl) return paramErr;
  ControlRef field = platform::MakeView(
      window, OpaqueControlRef::kEditText,
      CGRectMake(bounds->left, bounds->top, bounds->right - bounds->left, bounds->bottom - bounds->top));
  field->edit = new platform::EditTextState(field);
  field->edit->text = text ? platform::TextOf(text) : "";
  field->edit->selStart = field->edit->selEnd = static_cast<int>(field->edit->text.size());
  field->edit->password = isPassword;
  if (style) field->edit->style = *style;
  platform::SetStandardEventHandler(GetControlEventTarget(field),
                                    [field](EventRef event) { return TypeKey(field, event); });
  *outControl = field;
  return noErr;
}

OSStatus SetControlData(ControlRef control, ControlPartCode, ResType tag, Size size, const void* data) {
  platform::EditTextState* s = StateOf(control);
  if (!s) return errDataNotSupported;
  if (!data && size > 0) return paramErr;
  switch (tag) {
    case kControlEditTextCFStringTag: {
      if (size != static_cast<Size>(sizeof(CFStringRef))) return paramErr;
      CFStringRef string = nullptr;
      std::memcpy(&string, data, sizeof string);
      s->text = platform::TextOf(string);
      break;
    }
    case kControlEditTextTextTag: s->text.assign(static_cast<const char*>(data), static_cast<size_t>(size)); break;
    case kControlEditTextSelectionTag: {
      if (size != static_cast<Size>(sizeof(ControlEditTextSelectionRec))) return paramErr;
      ControlEditTextSelectionRec selection;
      std::memcpy(&selection, data, sizeof selection);
      s->selStart = selection.selStart;
      s->selEnd = selection.selEnd;
      break;
    }
    case kControlFontStyleTag:
      if (size != static_cast<Size>(sizeof(ControlFontStyleRec))) return paramErr;
      std::memcpy(&s->style, data, sizeof s->style);
      break;
    case kControlEditTextSingleLineTag:
      if (size != static_cast<Size>(sizeof(Boolean))) return paramErr;
      s->singleLine = *static_cast<const Boolean*>(data) != 0;
      break;
    default: return errDataNotSupported;
  }
  ClampSelection(s);
  Changed(s);
  return noErr;
}

OSStatus GetControlDataSize(ControlRef control, ControlPartCode, ResType tag, Size* maxSize) {
  platform::EditTextState* s = StateOf(control);
  if (!s) return errDataNotSupported;
  if (!maxSize) return paramErr;
  switch (tag) {
    case kControlEditTextCFStringTag: *maxSize = sizeof(CFStringRef); return noErr;
    case kControlEditTextTextTag: *maxSize = static_cast<Size>(s->text.size()); return noErr;
    case kControlEditTextSelectionTag: *maxSize = sizeof(ControlEditTextSelectionRec); return noErr;
    case kControlFontStyleTag: *maxSize = sizeof(ControlFontStyleRec); return noErr;
    case kControlEditTextSingleLineTag: *maxSize = sizeof(Boolean); return noErr;
    default: return errDataNotSupported;
  }
}

OSStatus GetControlData(ControlRef control, ControlPartCode part, ResType tag, Size bufferSize, void* buffer,
                        Size* actualSize) {
  platform::EditTextState* s = StateOf(control);
  if (!s) return errDataNotSupported;
  Size size = 0;
  const OSStatus status = GetControlDataSize(control, part, tag, &size);
  if (status != noErr) return status;
  if (actualSize) *actualSize = size;
  if (!buffer) return noErr;
  switch (tag) {
    case kControlEditTextCFStringTag: {
      if (bufferSize < size) return paramErr;
      CFStringRef copy = CFStringCreateWithCString(nullptr, s->text.c_str(), kCFStringEncodingUTF8);
      std::memcpy(buffer, &copy, sizeof copy);
      return copy ? noErr : paramErr;
    }
    case kControlEditTextTextTag:
      std::memcpy(buffer, s->text.data(), static_cast<size_t>(std::min(bufferSize, size)));
      return noErr;
    case kControlEditTextSelectionTag: {
      if (bufferSize < size) return paramErr;
      const ControlEditTextSelectionRec selection{static_cast<int16_t>(s->selStart), static_cast<int16_t>(s->selEnd)};
      std::memcpy(buffer, &selection, sizeof selection);
      return noErr;
    }
    case kControlFontStyleTag:
      if (bufferSize < size) return paramErr;
      std::memcpy(buffer, &s->style, sizeof s->style);
      return noErr;
    default: {
      if (bufferSize < size) return paramErr;
      const Boolean single = s->singleLine;
      std::memcpy(buffer, &single, sizeof single);
      return noErr;
    }
  }
}

namespace platform {

ScreenRect EditTextState::FieldFrame() const {
  const CGRect f = ViewFrameInContent(control);
  return ScreenRect{f.origin.x, f.origin.y, f.size.width, f.size.height};
}

ScreenWindow* EditTextState::FieldWindow() const { return ScreenWindowOf(control->window); }

void UpdateEditFieldShown(ControlRef control) {
  EditTextState* s = StateOf(control);
  if (!s) return;
  WindowRef window = control->window;
  const bool show = window && IsWindowVisible(window) && window->keyboardFocus == control && HIViewIsVisible(control);
  if (show == s->shown) {
    if (show) Backend().TextFieldChanged(s);
    return;
  }
  s->shown = show;
  if (show) Backend().TextFieldOpened(s);
  else Backend().TextFieldClosed(s);
}

void DestroyEditText(ControlRef control) {
  EditTextState* s = control->edit;
  if (!s) return;
  control->edit = nullptr;
  if (s->shown) Backend().TextFieldClosed(s);
  delete s;
}

bool GetEditFieldInfo(ControlRef control, EditFieldInfo* info) {
  EditTextState* s = StateOf(control);
  if (!s || !info) return false;
  info->text = s->text;
  info->selStart = s->selStart;
  info->selEnd = s->selEnd;
  info->singleLine = s->singleLine;
  info->style = s->style;
  return true;
}

}  // namespace platform

#pragma once

#include "platform/carboncore/MacTypes.h"
#include "platform/corefoundation/CFString.h"
#include "platform/hitoolbox/Controls.h"
#include "platform/hitoolbox/MacWindows.h"
#include "platform/quickdraw/QuickDraw.h"

// Stand-in for the Unicode edit text control: one field of text with a
// selection, typed into through raw key events while it has the keyboard
// focus (its standard handler inserts printable characters over the
// selection, backspace and delete remove, the arrows move the caret; Return
// is not typed in a single-line field). The window server shows the field
// while it has the focus of a visible window.
struct ControlFontStyleRec {
  int16_t flags;
  int16_t font;
  int16_t size;
  int16_t style;
  int16_t mode;
  int16_t just;
  RGBColor foreColor;
  RGBColor backColor;
};

struct ControlEditTextSelectionRec {
  int16_t selStart;
  int16_t selEnd;
};

enum : int16_t {
  kControlUseFontMask = 0x0001,
  kControlUseFaceMask = 0x0002,
  kControlUseSizeMask = 0x0004,
  kControlUseForeColorMask = 0x0008,
  kControlUseBackColorMask = 0x0010,
  kControlUseModeMask = 0x0020,
  kControlUseJustMask = 0x0040,
};

enum : ControlPartCode { kControlEntireControl = 0 };

// Tags of the control data: the text as a CFStringRef ('cfst', read back as
// a new string the caller releases), the text as UTF-8 bytes ('text'), the
// selection ('sele', byte offsets), the font style ('font') and the
// single-line switch ('sglc', a Boolean).
enum : ResType {
  kControlEditTextCFStringTag = 0x63667374,
  kControlEditTextTextTag = 0x74657874,
  kControlEditTextSelectionTag = 0x73656c65,
  kControlFontStyleTag = 0x666f6e74,
  kControlEditTextSingleLineTag = 0x73676c63,
};

enum : OSStatus { errDataNotSupported = -30583 };

// A visible field, in no superview yet (window may be null).
OSStatus CreateEditUnicodeTextControl(WindowRef window, const Rect* bounds, CFStringRef text, Boolean isPassword,
                                      const ControlFontStyleRec* style, ControlRef* outControl);
OSStatus SetControlData(ControlRef control, ControlPartCode part, ResType tag, Size size, const void* data);
OSStatus GetControlData(ControlRef control, ControlPartCode part, ResType tag, Size bufferSize, void* buffer,
                        Size* actualSize);
OSStatus GetControlDataSize(ControlRef control, ControlPartCode part, ResType tag, Size* maxSize);

namespace platform {

// What the field holds and how it is set up, for tests and backends.
struct EditFieldInfo {
  std::string text;
  int selStart = 0, selEnd = 0;
  bool singleLine = false;
  ControlFontStyleRec style{};
};
bool GetEditFieldInfo(ControlRef control, EditFieldInfo* info);

}  // namespace platform

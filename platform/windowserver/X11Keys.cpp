#include <X11/keysym.h>

#include "platform/windowserver/X11State.h"

namespace platform {

namespace {

struct NamedKey {
  KeySym sym;
  int code;
  char character;
};

// Mac key codes; the arrows and function keys type the Mac's own codes for
// them (0x1C to 0x1F, 0x10).
const NamedKey kNamedKeys[] = {
    {XK_Return, kKeyReturn, '\r'},     {XK_KP_Enter, 76, 3},           {XK_Escape, kKeyEscape, 27},
    {XK_BackSpace, kKeyBackspace, 8},  {XK_Delete, kKeyForwardDelete, 127}, {XK_Tab, kKeyTab, '\t'},
    {XK_Left, kKeyLeftArrow, 0x1C},    {XK_Right, kKeyRightArrow, 0x1D}, {XK_Up, kKeyUpArrow, 0x1E},
    {XK_Down, kKeyDownArrow, 0x1F},    {XK_space, kKeySpace, ' '},      {XK_F1, 122, 0x10},
    {XK_F2, 120, 0x10},                {XK_F3, 99, 0x10},               {XK_F4, 118, 0x10},
    {XK_F5, 96, 0x10},                 {XK_F6, 97, 0x10},               {XK_F7, 98, 0x10},
    {XK_F8, 100, 0x10},                {XK_F9, 101, 0x10},              {XK_F10, 109, 0x10},
    {XK_F11, 103, 0x10},               {XK_F12, 111, 0x10},
};

}  // namespace

bool TranslateKey(KeySym sym, const char* text, int length, KeyInput* out) {
  for (const NamedKey& k : kNamedKeys) {
    if (k.sym == sym) {
      out->keyCode = k.code;
      out->character = k.character;
      return true;
    }
  }
  if (length != 1 || static_cast<unsigned char>(text[0]) < 32) return false;
  const int code = MacKeyCodeForCharacter(text[0]);
  out->keyCode = code < 0 ? 0 : code;
  out->character = text[0];
  return true;
}

uint32_t TranslateModifiers(unsigned state) {
  uint32_t modifiers = 0;
  if (state & ShiftMask) modifiers |= kInputShift;
  if (state & ControlMask) modifiers |= kInputControl;
  if (state & Mod1Mask) modifiers |= kInputOption;
  if (state & Mod4Mask) modifiers |= kInputCommand;
  return modifiers;
}

}  // namespace platform

#pragma once

#include <cstdint>
#include <string>

#include "platform/carboncore/MacTypes.h"
#include "platform/quickdraw/QuickDraw.h"

// Stand-in for TextEdit: an editable field that keeps its text, selection,
// alignment and the port's text settings at creation, and TETextBox, which
// the log records as one command. Nothing is laid out beyond that.

struct TERec {
  Rect destRect;
  Rect viewRect;
  int16_t selStart;
  int16_t selEnd;
  int16_t just;
  int16_t txFont;
  int16_t txSize;
  Style txFace;
  bool active;
  int32_t idleCount;
  std::string text;
  GrafPtr inPort;
};
typedef TERec* TEPtr;
typedef TEPtr* TEHandle;

TEHandle TENew(const Rect* destRect, const Rect* viewRect);
void TEDispose(TEHandle te);
void TESetText(const void* text, int32_t length, TEHandle te);
// The field's text and its length (TERec::text holds the same).
int32_t TEGetTextLength(TEHandle te);
void TESetSelect(int32_t selStart, int32_t selEnd, TEHandle te);
void TESetAlignment(int16_t just, TEHandle te);
// Typing: a printable character replaces the selection, backspace (8)
// deletes it or the character before the caret, the left and right arrows
// (28, 29) move the caret.
void TEKey(int16_t key, TEHandle te);
void TEIdle(TEHandle te);
void TEActivate(TEHandle te);
void TEDeactivate(TEHandle te);
void TEUpdate(const Rect* r, TEHandle te);
void TETextBox(const void* text, int32_t length, const Rect* box, int16_t just);

namespace platform {

int LiveTextEditCount();

}  // namespace platform

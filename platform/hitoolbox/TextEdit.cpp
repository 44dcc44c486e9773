#include "platform/hitoolbox/TextEdit.h"

#include <algorithm>

#include "platform/quickdraw/GrafPort.h"

namespace {

int gLive = 0;

// A handle's master pointer lives beside the record it points to.
struct TEBlock {
  TEPtr master;
  TERec rec;
};

void ClampSelection(TERec& te) {
  const int16_t length = static_cast<int16_t>(te.text.size());
  te.selStart = std::clamp<int16_t>(te.selStart, 0, length);
  te.selEnd = std::clamp<int16_t>(te.selEnd, te.selStart, length);
}

}  // namespace

TEHandle TENew(const Rect* destRect, const Rect* viewRect) {
  TEBlock* block = new TEBlock;
  TERec& te = block->rec;
  te.destRect = destRect ? *destRect : Rect{0, 0, 0, 0};
  te.viewRect = viewRect ? *viewRect : te.destRect;
  te.selStart = te.selEnd = 0;
  te.just = teFlushDefault;
  GrafPtr port = GetPort();
  te.inPort = port;
  te.txFont = GetPortTextFont(port);
  te.txSize = GetPortTextSize(port);
  te.txFace = GetPortTextFace(port);
  te.active = true;
  te.idleCount = 0;
  block->master = &block->rec;
  ++gLive;
  return &block->master;
}

void TEDispose(TEHandle te) {
  if (!te) return;
  --gLive;
  delete reinterpret_cast<TEBlock*>(te);
}

void TESetText(const void* text, int32_t length, TEHandle te) {
  if (!te) return;
  (*te)->text.assign(static_cast<const char*>(text), text && length > 0 ? static_cast<size_t>(length) : 0);
  // Past 32767 characters a 16-bit selection cannot reach the end.
  if ((*te)->text.size() > 32767) (*te)->text.resize(32767);
  (*te)->selStart = (*te)->selEnd = static_cast<int16_t>((*te)->text.size());
}

int32_t TEGetTextLength(TEHandle te) { return te ? static_cast<int32_t>((*te)->text.size()) : 0; }

void TESetSelect(int32_t selStart, int32_t selEnd, TEHandle te) {
  if (!te) return;
  (*te)->selStart = static_cast<int16_t>(std::clamp<int32_t>(selStart, 0, 32767));
  (*te)->selEnd = static_cast<int16_t>(std::clamp<int32_t>(selEnd, 0, 32767));
  ClampSelection(**te);
}

void TESetAlignment(int16_t just, TEHandle te) {
  if (te) (*te)->just = just;
}

void TEKey(int16_t key, TEHandle te) {
  if (!te) return;
  TERec& r = **te;
  ClampSelection(r);
  const unsigned char c = static_cast<unsigned char>(key);
  if (c == 28 || c == 29) {
    const int16_t caret = c == 28 ? std::max<int16_t>(0, r.selStart - 1)
                                  : std::min<int16_t>(static_cast<int16_t>(r.text.size()), r.selEnd + 1);
    r.selStart = r.selEnd = caret;
    return;
  }
  if (c == 8) {
    if (r.selStart == r.selEnd && r.selStart > 0) --r.selStart;
    r.text.erase(static_cast<size_t>(r.selStart), static_cast<size_t>(r.selEnd - r.selStart));
    r.selEnd = r.selStart;
    return;
  }
  if (c < 32 || r.text.size() - static_cast<size_t>(r.selEnd - r.selStart) >= 32767) return;
  r.text.replace(static_cast<size_t>(r.selStart), static_cast<size_t>(r.selEnd - r.selStart), 1, static_cast<char>(c));
  r.selStart = r.selEnd = static_cast<int16_t>(r.selStart + 1);
}

void TEIdle(TEHandle te) {
  if (te) ++(*te)->idleCount;
}

void TEActivate(TEHandle te) {
  if (te) (*te)->active = true;
}

void TEDeactivate(TEHandle te) {
  if (te) (*te)->active = false;
}

void TEUpdate(const Rect* r, TEHandle te) {
  (void)r;
  if (!te) return;
  TETextBox((*te)->text.data(), static_cast<int32_t>((*te)->text.size()), &(*te)->viewRect, (*te)->just);
}

void TETextBox(const void* text, int32_t length, const Rect* box, int16_t just) {
  GrafPtr port = GetPort();
  if (!port || !box) return;
  platform::DrawCommand& c = platform::LogCommand(port, platform::DrawOp::kTextBox);
  c.rect = *box;
  c.justification = just;
  if (text && length > 0) c.text.assign(static_cast<const char*>(text), static_cast<size_t>(length));
}

namespace platform {

int LiveTextEditCount() { return gLive; }

}  // namespace platform

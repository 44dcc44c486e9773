#include "rtas/views/CSliderControlEditor.h"

#include <algorithm>
#include <cmath>

#include "rtas/views/CControlView.h"
#include "rtas/views/CViewGroupServices.h"
#include "rtas/views/DescriptionParser.h"
#include "rtas/library/CDAEError.h"
#include "rtas/library/ErrorThrowers.h"

void CSliderControlEditor::ApplyDescription(DescriptionParser* parser) {
  CControlEditor::ApplyDescription(parser);
  const DescriptionNode* n = parser->TakeGroup();
  if (!n) return;
  ThrowIfFalse(n->kind == DescriptionNode::kKeyword && n->value == kKeywordReverse && !n->next);
  mReverse = true;
}

bool CSliderControlEditor::IsHorizontal() const {
  return Frame().right - Frame().left >= Frame().bottom - Frame().top;
}

int CSliderControlEditor::ThumbLength() const {
  const int width = Frame().right - Frame().left;
  const int height = Frame().bottom - Frame().top;
  return static_cast<int>(std::lround(0.75 * std::min(width, height)));
}

int CSliderControlEditor::Travel() const {
  const int length = IsHorizontal() ? Frame().right - Frame().left : Frame().bottom - Frame().top;
  return std::max(0, length - ThumbLength());
}

int CSliderControlEditor::ThumbOffset(int32_t value) const {
  // The 32-bit value becomes a 15-bit position; the rounding half-step is
  // skipped at the very top, where adding it would overflow.
  const int64_t v = value >= 0x7FFF8000 ? value : static_cast<int64_t>(value) + 32768;
  const int64_t position = (v >> 17) + 16384;
  const int offset = static_cast<int>(position * Travel() / 32767);
  return mReverse ? Travel() - offset : offset;
}

Rect CSliderControlEditor::ThumbRect(int32_t value) const {
  const Rect& f = Frame();
  const int offset = ThumbOffset(value);
  const int thumb = ThumbLength();
  if (IsHorizontal()) {
    return Rect{f.top, static_cast<int16_t>(f.left + offset), f.bottom, static_cast<int16_t>(f.left + offset + thumb)};
  }
  return Rect{static_cast<int16_t>(f.bottom - offset - thumb), f.left, static_cast<int16_t>(f.bottom - offset), f.right};
}

void CSliderControlEditor::RealizeTree() {
  CControlEditor::RealizeTree();
  if (mKnob) return;
  mKnob = new CCustomView;
  mKnob->SetViewID(FourCC("Knob"));
  mKnob->SetFrameRect(ThumbRect(GetValue()));
  mKnob->SetEnabled(false);
  mKnob->SetDraggable(false);
  const bool tall = Frame().bottom - Frame().top > Frame().right - Frame().left;
  mKnob->SetPlate(true, 0, tall ? kHorizontalRidges : kVerticalRidges);
  AddChild(mKnob, false);
  if (GetViewPort()) mKnob->AttachPort(GetViewPort());
}

void CSliderControlEditor::DrawContent(const Rect& r) {
  if (!GetParentView()) {
    RGBColor saved;
    ::GetBackColor(&saved);
    const RGBColor grey{0x8888, 0x8888, 0x8888};
    RGBBackColor(&grey);
    ApplyBackPattern();
    EraseRect(&r);
    RestoreBackPattern();
    RGBBackColor(&saved);
  } else {
    EraseBackground(r);
  }
  // The groove: 2 pixels wide along the middle, 2 short of each end, dark
  // on its top and left sides, light on the others.
  const Rect& f = Frame();
  RGBColor savedFore;
  ::GetForeColor(&savedFore);
  const RGBColor dark{0x3333, 0x3333, 0x3333};
  const RGBColor light{0x9999, 0x9999, 0x9999};
  if (IsHorizontal()) {
    const int16_t mid = static_cast<int16_t>((f.top + f.bottom) / 2 - 1);
    RGBForeColor(&dark);
    MoveTo(static_cast<int16_t>(f.left + 2), static_cast<int16_t>(mid + 1));
    LineTo(static_cast<int16_t>(f.left + 2), mid);
    LineTo(static_cast<int16_t>(f.right - 3), mid);
    RGBForeColor(&light);
    LineTo(static_cast<int16_t>(f.right - 3), static_cast<int16_t>(mid + 1));
    LineTo(static_cast<int16_t>(f.left + 3), static_cast<int16_t>(mid + 1));
  } else {
    const int16_t mid = static_cast<int16_t>((f.left + f.right) / 2 - 1);
    RGBForeColor(&dark);
    MoveTo(static_cast<int16_t>(mid + 1), static_cast<int16_t>(f.top + 2));
    LineTo(mid, static_cast<int16_t>(f.top + 2));
    LineTo(mid, static_cast<int16_t>(f.bottom - 3));
    RGBForeColor(&light);
    LineTo(static_cast<int16_t>(mid + 1), static_cast<int16_t>(f.bottom - 3));
    LineTo(static_cast<int16_t>(mid + 1), static_cast<int16_t>(f.top + 3));
  }
  RGBForeColor(&savedFore);
}

void CSliderControlEditor::TrackClick(const EventRecord* event, bool synthetic) {
  const Rect thumb = ThumbRect(GetValue());
  if (!PtInRect(event->where, &thumb)) return;
  const bool horizontal = IsHorizontal();
  int range = Travel() * ((event->modifiers & cmdKey) ? 6 : 1);
  if (range < 1) range = 1;
  const int64_t startValue = GetValue();
  const Point start = event->where;
  if (mKnob) mKnob->SetHilite(true);
  while (StillDown()) {
    Point mouse;
    GetMouse(&mouse);
    if (synthetic) {
      Rect visible;
      GetVisibleRect(&visible);
      if (!PtInRect(mouse, &Frame()) && !PtInRect(mouse, &visible)) break;
    }
    // Right, or up on a vertical slider, raises the value.
    int pixels = horizontal ? mouse.h - start.h : start.v - mouse.v;
    if (mReverse) pixels = -pixels;
    const int64_t value = std::clamp<int64_t>(startValue + pixels * (4294967295LL / range), INT32_MIN, INT32_MAX);
    if (value != GetValue()) {
      SetValue(static_cast<int32_t>(value));
      ShowValueSet();
    } else if (GetControlView()) {
      GetControlView()->IdleView(nullptr);
    }
    YieldViewGroupLock();
  }
  if (mKnob) mKnob->SetHilite(false);
}

void CSliderControlEditor::ValueChanged() {
  if (!mKnob) return;
  const Rect to = ThumbRect(GetValue());
  mKnob->MoveWithRedraw(static_cast<int16_t>(to.left - mKnob->Frame().left),
                        static_cast<int16_t>(to.top - mKnob->Frame().top));
}

void CSliderControlEditor::RefreshValue() {
  if (!mKnob) return;
  const Rect to = ThumbRect(GetValue());
  mKnob->MoveViewTo(to.left, to.top);
}

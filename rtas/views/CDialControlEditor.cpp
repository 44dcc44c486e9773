#include "rtas/views/CDialControlEditor.h"

#include <algorithm>
#include <cmath>

#include "rtas/views/CControlView.h"
#include "rtas/views/CViewGroupServices.h"
#include "rtas/views/DescriptionParser.h"
#include "rtas/views/PlatePalette.h"
#include "rtas/library/CDAEError.h"
#include "rtas/library/ErrorThrowers.h"

namespace {

const RGBColor kFaceGrey{0xAAAA, 0xAAAA, 0xAAAA};

}  // namespace

void CDialControlEditor::ApplyDescription(DescriptionParser* parser) {
  CControlEditor::ApplyDescription(parser);
  for (const DescriptionNode* n = parser->TakeGroup(); n; n = n->next) {
    ThrowIfFalse(n->kind == DescriptionNode::kKeyword);
    if (n->value == kKeywordCyclical) mCyclical = true;
    else if (n->value == kKeywordReverse) mReverse = true;
    else throw CDAEError(-7400);
  }
}

double CDialControlEditor::PointerAngle(int32_t value) const {
  double angle = value / 2147483647.0 * M_PI;
  if (!mCyclical) angle *= 0.8;
  if (mReverse) angle = -angle;
  return angle - M_PI / 2;
}

void CDialControlEditor::PointerLine(int32_t value, Point* from, Point* to) const {
  Rect face = Frame();
  InsetRect(&face, 8, 8);
  const double a = (face.right - face.left) / 2.0;
  const double b = (face.bottom - face.top) / 2.0;
  const double ch = (face.left + face.right) / 2.0;
  const double cv = (face.top + face.bottom) / 2.0;
  const double angle = PointerAngle(value);
  const double dx = a * std::cos(angle);
  const double dy = b * std::sin(angle);
  *from = Point{static_cast<int16_t>(std::lround(cv + 0.25 * dy)), static_cast<int16_t>(std::lround(ch + 0.25 * dx))};
  *to = Point{static_cast<int16_t>(std::lround(cv + dy)), static_cast<int16_t>(std::lround(ch + dx))};
}

int32_t CDialControlEditor::ValueForAngle(int angleDegrees, int32_t present) const {
  int angle = angleDegrees > 180 ? angleDegrees - 360 : angleDegrees;
  if (mReverse) angle = -angle;
  if (!mCyclical) angle = angle * 10 / 8;
  angle = std::clamp(angle, -180, 180);
  const int16_t fraction = static_cast<int16_t>(angle == 180 ? 32767 : angle * 65536 / 360);
  // The same upper half as the present value keeps the value as it is, so
  // that the low half the value carries is not lost to the mouse's jitter.
  if (fraction == static_cast<int16_t>(static_cast<uint32_t>(present) >> 16)) return present;
  uint32_t value = static_cast<uint32_t>(static_cast<int32_t>(fraction)) << 16;
  if (fraction > 0) value += static_cast<uint32_t>((2 * fraction) % 65536);
  return static_cast<int32_t>(value);
}

void CDialControlEditor::GetForeColor(RGBColor* color) {
  if (IsHilited() && HasControlHighlight()) {
    uint16_t highlight = 0;
    int16_t second = 0;
    GetControlHighlight(&highlight, &second, nullptr);
    int16_t index;
    if (HighlightPaletteIndex(highlight, &index)) {
      *color = PlatePalette::Get(index).c[4];
      return;
    }
  }
  if (!IsHilited() && GetStoredPlateColorIndex() == 4) {
    *color = RGBColor{0x0000, 0x0000, 0xAAAA};
  } else if (!IsHilited() && GetStoredPlateColorIndex() == 1) {
    *color = RGBColor{0x0000, 0x6666, 0xFFFF};
  } else {
    CControlEditor::GetForeColor(color);
  }
}

void CDialControlEditor::DrawPointer(int32_t value, const RGBColor& color) {
  Point from, to;
  PointerLine(value, &from, &to);
  RGBForeColor(&color);
  PenSize(1, 1);
  MoveTo(from.h, from.v);
  LineTo(to.h, to.v);
}

void CDialControlEditor::DrawContent(const Rect& r) {
  EraseBackground(r);
  RGBColor savedFore, savedBack;
  ::GetForeColor(&savedFore);
  ::GetBackColor(&savedBack);
  Rect face = Frame();
  InsetRect(&face, 4, 4);
  RGBBackColor(&kFaceGrey);
  EraseOval(&face);
  RGBColor fore;
  GetForeColor(&fore);
  RGBForeColor(&fore);
  PenSize(2, 2);
  FrameOval(&face);
  mShownValue = GetValue();
  mShown = true;
  DrawPointer(mShownValue, fore);
  PenSize(1, 1);
  RGBForeColor(&savedFore);
  RGBBackColor(&savedBack);
}

void CDialControlEditor::ValueChanged() {
  const int32_t value = GetValue();
  if (!GetViewPort() || (mShown && value == mShownValue)) return;
  CViewFocus focus(this, nullptr);
  RGBColor savedFore;
  ::GetForeColor(&savedFore);
  if (mShown) DrawPointer(mShownValue, kFaceGrey);
  RGBColor fore;
  GetForeColor(&fore);
  DrawPointer(value, fore);
  mShownValue = value;
  mShown = true;
  RGBForeColor(&savedFore);
}

void CDialControlEditor::TrackClick(const EventRecord* event, bool synthetic) {
  (void)event;
  SetHilite(true);
  Point last{-32768, -32768};
  while (StillDown()) {
    Point mouse;
    GetMouse(&mouse);
    if (synthetic) {
      Rect visible;
      GetVisibleRect(&visible);
      if (!PtInRect(mouse, &Frame()) && !PtInRect(mouse, &visible)) break;
    }
    if (mouse != last) {
      last = mouse;
      int16_t angle = 0;
      PtToAngle(&Frame(), mouse, &angle);
      const int32_t value = ValueForAngle(angle, GetValue());
      if (value != GetValue()) {
        SetValue(value);
        ShowValueSet();
      }
    }
    YieldViewGroupLock();
  }
  SetHilite(false);
}

#include "rtas/views/CCustomView.h"

#include "rtas/views/CViewGroupServices.h"
#include "rtas/views/DescriptionParser.h"
#include "rtas/views/PlatePalette.h"
#include "rtas/library/CDAEError.h"
#include "rtas/library/ErrorThrowers.h"

namespace {

PixPatHandle gPatternA = nullptr;
PixPatHandle gPatternB = nullptr;
int gPatternHolders = 0;

}  // namespace

CCustomView::CCustomView() { AcquireSharedPatterns(); }

CCustomView::~CCustomView() {
  if (!mHoldsPatterns) return;
  if (gPatternHolders == 1) {
    DisposePixPat(gPatternA);
    DisposePixPat(gPatternB);
    gPatternA = gPatternB = nullptr;
  }
  --gPatternHolders;
}

// Each view holds the shared patterns at most once, so that the count of
// holders falls to zero exactly when the last holder goes.
void CCustomView::AcquireSharedPatterns() {
  if (!gPatternA) {
    CBundleResourceScope bundle;
    gPatternA = LoadPixPat(kPatternA);
  }
  if (!gPatternB) {
    CBundleResourceScope bundle;
    gPatternB = LoadPixPat(kPatternB);
  }
  if ((gPatternA || gPatternB) && !mHoldsPatterns) {
    mHoldsPatterns = true;
    ++gPatternHolders;
  }
}

PixPatHandle CCustomView::SharedPatternA() { return gPatternA; }
PixPatHandle CCustomView::SharedPatternB() { return gPatternB; }
int CCustomView::SharedPatternHolders() { return gPatternHolders; }

void CCustomView::ApplyDescription(DescriptionParser* parser) {
  AcquireSharedPatterns();
  const DescriptionNode* n = parser->TakeGroup();
  ThrowIfNil(n);
  ThrowIfFalse(n->kind == DescriptionNode::kFourCC);
  SetViewID(n->FourCC());
  for (n = n->next; n; n = n->next) {
    if (n->kind == DescriptionNode::kInteger) {
      mPlateColorIndex = static_cast<int16_t>(n->Integer());
    } else if (n->kind == DescriptionNode::kKeyword && n->value == kKeywordPlate) {
      mPlate = true;
    } else if (n->kind == DescriptionNode::kKeyword && n->value == kKeywordInversePlate) {
      mPlate = true;
      mInverse = true;
    } else {
      throw CDAEError(-7400);
    }
  }
}

void CCustomView::SetPlate(bool plate, int16_t colorIndex, uint16_t ridgeMarks) {
  mPlate = plate;
  mPlateColorIndex = colorIndex;
  mRidgeMarks = ridgeMarks;
  if (GetViewPort()) DrawRect(&Frame());
}

bool CCustomView::HighlightPaletteIndex(uint16_t highlightColor, int16_t* paletteIndex) {
  static const int16_t kByColor[] = {2, 5, 3, 6};
  if (highlightColor > 3) return false;
  *paletteIndex = kByColor[highlightColor];
  return true;
}

int16_t CCustomView::GetPlateColorIndex() {
  if (IsHilited()) return 1;
  if (HasControlHighlight()) {
    uint16_t color = 0;
    int16_t second = 0;
    GetControlHighlight(&color, &second, nullptr);
    int16_t index;
    if (HighlightPaletteIndex(color, &index)) return index;
  }
  return mPlateColorIndex;
}

void CCustomView::GetBackColor(RGBColor* color) {
  if (mPlate) {
    *color = PlatePalette::Get(GetPlateColorIndex()).c[2];
    return;
  }
  CPlugInView::GetBackColor(color);
}

PixPatHandle CCustomView::GetBackPixPat() {
  if (mPlate) return mPlateColorIndex == 0 ? gPatternA : gPatternB;
  return CPlugInView::GetBackPixPat();
}

void CCustomView::EraseBackground(const Rect& r) {
  if (mPlate) {
    DrawPlate(r);
    return;
  }
  Rect area;
  if (SectRect(&r, &Frame(), &area)) CPlugInView::EraseBackground(area);
}

void CCustomView::DrawPlate(const Rect& r) {
  (void)r;
  const Rect& f = Frame();
  const int16_t l = f.left, t = f.top, rt = f.right, b = f.bottom;
  const PlatePalette& p = PlatePalette::Get(GetPlateColorIndex());
  RGBColor saved;
  ::GetForeColor(&saved);
  auto fore = [](const RGBColor& c) { RGBForeColor(&c); };
  auto at = [](int h, int v) { MoveTo(static_cast<int16_t>(h), static_cast<int16_t>(v)); };
  auto to = [](int h, int v) { LineTo(static_cast<int16_t>(h), static_cast<int16_t>(v)); };

  fore(p.c[2]);
  const Rect face = mInverse ? Rect{static_cast<int16_t>(t + 3), static_cast<int16_t>(l + 3), static_cast<int16_t>(b - 2),
                                    static_cast<int16_t>(rt - 2)}
                             : Rect{static_cast<int16_t>(t + 2), static_cast<int16_t>(l + 2), static_cast<int16_t>(b - 3),
                                    static_cast<int16_t>(rt - 3)};
  PaintRect(&face);

  fore(mInverse ? p.c[5] : p.c[0]);
  at(l, b - 2);
  to(l, t);
  to(rt - 2, t);
  if (mRidgeMarks & kHorizontalRidges) DrawRidges(f, 0);
  if (mRidgeMarks & kVerticalRidges) DrawRidges(f, 2);

  fore(mInverse ? p.c[4] : p.c[1]);
  at(l + 1, b - 3);
  to(l + 1, t + 1);
  to(rt - 3, t + 1);

  fore(p.c[3]);
  at(l, b - 1);
  to(l + 2, b - 3);
  if (mInverse) to(l + 2, t + 2); else to(rt - 3, b - 3);
  to(rt - 3, t + 2);
  to(rt - 1, t);
  if (mRidgeMarks & kHorizontalRidges) DrawRidges(f, 1);
  if (mRidgeMarks & kVerticalRidges) DrawRidges(f, 3);

  fore(mInverse ? p.c[1] : p.c[4]);
  at(l + 2, b - 2);
  to(rt - 2, b - 2);
  to(rt - 2, t + 2);

  fore(mInverse ? p.c[0] : p.c[5]);
  at(l + 1, b - 1);
  to(rt - 1, b - 1);
  to(rt - 1, t + 1);

  RGBForeColor(&saved);
}

void CCustomView::DrawRidges(const Rect& frame, int pass) {
  Rect inner = frame;
  InsetRect(&inner, 3, 3);
  const int16_t w = static_cast<int16_t>(inner.right - inner.left);
  const int16_t h = static_cast<int16_t>(inner.bottom - inner.top);
  MoveTo(inner.left, inner.top);
  const int count = pass < 2 ? h / 3 : w / 3;
  for (int i = 0; i < count; ++i) {
    switch (pass) {
      case 0:
        Move(1, 1);
        Line(static_cast<int16_t>(w - 2), 0);
        Line(0, -1);
        Move(static_cast<int16_t>(-(w - 2) - 1), 3);
        break;
      case 1:
        Move(0, 1);
        Line(0, -1);
        Line(static_cast<int16_t>(w - 2), 0);
        Move(static_cast<int16_t>(-(w - 2)), 3);
        break;
      case 2:
        Move(1, 1);
        Line(0, static_cast<int16_t>(h - 2));
        Line(-1, 0);
        Move(3, static_cast<int16_t>(-(h - 2) - 1));
        break;
      default:
        Move(1, 0);
        Line(-1, 0);
        Line(0, static_cast<int16_t>(h - 2));
        Move(3, static_cast<int16_t>(-(h - 2)));
        break;
    }
  }
}

#include "rtas/views/CTextPopupControlEditor.h"

#include <algorithm>

#include "rtas/views/CControlView.h"

namespace {

// Text metrics are a port's: the popup's own font is set in the editor's
// port (or the current one) around each measurement.
struct PopupFont {
  explicit PopupFont(GrafPtr port, Style face = normal) : mSaved(GetPort()) {
    if (port) SetPort(port);
    port = GetPort();
    mFont = GetPortTextFont(port);
    mSize = GetPortTextSize(port);
    mFace = GetPortTextFace(port);
    TextFont(CTextPopupControlEditor::kFont);
    TextSize(CTextPopupControlEditor::kSize);
    TextFace(face);
  }
  ~PopupFont() {
    TextFont(mFont);
    TextSize(mSize);
    TextFace(mFace);
    SetPort(mSaved);
  }
  GrafPtr mSaved;
  int16_t mFont, mSize;
  Style mFace;
};

}  // namespace

std::string CTextPopupControlEditor::StepText(int32_t step) {
  std::string text;
  const int32_t value = StepToValue(step);
  if (CControlView* control = GetControlView()) {
    control->ValueToString(value, &text, 255);
  } else {
    text = std::to_string(static_cast<int16_t>(static_cast<uint32_t>(value) >> 16));
  }
  return text;
}

std::string CTextPopupControlEditor::ShownText(int32_t step) {
  std::string text = StepText(step);
  PopupFont font(GetViewPort());
  const int room = Frame().right - Frame().left - 6;
  while (!text.empty() && TextWidth(text.data(), 0, static_cast<int16_t>(text.size())) > room) text.pop_back();
  return text;
}

int16_t CTextPopupControlEditor::ItemHeight() {
  PopupFont font(GetViewPort());
  FontInfo info;
  GetFontInfo(&info);
  return static_cast<int16_t>(info.ascent + info.descent + 4);
}

int16_t CTextPopupControlEditor::ItemWidth(const std::string& text) {
  PopupFont font(GetViewPort(), bold);
  return static_cast<int16_t>(TextWidth(text.data(), 0, static_cast<int16_t>(text.size())) + 14);
}

int32_t CTextPopupControlEditor::MenuItemCount() {
  return std::clamp<int32_t>(GetStepCount(), 0, 32767 / std::max<int16_t>(ItemHeight(), 1));
}

void CTextPopupControlEditor::DrawContent(const Rect& r) {
  EraseBackground(r);
  const int32_t step = GetStep();
  const std::string text = ShownText(step);
  mShownStep = step;
  PopupFont font(GetViewPort());
  FontInfo info;
  GetFontInfo(&info);
  const Rect& f = Frame();
  const int width = TextWidth(text.data(), 0, static_cast<int16_t>(text.size()));
  int h = f.left + (f.right - f.left - width) / 2;
  if (mAlignment == kRight) h = f.right - 3 - width;
  else if (mAlignment == kLeft) h = f.left + 3;
  const int v = f.top + (f.bottom - f.top - (info.ascent + info.descent)) / 2 + info.ascent;
  RGBColor saved;
  ::GetForeColor(&saved);
  RGBColor fore;
  GetForeColor(&fore);
  RGBForeColor(&fore);
  MoveTo(static_cast<int16_t>(h), static_cast<int16_t>(v));
  DrawText(text.data(), 0, static_cast<int16_t>(text.size()));
  RGBForeColor(&saved);
}

void CTextPopupControlEditor::ValueChanged() {
  if (GetStep() != mShownStep) DrawRect(nullptr);
}

void CTextPopupControlEditor::TrackClick(const EventRecord* event, bool synthetic) {
  (void)synthetic;
  const int32_t steps = GetStepCount();
  if (steps < 1) return;
  const int32_t current = GetStep();
  const int32_t items = MenuItemCount();
  Point where = event->where;
  if (GrafPtr port = GetViewPort()) {
    GrafPtr saved = GetPort();
    SetPort(port);
    LocalToGlobal(&where);
    SetPort(saved);
  }
  SetHilite(true);
  const int16_t savedFont = LMGetSysFontFam();
  const int16_t savedSize = LMGetSysFontSize();
  LMSetSysFontFam(kFont);
  LMSetSysFontSize(kSize);
  mHilitedItem = 0;
  const int16_t chosen = Run(where, static_cast<int16_t>(current < items ? current + 1 : 0));
  LMSetSysFontFam(savedFont);
  LMSetSysFontSize(savedSize);
  SetHilite(false);
  if (chosen >= 1 && chosen <= items && chosen != current + 1) {
    SetStep(chosen - 1);
    ShowValueSet();
  }
}

void CTextPopupControlEditor::ContentSize(int16_t* width, int16_t* height) {
  const int32_t items = MenuItemCount();
  int16_t widest = 0;
  for (int32_t k = 0; k < items; ++k) widest = std::max(widest, ItemWidth(StepText(k)));
  *width = widest;
  *height = static_cast<int16_t>(items * ItemHeight());
}

Point CTextPopupControlEditor::Placement(Point where, int16_t popUpItem) {
  // The marked item's row goes under the click.
  const int top = where.v - (std::max<int16_t>(popUpItem, 1) - 1) * ItemHeight() - ItemHeight() / 2;
  return Point{static_cast<int16_t>(std::max(-32768, top)), where.h};
}

Rect CTextPopupControlEditor::ScreenBounds(Point where) {
  (void)where;
  Rect bounds;
  GetRegionBounds(GetGrayRgn(), &bounds);
  return bounds;
}

void CTextPopupControlEditor::DrawItem(const Rect& menuRect, Point origin, int16_t item, bool hilited) {
  const int16_t height = ItemHeight();
  const Rect row{static_cast<int16_t>(origin.v + (item - 1) * height), menuRect.left,
                 static_cast<int16_t>(origin.v + item * height), menuRect.right};
  const RGBColor black{0, 0, 0};
  RGBForeColor(hilited ? &kMenuBack : &black);
  RGBBackColor(hilited ? &black : &kMenuBack);
  EraseRect(&row);
  const std::string text = StepText(item - 1);
  PopupFont font(nullptr);  // drawn in the menu's port
  FontInfo info;
  GetFontInfo(&info);
  MoveTo(static_cast<int16_t>(origin.h + 7), static_cast<int16_t>(row.top + 2 + info.ascent));
  DrawText(text.data(), 0, static_cast<int16_t>(text.size()));
}

void CTextPopupControlEditor::DrawMenu(const Rect& menuRect, Point origin) {
  RGBBackColor(&kMenuBack);
  EraseRect(&menuRect);
  const int32_t items = MenuItemCount();
  for (int32_t k = 1; k <= items; ++k) DrawItem(menuRect, origin, static_cast<int16_t>(k), k == mHilitedItem);
}

int16_t CTextPopupControlEditor::FindItem(const Rect& menuRect, Point origin, Point mouse, int16_t current) {
  (void)current;
  if (!PtInRect(mouse, &menuRect)) return 0;
  const int item = (mouse.v - origin.v) / ItemHeight() + 1;
  return static_cast<int16_t>(item >= 1 && item <= MenuItemCount() ? item : 0);
}

void CTextPopupControlEditor::HiliteItem(const Rect& menuRect, Point origin, int16_t previous, int16_t item) {
  if (previous > 0) DrawItem(menuRect, origin, previous, false);
  if (item > 0) DrawItem(menuRect, origin, item, true);
  mHilitedItem = item;
}

void CTextPopupControlEditor::MenuShown(GrafPtr port, const Rect* menuRect) { SetOverlayRect(port, menuRect); }

#include "rtas/views/CStaticTextView.h"

#include <algorithm>

#include "platform/hitoolbox/TextEdit.h"
#include "rtas/views/DescriptionParser.h"
#include "rtas/views/PlatePalette.h"
#include "rtas/library/CDAEError.h"
#include "rtas/library/ErrorThrowers.h"

void CStaticTextView::SetItem(const ViewItem* item) {
  if (item) mText = item->text.substr(0, kMaxText);
}

void CStaticTextView::ApplyDescription(DescriptionParser* parser) {
  CCustomView::ApplyDescription(parser);
  // The item's text was the description, not the text to show.
  mText.clear();
  for (const DescriptionNode* n = parser->TakeGroup(); n; n = n->next) {
    if (n->kind == DescriptionNode::kString) {
      mText = n->Text().substr(0, kMaxText);
      continue;
    }
    ThrowIfFalse(n->kind == DescriptionNode::kKeyword);
    switch (n->value) {
      case kKeywordLeft: mJustification = teFlushLeft; break;
      case kKeywordRight: mJustification = teFlushRight; break;
      case kKeywordCenter: mJustification = teCenter; break;
      case kKeywordDefault: mJustification = teFlushDefault; break;
      default: throw CDAEError(-7400);
    }
  }
}

void CStaticTextView::SetText(const std::string& text) {
  const std::string cut = text.substr(0, kMaxText);
  if (cut == mText) return;
  mText = cut;
  if (!GetViewPort()) return;
  if (CPlugInView* parent = GetParentView()) parent->DrawRect(&Frame()); else DrawRect(&Frame());
}

void CStaticTextView::GetTextRect(Rect* r) {
  *r = Frame();
  InsetRect(r, 3, 3);
}

void CStaticTextView::GetScrapText(std::string* text) {
  if (text) *text = mText;
}

void CStaticTextView::DrawContent(const Rect& r) {
  EraseBackground(r);
  DrawTextContent();
}

void CStaticTextView::DrawTextContent() {
  GrafPtr port = GetViewPort();
  const int16_t savedFont = GetPortTextFont(port);
  const int16_t savedSize = GetPortTextSize(port);
  const Style savedFace = GetPortTextFace(port);
  const int16_t savedMode = GetPortTextMode(port);
  RGBColor savedFore, savedBack;
  ::GetForeColor(&savedFore);
  ::GetBackColor(&savedBack);

  Rect box;
  GetTextRect(&box);
  RGBColor fore, back;
  GetForeColor(&fore);
  GetBackColor(&back);
  RGBForeColor(&fore);
  RGBBackColor(&back);
  TextFont(GetTextFont());
  TextSize(GetTextSize());
  TextFace(GetTextFace());
  TextMode(srcOr);
  DrawTextIn(mText.data(), static_cast<int32_t>(mText.size()), box, mJustification);

  TextFont(savedFont);
  TextSize(savedSize);
  TextFace(savedFace);
  TextMode(savedMode);
  RGBForeColor(&savedFore);
  RGBBackColor(&savedBack);
}

void CStaticTextView::DrawTextIn(const char* text, int32_t length, const Rect& r, int16_t justification) {
  FontInfo info;
  GetFontInfo(&info);
  const int lineHeight = info.ascent + info.descent + info.leading;
  if (r.bottom - r.top >= lineHeight) {
    TETextBox(text, length, &r, justification);
    return;
  }
  // Lower than one line: each line on its own, cut from the end to fit.
  const int width = r.right - r.left;
  int baseline = r.top + info.ascent;
  int32_t start = 0;
  while (start <= length) {
    int32_t end = start;
    while (end < length && text[end] != '\r' && text[end] != '\n') ++end;
    int16_t count = static_cast<int16_t>(std::min<int32_t>(end - start, 255));
    while (count > 0 && TextWidth(text + start, 0, count) > width) --count;
    const int16_t used = TextWidth(text + start, 0, count);
    int h = r.left;
    if (justification == teCenter) h = r.left + (width - used) / 2;
    else if (justification == teFlushRight) h = r.right - used;
    MoveTo(static_cast<int16_t>(h), static_cast<int16_t>(baseline));
    DrawText(text + start, 0, count);
    baseline += lineHeight;
    start = end + 1;
  }
}

void CStaticTextView::GetForeColor(RGBColor* color) {
  CPlugInView* parent = GetParentView();
  if ((!parent || parent->IsEnabled()) && IsHilited() && HasControlHighlight()) {
    uint16_t highlight = 0;
    int16_t second = 0;
    GetControlHighlight(&highlight, &second, nullptr);
    int16_t index;
    if (HighlightPaletteIndex(highlight, &index)) {
      *color = PlatePalette::Get(index).c[4];
      return;
    }
  }
  switch (GetStoredPlateColorIndex()) {
    case 4: *color = RGBColor{0x0000, 0x0000, 0xAAAA}; return;
    case 1: *color = RGBColor{0x0000, 0x6666, 0xFFFF}; return;
    default: CCustomView::GetForeColor(color); return;
  }
}

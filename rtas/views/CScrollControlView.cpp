#include "rtas/views/CScrollControlView.h"

#include "rtas/views/CItemListView.h"
#include "rtas/library/CDAEError.h"
#include "rtas/library/ControlValue.h"
#include "rtas/library/ErrorThrowers.h"

void CScrollControlView::SetScrolledView(CItemListView* view, int16_t orientation) {
  mScrolled = view;
  mOrientation = orientation;
  mSteps = 1;
  CControlView::SetValue(INT32_MIN);
  if (!view) return;
  Rect content;
  view->GetContentBounds(&content);
  const Rect& frame = view->Frame();
  const bool horizontal = orientation == kHorizontal;
  const int frameStart = horizontal ? frame.left : frame.top;
  const int frameExtent = horizontal ? frame.right - frame.left : frame.bottom - frame.top;
  const int contentStart = horizontal ? content.left : content.top;
  const int contentExtent = horizontal ? content.right - content.left : content.bottom - content.top;
  if (contentExtent <= frameExtent) return;
  ThrowIfFalse(contentStart <= frameStart);
  mSteps = contentExtent - frameExtent + 1;
  CControlView::SetValue(IntToControlValue(frameStart - contentStart, 0, mSteps - 1));
}

int32_t CScrollControlView::OffsetForValue(int32_t value) const {
  return mSteps < 2 ? 0 : ControlValueToInt(value, 0, mSteps - 1);
}

void CScrollControlView::SetValue(int32_t value) {
  if (mScrolled && mSteps > 1) {
    const int32_t by = OffsetForValue(value) - OffsetForValue(CControlView::GetValue());
    // A larger offset moves the content up (or left).
    if (mOrientation == kHorizontal) mScrolled->ScrollBy(static_cast<int16_t>(-by), 0);
    else mScrolled->ScrollBy(0, static_cast<int16_t>(-by));
  }
  CControlView::SetValue(value);
}

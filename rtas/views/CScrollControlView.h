#pragma once

#include "rtas/views/CControlView.h"

class CItemListView;

// The scroll position of an item list along one axis as a control value:
// one step per pixel that the content extends past the list's frame.
class CScrollControlView : public CControlView {
 public:
  enum Orientation : int16_t { kHorizontal = 1, kVertical = 2 };

  // Null unbinds. Content that starts inside the frame (below or right of
  // its top-left) raises -7400.
  void SetScrolledView(CItemListView* view, int16_t orientation);
  int32_t GetStepCount() override { return mSteps; }
  void SetValue(int32_t value) override;

  CItemListView* GetScrolledView() const { return mScrolled; }
  // Pixels the content is scrolled by for a value.
  int32_t OffsetForValue(int32_t value) const;

 private:
  CItemListView* mScrolled = nullptr;
  int16_t mOrientation = kVertical;
  int32_t mSteps = 1;
};

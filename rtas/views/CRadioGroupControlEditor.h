#pragma once

#include "rtas/views/CControlEditor.h"

// Its children are the buttons: step k is the k-th child, hilited while the
// control is on that step. With "EnableHighlight" a highlighted control is
// framed in its highlight colour.
class CRadioGroupControlEditor : public CControlEditor {
 public:
  void ApplyDescription(DescriptionParser* parser) override;
  void TrackClick(const EventRecord* event, bool synthetic) override;
  void ValueChanged() override;
  void DrawTree(const Rect& r) override;
  // A click on a button is the group's: it picks that step.
  CPlugInView* FindViewAt(Point pt) override;

  bool IsHighlightEnabled() const { return mHighlightFrame; }
  void SetHighlightEnabled(bool enabled) { mHighlightFrame = enabled; }
  CPlugInView* ChildAt(int32_t index) const;
  // The frame colour a highlight colour gives.
  static RGBColor HighlightFrameColor(uint16_t color);

 private:
  void PickAt(Point pt);

  bool mHighlightFrame = false;
  bool mFrameShown = false;
  int32_t mShownStep = -1;
};

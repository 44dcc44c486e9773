#pragma once

#include "rtas/views/CControlEditor.h"

// A thumb travelling along the longer side of the frame (horizontal when
// the frame is square), drawn as a ridged plate child 'Knob' over a groove.
class CSliderControlEditor : public CControlEditor {
 public:
  void ApplyDescription(DescriptionParser* parser) override;
  void RealizeTree() override;
  void DrawContent(const Rect& r) override;
  void TrackClick(const EventRecord* event, bool synthetic) override;
  void ValueChanged() override;
  void RefreshValue() override;

  bool IsHorizontal() const;
  bool IsReversed() const { return mReverse; }
  // Pixels along the axis from the start (left, or bottom when vertical).
  int ThumbLength() const;
  int Travel() const;
  int ThumbOffset(int32_t value) const;
  Rect ThumbRect(int32_t value) const;
  CCustomView* GetKnob() const { return mKnob; }

 private:
  bool mReverse = false;
  CCustomView* mKnob = nullptr;
};

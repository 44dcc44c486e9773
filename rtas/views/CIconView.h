#pragma once

#include "rtas/views/CCustomView.h"

// Plots one 'ICON' of the bundle in its frame.
class CIconView : public CCustomView {
 public:
  ~CIconView() override;

  void DrawContent(const Rect& r) override;
  void SetIconID(int32_t id);
  int32_t GetIconID() const { return mIconID; }
  Handle GetIcon() const { return mIcon; }

 private:
  int32_t mIconID = -1;
  Handle mIcon = nullptr;
};

#pragma once

#include <string>

#include "platform/hitoolbox/Controls.h"
#include "rtas/views/CCustomView.h"

// A Control Manager control shown as a view; the control exists only
// while the view has a port.
class CMacControlView : public CCustomView {
 public:
  ~CMacControlView() override;

  void ApplyDescription(DescriptionParser* parser) override;
  void AttachPort(GrafPtr port) override;
  void DrawContent(const Rect& r) override;
  void HandleClick(const EventRecord* event) override;
  void OffsetBy(int16_t dh, int16_t dv) override;

  // The control definition; a plain Mac control view has none (-7400).
  virtual int16_t GetProcID();
  virtual ControlRef CreateControl();

  void SetTitle(const std::string& title) { mTitle = title.substr(0, 255); }
  const std::string& GetTitle() const { return mTitle; }
  void SetRange(int16_t minimum, int16_t maximum, int16_t value);
  ControlRef GetControl() const { return mControl; }

 protected:
  int16_t Minimum() const { return mMinimum; }
  int16_t Maximum() const { return mMaximum; }
  int16_t Value() const { return mValue; }

 private:
  ControlRef mControl = nullptr;
  std::string mTitle;
  int16_t mMinimum = 0;
  int16_t mMaximum = 1;
  int16_t mValue = 0;
  bool mFirstDraw = true;
};

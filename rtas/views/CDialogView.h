#pragma once

#include "rtas/views/CItemListView.h"

// An item list whose size and item list come from a 'DLOG' resource, on a
// background pattern of its own.
class CDialogView : public CItemListView {
 public:
  ~CDialogView() override;

  void RealizeIfRoot() override;
  void AttachPort(GrafPtr port) override;
  PixPatHandle GetBackPixPat() override { return mPattern; }

  virtual int16_t GetDialogID() { return mDialogID; }
  virtual void SetDialogID(int16_t id) { mDialogID = id; }
  virtual int16_t GetPatternID() { return mPatternID; }
  virtual void SetPatternID(int16_t id) { mPatternID = id; }

 private:
  int16_t mDialogID = 1;
  int16_t mPatternID = 1000;
  PixPatHandle mPattern = nullptr;
  bool mPatternLoaded = false;
};

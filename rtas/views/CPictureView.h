#pragma once

#include "rtas/views/CCustomView.h"

class CCachedPicture;
class CCachedPictureManager;

// Shows one of three 'PICT's by state: normal, clicked (while hilited) and
// disabled. Pictures are shared through the process-wide cache, which
// lives while picture views do.
class CPictureView : public CCustomView {
 public:
  enum State { kNormal = 0, kClicked = 1, kDisabled = 2 };
  static constexpr int32_t kNoPicture = 65535;

  CPictureView();
  ~CPictureView() override;

  void ApplyDescription(DescriptionParser* parser) override;
  void DrawContent(const Rect& r) override;
  void SetEnabled(bool enabled) override;

  // The state must be 0, 1 or 2 (-7400). 65535 releases the state's picture.
  virtual void SetPicture(int32_t state, int32_t id);
  virtual int32_t GetPictureID(int32_t state);
  virtual CCachedPicture* GetCurrentPicture();

  // The cache shared by all picture views; null while none exists.
  static CCachedPictureManager* PictureManager();

 private:
  CCachedPicture* mPictures[3] = {nullptr, nullptr, nullptr};
};

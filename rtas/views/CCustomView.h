#pragma once

#include "rtas/views/CPlugInView.h"

class DescriptionParser;

// The base of every described view: a four-character id, an optional
// bevelled plate in one of seven palettes, and the two background patterns
// ('ppat' 1001 for plates of palette 0, 1002 for the others) that all
// custom views share.
class CCustomView : public CPlugInView {
 public:
  enum RidgeMarks : uint16_t { kHorizontalRidges = 1, kVerticalRidges = 2 };
  static constexpr int16_t kPatternA = 1001;
  static constexpr int16_t kPatternB = 1002;

  CCustomView();
  ~CCustomView() override;

  void GetBackColor(RGBColor* color) override;
  PixPatHandle GetBackPixPat() override;
  void EraseBackground(const Rect& r) override;

  // Reads the description's common group (id, then a colour index,
  // "plate" or "inversePlate"); leaves the parser at the next group.
  virtual void ApplyDescription(DescriptionParser* parser);
  virtual void SetPlate(bool plate, int16_t colorIndex, uint16_t ridgeMarks);
  virtual int16_t GetPlateColorIndex();
  virtual void DrawPlate(const Rect& r);

  bool HasPlate() const { return mPlate; }
  bool IsInversePlate() const { return mInverse; }
  int16_t GetStoredPlateColorIndex() const { return mPlateColorIndex; }
  uint16_t GetRidgeMarks() const { return mRidgeMarks; }

  // The shared patterns and the number of views holding them.
  static PixPatHandle SharedPatternA();
  static PixPatHandle SharedPatternB();
  static int SharedPatternHolders();

 protected:
  // The fore colour a highlight colour gives: c4 of the palette the plate
  // uses for it.
  static bool HighlightPaletteIndex(uint16_t highlightColor, int16_t* paletteIndex);

 private:
  void AcquireSharedPatterns();
  void DrawRidges(const Rect& frame, int pass);

  int16_t mPlateColorIndex = 0;
  bool mPlate = false;
  bool mInverse = false;
  uint16_t mRidgeMarks = 0;
  bool mHoldsPatterns = false;
};

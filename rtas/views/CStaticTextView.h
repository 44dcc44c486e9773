#pragma once

#include <string>

#include "rtas/views/CCustomView.h"

// A text drawn in the view's frame, wrapped and justified; also the view
// the factory makes for an item that is not a view description.
class CStaticTextView : public CCustomView {
 public:
  static constexpr size_t kMaxText = 255;

  void SetItem(const ViewItem* item) override;
  void ApplyDescription(DescriptionParser* parser) override;
  void DrawContent(const Rect& r) override;
  void GetForeColor(RGBColor* color) override;
  bool CanTakeFocus() override { return false; }

  virtual int16_t GetTextFont() { return 3; }
  virtual int16_t GetTextSize() { return 9; }
  virtual Style GetTextFace() { return normal; }
  // The frame inset by 3.
  virtual void GetTextRect(Rect* r);
  virtual void GetScrapText(std::string* text);
  virtual void DrawTextContent();
  virtual void DrawTextIn(const char* text, int32_t length, const Rect& r, int16_t justification);

  // Redraws (through the parent, so the background comes back under the
  // text) only when the text changes; longer texts are cut to 255.
  void SetText(const std::string& text);
  const std::string& GetText() const { return mText; }
  int16_t GetJustification() const { return mJustification; }
  void SetJustification(int16_t justification) { mJustification = justification; }

 private:
  std::string mText;
  int16_t mJustification = 0;
};

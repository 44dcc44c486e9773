#pragma once

#include <string>

#include "rtas/views/CControlEditor.h"
#include "rtas/views/CPopupMenuClient.h"

// Shows the text of the control's step and offers every step's text in a
// popup menu, the present one marked and lined up with the click.
class CTextPopupControlEditor : public CControlEditor, private CPopupMenuClient {
 public:
  enum Alignment : int16_t { kCentred = 0, kRight = 1, kLeft = 2 };
  static constexpr int16_t kFont = 3;
  static constexpr int16_t kSize = 9;
  // The near-white the menu is drawn on.
  static constexpr RGBColor kMenuBack{0xF5F5, 0xF7F7, 0xFBFB};

  void DrawContent(const Rect& r) override;
  void TrackClick(const EventRecord* event, bool synthetic) override;
  void ValueChanged() override;

  void SetAlignment(int16_t alignment) { mAlignment = alignment; }
  // ValueToString of the step's value.
  std::string StepText(int32_t step);
  // The step text as drawn in the frame: cut from the end until it fits the
  // frame less 6 pixels (in the popup's font).
  std::string ShownText(int32_t step);
  int16_t ItemHeight();
  int16_t ItemWidth(const std::string& text);
  // The steps the menu lists: a menu numbers its items in 16 bits and its
  // content is at most 32767 pixels high, so a control with more steps
  // lists the first ones that fit.
  int32_t MenuItemCount();

 private:
  void ContentSize(int16_t* width, int16_t* height) override;
  Point Placement(Point where, int16_t popUpItem) override;
  Rect ScreenBounds(Point where) override;
  void DrawMenu(const Rect& menuRect, Point origin) override;
  int16_t FindItem(const Rect& menuRect, Point origin, Point mouse, int16_t current) override;
  void HiliteItem(const Rect& menuRect, Point origin, int16_t previous, int16_t item) override;
  bool AnswersThemeQueries() const override { return true; }
  uint32_t ScrollPauseTicks() const override { return 10; }
  void MenuShown(GrafPtr port, const Rect* menuRect) override;
  void DrawItem(const Rect& menuRect, Point origin, int16_t item, bool hilited);

  int16_t mAlignment = kCentred;
  int32_t mShownStep = -1;
  int16_t mHilitedItem = 0;
};

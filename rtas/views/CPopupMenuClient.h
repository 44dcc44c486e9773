#pragma once

#include <cstdint>

#include "platform/hitoolbox/Menus.h"

// The custom menu both popup editors show (menu id 1000): the Menu
// Manager drives the library's own menu definition, which finds its client
// through item 0's reference value. Content larger than the screen scrolls:
// an edge with hidden content shows a black triangle in a 12-pixel band,
// and the mouse in the band or beyond the edge scrolls toward it.
class CPopupMenuClient {
 public:
  static constexpr MenuID kMenuID = 1000;
  static constexpr int kScreenInset = 5;
  static constexpr int kScrollBand = 12;
  static constexpr int kMaxScrollStep = 16;

  virtual ~CPopupMenuClient() = default;

  // Pops the menu up at the global point with `markedItem` (1-based)
  // marked; the chosen item, 0 when none.
  int16_t Run(Point where, int16_t markedItem);

  // The whole content, before scrolling.
  virtual void ContentSize(int16_t* width, int16_t* height) = 0;
  // Where the content's top-left goes for a click at `where`.
  virtual Point Placement(Point where, int16_t popUpItem) = 0;
  virtual Rect ScreenBounds(Point where) = 0;
  // Draws the content with its top-left at `origin` (global, which is the
  // menu port's local space), clipped to the menu.
  virtual void DrawMenu(const Rect& menuRect, Point origin) = 0;
  // The item under the mouse (0 for none); `current` is the hilited item.
  virtual int16_t FindItem(const Rect& menuRect, Point origin, Point mouse, int16_t current) = 0;
  virtual void HiliteItem(const Rect& menuRect, Point origin, int16_t previous, int16_t item) {
    (void)menuRect, (void)origin, (void)previous, (void)item;
  }
  virtual bool AnswersThemeQueries() const { return false; }
  virtual uint32_t ScrollPauseTicks() const = 0;
  // The menu went up, or came down (null port).
  virtual void MenuShown(GrafPtr port, const Rect* menuRect) { (void)port, (void)menuRect; }

  // The content's top-left while the menu is up.
  Point ContentOrigin() const;
  const Rect& MenuRect() const { return mMenuRect; }
  Point ScrollOffset() const { return mScroll; }

 private:
  static void MenuDefinition(int16_t message, MenuRef menu, Rect* menuRect, Point hitPt, int16_t* whichItem);
  void Size(MenuRef menu);
  void PopUp(Rect* menuRect, Point hitPt, int16_t popUpItem);
  void Draw();
  bool ScrollToward(Point mouse);
  void DrawArrows();

  Rect mMenuRect{0, 0, 0, 0};
  Point mScroll{0, 0};
  int16_t mContentWidth = 0;
  int16_t mContentHeight = 0;
  int16_t mHilited = 0;
};

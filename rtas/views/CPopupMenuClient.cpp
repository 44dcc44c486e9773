#include "rtas/views/CPopupMenuClient.h"

#include <algorithm>

#include "platform/hitoolbox/Events.h"

void CPopupMenuClient::MenuDefinition(int16_t message, MenuRef menu, Rect* menuRect, Point hitPt, int16_t* whichItem) {
  uintptr_t refCon = 0;
  GetMenuItemRefCon(menu, 0, &refCon);
  CPopupMenuClient* client = reinterpret_cast<CPopupMenuClient*>(refCon);
  if (!client) return;
  switch (message) {
    case kMenuSizeMsg:
      client->Size(menu);
      break;
    case kMenuPopUpMsg:
      client->PopUp(menuRect, hitPt, whichItem ? *whichItem : 0);
      break;
    case kMenuDrawMsg:
      client->Draw();
      break;
    case kMenuFindItemMsg:
      if (!whichItem) break;
      if (client->ScrollToward(hitPt)) client->Draw();
      *whichItem = client->FindItem(client->mMenuRect, client->ContentOrigin(), hitPt, *whichItem);
      break;
    case kMenuHiliteItemMsg:
      if (!whichItem) break;
      client->HiliteItem(client->mMenuRect, client->ContentOrigin(), client->mHilited, *whichItem);
      client->mHilited = *whichItem;
      break;
    case kMenuThemeSavvyMsg:
      if (whichItem && client->AnswersThemeQueries()) *whichItem = kThemeSavvyMenuResponse;
      break;
    default:
      break;
  }
}

int16_t CPopupMenuClient::Run(Point where, int16_t markedItem) {
  MenuRef menu = nullptr;
  const MenuDefSpec def{kMenuDefProcPtr, &CPopupMenuClient::MenuDefinition};
  if (CreateCustomMenu(&def, kMenuID, 0, &menu) != noErr || !menu) return 0;
  SetMenuItemRefCon(menu, 0, reinterpret_cast<uintptr_t>(this));
  InsertMenu(menu, hierMenu);
  if (markedItem > 0) SetItemMark(menu, markedItem, checkMark);
  mScroll = Point{0, 0};
  mHilited = 0;
  const int32_t answer = PopUpMenuSelect(menu, where.v, where.h, markedItem > 0 ? markedItem : 1);
  MenuShown(nullptr, nullptr);
  DeleteMenu(kMenuID);
  DisposeMenu(menu);
  if ((answer >> 16) != kMenuID) return 0;
  return static_cast<int16_t>(answer & 0xFFFF);
}

void CPopupMenuClient::Size(MenuRef menu) {
  ContentSize(&mContentWidth, &mContentHeight);
  SetMenuWidth(menu, mContentWidth);
  SetMenuHeight(menu, mContentHeight);
}

void CPopupMenuClient::PopUp(Rect* menuRect, Point hitPt, int16_t popUpItem) {
  Rect screen = ScreenBounds(hitPt);
  InsetRect(&screen, kScreenInset, kScreenInset);
  const int width = std::min<int>(mContentWidth, screen.right - screen.left);
  const int height = std::min<int>(mContentHeight, screen.bottom - screen.top);
  const Point at = Placement(hitPt, popUpItem);
  const int left = std::clamp<int>(at.h, screen.left, screen.right - width);
  int top = at.v;
  // A menu taller than the room left above its place scrolls instead:
  // the part above the screen starts hidden.
  int hiddenAbove = 0;
  if (top < screen.top) {
    hiddenAbove = std::min(screen.top - top, mContentHeight - height);
    top = screen.top;
  }
  top = std::clamp<int>(top, screen.top, screen.bottom - height);
  mMenuRect = Rect{static_cast<int16_t>(top), static_cast<int16_t>(left), static_cast<int16_t>(top + height),
                   static_cast<int16_t>(left + width)};
  mScroll = Point{static_cast<int16_t>(hiddenAbove), 0};
  if (menuRect) *menuRect = mMenuRect;
}

Point CPopupMenuClient::ContentOrigin() const {
  return Point{static_cast<int16_t>(mMenuRect.top - mScroll.v), static_cast<int16_t>(mMenuRect.left - mScroll.h)};
}

void CPopupMenuClient::Draw() {
  GrafPtr port = GetPort();
  MenuShown(port, &mMenuRect);
  ClipRect(&mMenuRect);
  DrawMenu(mMenuRect, ContentOrigin());
  DrawArrows();
}

bool CPopupMenuClient::ScrollToward(Point mouse) {
  const int hiddenTop = mScroll.v;
  const int hiddenBottom = mContentHeight - (mMenuRect.bottom - mMenuRect.top) - mScroll.v;
  const int hiddenLeft = mScroll.h;
  const int hiddenRight = mContentWidth - (mMenuRect.right - mMenuRect.left) - mScroll.h;
  int dv = 0, dh = 0;
  if (hiddenTop > 0 && mouse.v < mMenuRect.top + kScrollBand) {
    dv = -std::min({hiddenTop, kMaxScrollStep, std::max(1, mMenuRect.top + kScrollBand - mouse.v)});
  } else if (hiddenBottom > 0 && mouse.v >= mMenuRect.bottom - kScrollBand) {
    dv = std::min({hiddenBottom, kMaxScrollStep, std::max(1, mouse.v - (mMenuRect.bottom - kScrollBand) + 1)});
  }
  if (hiddenLeft > 0 && mouse.h < mMenuRect.left + kScrollBand) {
    dh = -std::min({hiddenLeft, kMaxScrollStep, std::max(1, mMenuRect.left + kScrollBand - mouse.h)});
  } else if (hiddenRight > 0 && mouse.h >= mMenuRect.right - kScrollBand) {
    dh = std::min({hiddenRight, kMaxScrollStep, std::max(1, mouse.h - (mMenuRect.right - kScrollBand) + 1)});
  }
  if (dv == 0 && dh == 0) return false;
  mScroll.v = static_cast<int16_t>(mScroll.v + dv);
  mScroll.h = static_cast<int16_t>(mScroll.h + dh);
  uint32_t ticks;
  Delay(ScrollPauseTicks(), &ticks);
  return true;
}

void CPopupMenuClient::DrawArrows() {
  const Rect& m = mMenuRect;
  const bool up = mScroll.v > 0;
  const bool down = mContentHeight - (m.bottom - m.top) - mScroll.v > 0;
  const bool left = mScroll.h > 0;
  const bool right = mContentWidth - (m.right - m.left) - mScroll.h > 0;
  if (!(up || down || left || right)) return;
  RGBColor saved;
  GetForeColor(&saved);
  const RGBColor black{0, 0, 0};
  RGBForeColor(&black);
  // Each triangle is 12 wide and 6 high, centred in its band.
  auto triangle = [](int h0, int v0, int h1, int v1, int h2, int v2) {
    PolyHandle poly = OpenPoly();
    MoveTo(static_cast<int16_t>(h0), static_cast<int16_t>(v0));
    LineTo(static_cast<int16_t>(h1), static_cast<int16_t>(v1));
    LineTo(static_cast<int16_t>(h2), static_cast<int16_t>(v2));
    LineTo(static_cast<int16_t>(h0), static_cast<int16_t>(v0));
    ClosePoly();
    PaintPoly(poly);
    KillPoly(poly);
  };
  const int midH = (m.left + m.right) / 2;
  const int midV = (m.top + m.bottom) / 2;
  if (up) triangle(midH - 6, m.top + 9, midH + 6, m.top + 9, midH, m.top + 3);
  if (down) triangle(midH - 6, m.bottom - 9, midH + 6, m.bottom - 9, midH, m.bottom - 3);
  if (left) triangle(m.left + 9, midV - 6, m.left + 9, midV + 6, m.left + 3, midV);
  if (right) triangle(m.right - 9, midV - 6, m.right - 9, midV + 6, m.right - 3, midV);
  RGBForeColor(&saved);
}

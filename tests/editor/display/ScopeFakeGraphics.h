#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "framework/IPopupMenu.h"
#include "graphics/IText.h"
#include "tests/graphics/FakeGraphics.h"

// The fake platform with what the graph asks of it beyond the core's
// fake: text measured at half the font size per character, and a popup
// that can answer from a submenu as a real menu does.
class ScopeFakeGraphics : public FakeGraphics {
 public:
  explicit ScopeFakeGraphics(IPlugBase* plug, int width = 872, int height = 632) : FakeGraphics(plug, width, height) {}

  static int TextWidth(const IText& text, const char* str) {
    return text.mSize / 2 * static_cast<int>(std::strlen(str));
  }

  bool MeasureIText(IText* text, const char* str, IRECT* rect) override {
    mMeasured.push_back(*text);
    rect->R = rect->L + TextWidth(*text, str);
    rect->B = rect->T + text->mSize;
    return true;
  }

  // Chooses mSubmenuChoice in the submenu of item mPopupChoice when set,
  // else item mPopupChoice itself (-1: dismissed).
  IPopupMenu* CreateIPopupMenu(IPopupMenu* menu, IRECT* area) override {
    ++mPopups;
    IPopupMenu* chosen = FakeGraphics::CreateIPopupMenu(menu, area);
    if (!chosen || mSubmenuChoice < 0) return chosen;
    IPopupMenu* submenu = menu->GetItem(mPopupChoice) ? menu->GetItem(mPopupChoice)->GetSubmenu() : nullptr;
    if (!submenu) return nullptr;
    menu->SetChosenItemIdx(-1);
    submenu->SetChosenItemIdx(mSubmenuChoice);
    return submenu;
  }

  int mSubmenuChoice = -1;
  int mPopups = 0;
  std::vector<IText> mMeasured;
};

#include <cstdio>

#include "editor/display/IScope.h"
#include "editor/display/NoteName.h"
#include "framework/IParam.h"
#include "framework/IPlugBase.h"
#include "graphics/IGraphics.h"
#include "plugin/engine/BandTypes.h"

// The band menu: the band's switch, six read-only lines with its values,
// the Type, Channel and Slope submenus and five commands. Each showing
// builds all four menus afresh from the band's current values.

namespace {

constexpr int kMenuTextLength = 40;
// In the Type submenu a separator parts the "A - " types from the "D - " ones.
constexpr int kFirstDType = kTypeDPeak;

// Items of the band menu that carry a command.
enum EBandMenuItem {
  kItemFilter = 0,
  kItemType = 2,
  kItemChannel = 3,
  kItemSlopeLine = 4,
  kItemFrequency = 5,
  kItemSolo = 13,
  kItemReset = 14,
  kItemInvertGain = 16,
  kItemInvertGainAll = 17,
  kItemMoveOut = 19,
};

// The types without a slope of their own show "Slope" greyed, without a
// submenu; those without a gain grey both invert items.
bool TypeHidesSlope(int type) {
  return type == kTypeAPeak || type == kTypeALowShelf || type == kTypeAHighShelf || type == kTypeATiltShelf ||
         type == kTypeAFlatTilt;
}
bool TypeHasNoGain(int type) { return type >= 0 && type < 16 && ((0x8D86u >> type) & 1u) != 0; }

// Fills menu with one item per display text of param, the current one checked.
void FillChoices(IPopupMenu& menu, const IParam* param, int current) {
  const int n = param ? param->GetNDisplayTexts() : 0;
  for (int k = 0; k < n; ++k) {
    menu.AddItem(param->GetDisplayTextAtIdx(k), -1, k == current ? IPopupMenuItem::kChecked : 0);
  }
}

const char* DisplayTextAt(const IParam* param, int idx) { return param ? param->GetDisplayTextAtIdx(idx) : ""; }

}  // namespace

void IScope::BuildBandMenu(int b, std::vector<int>& typeMap) {
  // Fresh menus rather than emptied ones: the items go with the old menu,
  // whose destructor deletes them last to first.
  mBandMenu.reset(new IPopupMenu);
  mTypeMenu.reset(new IPopupMenu);
  mChannelMenu.reset(new IPopupMenu);
  mSlopeMenu.reset(new IPopupMenu);
  typeMap.clear();

  const IParam* typeParam = mPlug ? mPlug->GetParam(mTypeParam) : nullptr;
  const IParam* channelParam = mPlug ? mPlug->GetParam(mChModeParam) : nullptr;
  const IParam* slopeParam = mPlug ? mPlug->GetParam(mSlopeParam) : nullptr;
  const int type = mBandType[b];
  constexpr int kDisabled = IPopupMenuItem::kDisabled;
  IPopupMenu& menu = *mBandMenu;
  WDL_String text;

  text.SetFormatted(kMenuTextLength, "Filter %d", b + 1);
  menu.AddItem(text.Get());
  if (mBandActive[b] == 1) menu.CheckItem(menu.GetNItems() - 1, true);
  menu.AddSeparator();
  text.SetFormatted(kMenuTextLength, "Type : %s", DisplayTextAt(typeParam, type));
  menu.AddItem(text.Get(), -1, kDisabled);
  text.SetFormatted(kMenuTextLength, "Channel : %s", DisplayTextAt(channelParam, mBandChMode[b]));
  menu.AddItem(text.Get(), -1, kDisabled);
  text.SetFormatted(kMenuTextLength, "Slope : %s", DisplayTextAt(slopeParam, mBandSlope[b]));
  menu.AddItem(text.Get(), -1, kDisabled);

  // Five significant digits whatever the decade.
  const double f = mBandFreq[b];
  char note[kNoteNameSize], cents[kNoteNameSize];
  int octave = 0;
  FrequencyToNoteName(note, cents, &octave, f);
  const char* format = f > 9999.0  ? "Freq. : %.0lf Hz (%s %s)"
                       : f > 999.0 ? "Freq. : %.1lf Hz (%s %s)"
                       : f > 99.0  ? "Freq. : %.2lf Hz (%s %s)"
                                   : "Freq. : %.3lf Hz (%s %s)";
  char line[64];
  std::snprintf(line, sizeof line, format, f, note, cents);
  text.SetFormatted(kMenuTextLength, "%s", line);
  menu.AddItem(text.Get(), -1, kDisabled);
  text.SetFormatted(kMenuTextLength, "Gain : %.2lf dB", mBandGain[b]);
  menu.AddItem(text.Get(), -1, kDisabled);
  text.SetFormatted(kMenuTextLength, "Q : %.3lf", mBandQ[b]);
  menu.AddItem(text.Get(), -1, kDisabled);
  menu.AddSeparator();

  const int nTypes = typeParam ? typeParam->GetNDisplayTexts() : 0;
  for (int k = 0; k < nTypes; ++k) {
    if (k == kFirstDType) {
      mTypeMenu->AddSeparator();
      typeMap.push_back(-1);
    }
    mTypeMenu->AddItem(typeParam->GetDisplayTextAtIdx(k), -1, k == type ? IPopupMenuItem::kChecked : 0);
    typeMap.push_back(k);
  }
  menu.AddSubmenu("Type", mTypeMenu.get());
  FillChoices(*mChannelMenu, channelParam, mBandChMode[b]);
  menu.AddSubmenu("Channel", mChannelMenu.get());
  FillChoices(*mSlopeMenu, slopeParam, mBandSlope[b]);
  if (TypeHidesSlope(type)) menu.AddItem("Slope", -1, kDisabled);
  else menu.AddSubmenu("Slope", mSlopeMenu.get());
  menu.AddSeparator();

  menu.AddItem("Solo");
  if (mBandSolo[b] == 1) menu.CheckItem(menu.GetNItems() - 1, true);
  menu.AddItem("Reset");
  menu.AddSeparator();
  const int invertFlags = TypeHasNoGain(type) ? kDisabled : 0;
  menu.AddItem("Invert Gain", -1, invertFlags);
  menu.AddItem("Invert Gain All", -1, invertFlags);
  menu.AddSeparator();
  menu.AddItem("Move Out");
}

int IScope::BandMenuCommand(const IPopupMenu* chosen, const std::vector<int>& typeMap, int* value) const {
  *value = 0;
  if (!chosen) return GraphEventRecord::kCommandNone;
  const int i = chosen->GetChosenItemIdx();
  if (chosen == mBandMenu.get()) {
    switch (i) {
      case kItemFilter: return GraphEventRecord::kCommandBandLine;
      case kItemSolo: return GraphEventRecord::kCommandSolo;
      case kItemReset: return GraphEventRecord::kCommandReset;
      case kItemInvertGain: return GraphEventRecord::kCommandInvertGain;
      case kItemInvertGainAll: return GraphEventRecord::kCommandInvertGainAll;
      case kItemMoveOut: return GraphEventRecord::kCommandMoveOut;
      default: return GraphEventRecord::kCommandNone;
    }
  }
  // An index the submenu does not hold, or the Type separator, would hand
  // the plug-in a value no item stands for.
  if (chosen == mTypeMenu.get()) {
    if (i < 0 || i >= static_cast<int>(typeMap.size()) || typeMap[i] < 0) return GraphEventRecord::kCommandNone;
    *value = typeMap[i];
    return GraphEventRecord::kCommandType;
  }
  if (chosen == mChannelMenu.get() || chosen == mSlopeMenu.get()) {
    if (i < 0 || i >= chosen->GetNItems()) return GraphEventRecord::kCommandNone;
    *value = i;
    return chosen == mChannelMenu.get() ? GraphEventRecord::kCommandChannel : GraphEventRecord::kCommandSlope;
  }
  return GraphEventRecord::kCommandNone;
}

void IScope::ShowBandMenu() {
  GraphEventRecord& e = mEvent;
  const int b = e.mHitBand;
  if (b < 0 || b >= ReadableBands()) return;
  std::vector<int> typeMap;
  BuildBandMenu(b, typeMap);
  e.mMenuAction = GraphEventRecord::kCommandNone;

  // The platform may deliver hover events while its menu is open; they
  // must not reach the plug-in looking like this click.
  const bool down = e.mEvDown;
  const bool menu = e.mEvMenu;
  e.mEvDown = e.mEvMenu = false;
  IGraphics* graphics = mPlug ? mPlug->GetGUI() : nullptr;
  IRECT at = mHandleRect[b];
  const IPopupMenu* chosen = graphics ? graphics->CreateIPopupMenu(mBandMenu.get(), &at) : nullptr;
  // The menu took the mouse-up; the plug-in sees the click as a left one,
  // and the band the menu was opened for.
  if (graphics) graphics->mLastMouseMod.L = true;
  e.mHitBand = b;

  int value = 0;
  const int command = BandMenuCommand(chosen, typeMap, &value);
  if (command == GraphEventRecord::kCommandNone) return;
  e.mMenuAction = command;
  e.mMenuValue = value;
  e.mEvDown = down;
  e.mEvMenu = menu;
  NotifyPlug();
  e.mEvDown = e.mEvMenu = false;
  // A later Shift+Control press announces itself as a menu choice; it must
  // not find this one still there.
  e.mMenuAction = GraphEventRecord::kCommandNone;
}

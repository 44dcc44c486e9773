#pragma once

#include <memory>
#include <string>

#include "framework/IPopupMenu.h"
#include "framework/containers/WDL_String.h"
#include "graphics/IControl.h"

// An invisible click area that opens the help and settings menu: the about
// box, the manual's and the version history's web pages, the tooltip
// switch and the GUI-scale submenu. The tolerance switch, the GUI-scale
// reset and the oversampling submenu appear only when given a parameter
// or tag of 0 or more. Values chosen here are stored straight into the
// parameter and handed to the plug-in's OnParamChange, without the host.
class IMyHelpMenuTTScaleOS : public IControl {
 public:
  // rect is left, top, right, bottom at 100 % GUI scale; a null address is
  // an empty one; -1 leaves an entry out.
  IMyHelpMenuTTScaleOS(IPlugBase* plug, const IRECT& rect, const char* manualURL, const char* versionURL,
                       int tooltipParam, int oversamplingParam, int scaleParam, int scaleResetTag,
                       int toleranceParam);

  // Any button opens the menu, built afresh from the parameters' values.
  void OnMouseDown(int x, int y, IMouseMod* mod) override;
  void OnMouseDblClick(int, int, IMouseMod*) override {}
  bool Draw(IGraphics*) override { return true; }

  // Nine lines, each ending in a newline: maker, product, version, build
  // date, format, host, channels, latency and sample rate.
  std::string AboutText() const;

  // The menus as the last click built them.
  const IPopupMenu* GetMainMenu() const { return mMainMenu.get(); }
  const IPopupMenu* GetScaleMenu() const { return mScaleMenu.get(); }
  const char* GetManualURL() const { return mManualURL.Get(); }
  const char* GetVersionURL() const { return mVersionURL.Get(); }

 protected:
  static constexpr int kAbsent = -2;

  void ShowHelpMenu();
  // The separator and "text" as a submenu of the parameter's display texts,
  // the current value checked alone.
  void AddParamSubmenu(const char* text, int paramIdx, IPopupMenu* submenu);
  // "text" after a separator, checked while the parameter is 1; its index.
  int AddSwitchItem(const char* text, int paramIdx);
  // Both under the plug mutex together with the plug-in's handling.
  void ToggleParam(int paramIdx);
  void StoreSubmenuChoice(int paramIdx, const IPopupMenu& submenu, int index);

  std::unique_ptr<IPopupMenu> mMainMenu;
  std::unique_ptr<IPopupMenu> mScaleMenu;
  std::unique_ptr<IPopupMenu> mOversamplingMenu;
  WDL_String mManualURL;
  WDL_String mVersionURL;
  int mTooltipParam;
  int mScaleParam;
  int mOversamplingParam;
  int mScaleResetTag;
  int mToleranceParam;
  int mAboutItem = kAbsent;
  int mManualItem = kAbsent;
  int mVersionItem = kAbsent;
  int mTooltipItem = kAbsent;
  int mToleranceItem = kAbsent;
  int mScaleResetItem = kAbsent;
};

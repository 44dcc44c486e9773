#include "editor/IMyHelpMenuTTScaleOS.h"

#include <cstdio>

#include "framework/IPlugBase.h"
#include "graphics/IGraphics.h"
#include "graphics/controls/CommandTag.h"

namespace {

int ConnectedInputs(const IPlugBase& plug) {
  int n = 0;
  for (int i = 0; i < plug.NInChannels(); ++i) n += plug.IsInChannelConnected(i) ? 1 : 0;
  return n;
}

int ConnectedOutputs(const IPlugBase& plug) {
  int n = 0;
  for (int i = 0; i < plug.NOutChannels(); ++i) n += plug.IsOutChannelConnected(i) ? 1 : 0;
  return n;
}

}  // namespace

IMyHelpMenuTTScaleOS::IMyHelpMenuTTScaleOS(IPlugBase* plug, const IRECT& rect, const char* manualURL,
                                           const char* versionURL, int tooltipParam, int oversamplingParam,
                                           int scaleParam, int scaleResetTag, int toleranceParam)
    : IControl(plug, rect),
      mManualURL(manualURL ? manualURL : ""),
      mVersionURL(versionURL ? versionURL : ""),
      mTooltipParam(tooltipParam),
      mScaleParam(scaleParam),
      mOversamplingParam(oversamplingParam),
      mScaleResetTag(scaleResetTag),
      mToleranceParam(toleranceParam) {}

void IMyHelpMenuTTScaleOS::OnMouseDown(int, int, IMouseMod*) {
  if (IGraphics* graphics = mPlug ? mPlug->GetGUI() : nullptr) graphics->mMouseDown = false;
  ShowHelpMenu();
}

int IMyHelpMenuTTScaleOS::AddSwitchItem(const char* text, int paramIdx) {
  const IParam* param = mPlug->GetParam(paramIdx);
  mMainMenu->AddSeparator();
  mMainMenu->AddItem(text, -1, param && param->Int() == 1 ? IPopupMenuItem::kChecked : IPopupMenuItem::kNoFlags);
  return mMainMenu->GetNItems() - 1;
}

void IMyHelpMenuTTScaleOS::AddParamSubmenu(const char* text, int paramIdx, IPopupMenu* submenu) {
  mMainMenu->AddSeparator();
  mMainMenu->AddSubmenu(text, submenu);
  const IParam* param = mPlug->GetParam(paramIdx);
  if (!param) return;
  for (int v = 0; v < param->GetNDisplayTexts(); ++v) submenu->AddItem(param->GetDisplayText(v));
  submenu->CheckItemAlone(param->Int());
}

void IMyHelpMenuTTScaleOS::ShowHelpMenu() {
  IGraphics* graphics = mPlug ? mPlug->GetGUI() : nullptr;
  if (!graphics) return;
  // The main menu points at the submenus: they are made first and outlive
  // it until the next click.
  mMainMenu.reset();
  mScaleMenu = std::make_unique<IPopupMenu>();
  mOversamplingMenu = std::make_unique<IPopupMenu>();
  mMainMenu = std::make_unique<IPopupMenu>();
  mAboutItem = mManualItem = mVersionItem = mTooltipItem = mToleranceItem = mScaleResetItem = kAbsent;

  mMainMenu->AddItem("Info", -1, IPopupMenuItem::kIndented);
  mMainMenu->AddSeparator();
  mMainMenu->AddItem("About ...");
  mAboutItem = mMainMenu->GetNItems() - 1;
  mMainMenu->AddItem("Open Manual ...");
  mManualItem = mMainMenu->GetNItems() - 1;
  mMainMenu->AddItem("Check Version ...");
  mVersionItem = mMainMenu->GetNItems() - 1;
  if (mTooltipParam >= 0) mTooltipItem = AddSwitchItem("Enable Tooltips", mTooltipParam);
  if (mToleranceParam >= 0) mToleranceItem = AddSwitchItem("Enable EQ Component Tolerances", mToleranceParam);
  if (mScaleResetTag >= 0) {
    mMainMenu->AddSeparator();
    mMainMenu->AddItem("GUI Scale Reset");
    mScaleResetItem = mMainMenu->GetNItems() - 1;
  }
  if (mScaleParam >= 0) AddParamSubmenu("GUI Scale", mScaleParam, mScaleMenu.get());
  if (mOversamplingParam >= 0) AddParamSubmenu("Oversampling", mOversamplingParam, mOversamplingMenu.get());

  IRECT area = mRECT;
  IPopupMenu* chosen = graphics->CreateIPopupMenu(mMainMenu.get(), &area);
  if (!chosen) return;
  const int i = chosen->GetChosenItemIdx();
  if (chosen == mMainMenu.get()) {
    if (i < 0) return;
    if (i == mAboutItem) {
      graphics->ShowMessageBox(AboutText().c_str(), "About", 0);
    } else if (i == mManualItem) {
      graphics->OpenURL(mManualURL.Get());
    } else if (i == mVersionItem) {
      graphics->OpenURL(mVersionURL.Get());
    } else if (i == mTooltipItem) {
      ToggleParam(mTooltipParam);
    } else if (i == mToleranceItem) {
      ToggleParam(mToleranceParam);
    } else if (i == mScaleResetItem) {
      NotifyCommandTag(mPlug, mScaleResetTag);
    }
  } else if (chosen == mScaleMenu.get()) {
    StoreSubmenuChoice(mScaleParam, *mScaleMenu, i);
  } else if (chosen == mOversamplingMenu.get()) {
    StoreSubmenuChoice(mOversamplingParam, *mOversamplingMenu, i);
  }
}

void IMyHelpMenuTTScaleOS::ToggleParam(int paramIdx) {
  IParam* param = mPlug->GetParam(paramIdx);
  if (!param) return;
  // A state save on another thread sees the value and what the plug-in
  // made of it change together.
  WDL_MutexLock lock(mPlug->GetMutex());
  param->SetNormalized(param->Int() == 1 ? 0.0 : 1.0);
  mPlug->OnParamChange(paramIdx);
}

void IMyHelpMenuTTScaleOS::StoreSubmenuChoice(int paramIdx, const IPopupMenu& submenu, int index) {
  IParam* param = mPlug->GetParam(paramIdx);
  if (!param || index < 0 || index >= submenu.GetNItems()) return;
  WDL_MutexLock lock(mPlug->GetMutex());
  param->Set(index);
  mPlug->OnParamChange(paramIdx);
}

std::string IMyHelpMenuTTScaleOS::AboutText() const {
  if (!mPlug) return std::string();
  IPlugBase& plug = *mPlug;
  char line[256];
  std::string text;
  const auto add = [&text, &line] { text += line; };
  std::snprintf(line, sizeof line, "Manufacturer: %s\n", plug.GetVendorText());
  add();
  std::snprintf(line, sizeof line, "Plugin name: %s\n", plug.GetProductText());
  add();
  std::snprintf(line, sizeof line, "Version: %s\n", plug.GetVersionText());
  add();
  std::snprintf(line, sizeof line, "Build date: %s\n", __DATE__);
  add();
  std::snprintf(line, sizeof line, "Format: %s %s\n", plug.GetAPIString(), plug.GetArchString());
  add();
  std::snprintf(line, sizeof line, "Host: %s\n", plug.GetHostName().Get());
  add();
  std::snprintf(line, sizeof line, "Channels: %d-%d (%d-%d)\n", ConnectedInputs(plug), ConnectedOutputs(plug),
                plug.NInChannels(), plug.NOutChannels());
  add();
  std::snprintf(line, sizeof line, "Plugin delay: %d%ssmp\n", plug.GetLatency(), " ");
  add();
  std::snprintf(line, sizeof line, "Sample Rate: %.2lf Hz\n", plug.GetSampleRate());
  add();
  return text;
}

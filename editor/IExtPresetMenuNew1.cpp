#include "editor/IExtPresetMenuNew1.h"

#include <cstring>
#include <string>

#include "framework/IPlugBase.h"
#include "framework/IPopupMenu.h"
#include "graphics/IGraphics.h"
#include "graphics/controls/BitmapFrame.h"
#include "graphics/controls/ControlScaling.h"

namespace {

constexpr int kMaxTooltipChars = 79;

IBitmap BitmapOrEmpty(const IBitmap* bitmap) { return bitmap ? *bitmap : IBitmap(); }

IRECT ButtonRect(int x, int y, const IBitmap* bitmap) { return BitmapFrame::FrameRECT(x, y, bitmap).UnscaledRECT(); }

}  // namespace

IExtPresetMenuNew1::IExtPresetMenuNew1(IPlugBase* plug, const IRECT& rect, int presetsX, int presetsY,
                                       IBitmap* presetsBitmap, const IRECT& textRect, const IText* textStyle,
                                       int prevX, int prevY, IBitmap* prevBitmap, int nextX, int nextY,
                                       IBitmap* nextBitmap, int saveDefaultTag, int randomizeTag,
                                       const char* presetFolder, const char* extension, int maxNameChars,
                                       const IPreset* defaultPreset, int blendMethod)
    : IControl(plug, rect, -1, IChannelBlend(blendMethod)),
      mPresetsBitmap(BitmapOrEmpty(presetsBitmap)),
      mPrevBitmap(BitmapOrEmpty(prevBitmap)),
      mNextBitmap(BitmapOrEmpty(nextBitmap)),
      mPresetsSource(mPresetsBitmap),
      mPrevSource(mPrevBitmap),
      mNextSource(mNextBitmap),
      mPresetsRect(ButtonRect(presetsX, presetsY, presetsBitmap)),
      mTextRect(textRect),
      mPrevRect(ButtonRect(prevX, prevY, prevBitmap)),
      mNextRect(ButtonRect(nextX, nextY, nextBitmap)),
      mUnscaledPresetsRect(mPresetsRect),
      mUnscaledTextRect(mTextRect),
      mUnscaledPrevRect(mPrevRect),
      mUnscaledNextRect(mNextRect),
      mSaveDefaultTag(saveDefaultTag),
      mRandomizeTag(randomizeTag),
      mPresetFolder(presetFolder ? presetFolder : ""),
      mExtension(extension ? extension : ""),
      mText(textStyle ? *textStyle : IText()),
      mUnscaledText(mText),
      mMaxNameChars(maxNameChars),
      mDefaultPreset(defaultPreset) {
  // User preset paths are the folder and a file name joined as they stand.
  const int length = mPresetFolder.GetLength();
  if (length > 0 && mPresetFolder.Get()[length - 1] != '/') mPresetFolder.Append("/");
  mDotExtension.Set(".");
  mDotExtension.Append(mExtension.Get());
}

void IExtPresetMenuNew1::Rescale(double scaleX, double scaleY) {
  IControl::Rescale(scaleX, scaleY);
  IGraphics* graphics = mPlug ? mPlug->GetGUI() : nullptr;
  mPresetsBitmap = BitmapFrame::Rescaled(graphics, mPresetsSource, scaleX, scaleY);
  mPrevBitmap = BitmapFrame::Rescaled(graphics, mPrevSource, scaleX, scaleY);
  mNextBitmap = BitmapFrame::Rescaled(graphics, mNextSource, scaleX, scaleY);
  // The areas follow the editor's GUI scale, which the layout sets first.
  const double gx = graphics ? graphics->GetGUIScaleX() : scaleX;
  const double gy = graphics ? graphics->GetGUIScaleY() : scaleY;
  mPresetsRect = ControlScaling::ScaledRECT(mUnscaledPresetsRect, gx, gy);
  mTextRect = ControlScaling::ScaledRECT(mUnscaledTextRect, gx, gy);
  mPrevRect = ControlScaling::ScaledRECT(mUnscaledPrevRect, gx, gy);
  mNextRect = ControlScaling::ScaledRECT(mUnscaledNextRect, gx, gy);
  mText = ControlScaling::ScaledText(mUnscaledText, scaleY);
}

void IExtPresetMenuNew1::OnMouseDown(int x, int y, IMouseMod*) { OnPresetBarClick(x, y); }

void IExtPresetMenuNew1::OnMouseUp(int, int, IMouseMod*) {
  mPrevPressed = false;
  mNextPressed = false;
  SetDirty(false);
}

bool IExtPresetMenuNew1::Draw(IGraphics* graphics) {
  graphics->DrawBitmapFrame(&mPresetsBitmap, &mPresetsRect, mMenuOpen ? 2 : 1, &mBlend);
  graphics->DrawBitmapFrame(&mPrevBitmap, &mPrevRect, mPrevPressed ? 2 : 1, &mBlend);
  graphics->DrawBitmapFrame(&mNextBitmap, &mNextRect, mNextPressed ? 2 : 1, &mBlend);
  const char* name = mPlug ? mPlug->GetPresetName(mPlug->GetCurrentPresetIdx()) : "";
  mNameText.Set(name);
  WDL_String fitted;
  FitText(&fitted, mNameText.Get(), mMaxNameChars);
  graphics->DrawIText(&mText, fitted.Get(), &mTextRect);
  SetTooltip(std::string(name).substr(0, kMaxTooltipChars).c_str());
  return true;
}

void IExtPresetMenuNew1::FitText(WDL_String* out, const char* text, int n) {
  if (!out) return;
  if (!text) text = "";
  const int length = static_cast<int>(std::strlen(text));
  if (n < 7 || length == 0 || length < n) {
    out->Set(text);
    return;
  }
  const int head = n / 2;
  std::string fitted = std::string(text, static_cast<size_t>(head)) + (text + length - (n - head));
  fitted.replace(static_cast<size_t>(head - 2), 5, " ... ");
  out->Set(fitted.c_str());
}

void IExtPresetMenuNew1::CopyPreset(int src, int dst, bool withName) {
  IPreset* from = mPlug ? mPlug->GetPreset(src) : nullptr;
  IPreset* to = mPlug ? mPlug->GetPreset(dst) : nullptr;
  if (!from || !to) return;
  to->mChunk = from->mChunk;
  // A filled chunk in a record still marked empty would be thrown away by
  // the restore, which fills an empty record from the current state.
  if (from->mInitialized) to->mInitialized = true;
  if (withName && from->mName[0]) mPlug->SetPresetName(dst, from->mName);
}

void IExtPresetMenuNew1::OnPresetBarClick(int x, int y) {
  IGraphics* graphics = mPlug ? mPlug->GetGUI() : nullptr;
  if (!graphics) return;
  graphics->mMouseDown = false;
  if (mPresetsRect.Union(mTextRect).Contains(x, y)) {
    mMenuOpen = true;
    SetDirty(false);
    ShowPresetMenu();
    mMenuOpen = false;
    SetDirty(false);
  }
  if (mPrevRect.Contains(x, y) && !mPrevPressed) StepBack();
  if (mNextRect.Contains(x, y) && !mNextPressed) StepForward();
}

void IExtPresetMenuNew1::StepBack() {
  const int n = mPlug->NPresets();
  if (n == 1 || mPresetIdx <= 0) return;
  const int m = mPresetIdx < n ? mPresetIdx : n;
  const int k = m >= 2 ? m - 1 : 1;
  if (k == mPresetIdx) return;
  mPrevPressed = true;
  SetDirty(false);
  ApplyFactoryPreset(k);
}

void IExtPresetMenuNew1::StepForward() {
  const int n = mPlug->NPresets();
  if (n <= 1) return;
  int k = mPresetIdx == -1 ? 1 : mPresetIdx + 1;
  if (k > n - 1) k = n - 1;
  if (k < 1) k = 1;
  if (k == mPresetIdx) return;
  mNextPressed = true;
  SetDirty(false);
  ApplyFactoryPreset(k);
}

void IExtPresetMenuNew1::ApplyFactoryPreset(int k) {
  {
    WDL_MutexLock lock(mPlug->GetMutex());
    CopyPreset(k, 0, true);
  }
  RestoreWorkingPreset();
  mPresetIdx = k;
}

void IExtPresetMenuNew1::RestoreWorkingPreset() {
  {
    WDL_MutexLock lock(mPlug->GetMutex());
    // The restore may rename the record; the bar shows the name it had.
    const WDL_String name(mPlug->GetPresetName(0));
    // Flagged only: the display settings are the user's, not the preset's.
    mPlug->RestorePreset(0, true);
    mPlug->SetPresetName(0, name.Get());
  }
  mPlug->NotifyHostAllParams();
  mPlug->NotifyHostAllParamValues();
}

void IExtPresetMenuNew1::ShowPresetMenu() {
  IGraphics* graphics = mPlug->GetGUI();
  IPopupMenu factory;
  IPopupMenu user;
  IPopupMenu main;
  main.AddItem("Load Preset...");
  main.AddItem("Reset to Default");
  main.AddSeparator();
  main.AddItem("Save Preset...");
  main.AddItem("Save as Default");
  if (mRandomizeTag >= 0) {
    main.AddSeparator();
    main.AddItem("Randomize Parameter");
  }
  for (int k = 1; k < mPlug->NPresets(); ++k) {
    factory.AddItem(mPlug->GetPresetName(k), -1, k == mPresetIdx ? IPopupMenuItem::kChecked : IPopupMenuItem::kNoFlags);
  }
  main.AddSeparator();
  main.AddSubmenu("Factory", &factory);
  if (ScanUserPresets(&user, mPresetFolder.Get(), mDotExtension.Get(), 20) > 0) {
    main.AddSeparator();
    main.AddSubmenu("User", &user);
  }

  IRECT area = mRECT;
  IPopupMenu* chosen = graphics->CreateIPopupMenu(&main, &area);
  if (!chosen) return;
  const int i = chosen->GetChosenItemIdx();
  if (chosen == &factory) {
    if (i >= 0 && i < factory.GetNItems()) ApplyFactoryPreset(i + 1);
    return;
  }
  if (chosen == &user) {
    if (i < 0 || i >= user.GetNItems()) return;
    mLastPresetPath.Set(mPresetFolder.Get());
    mLastPresetPath.Append(user.GetItemText(i));
    mLastPresetPath.Append(mDotExtension.Get());
    LoadPresetFile(mLastPresetPath.Get());
    mPresetIdx = -1;
    return;
  }
  if (chosen != &main) return;
  switch (i) {
    case kLoadItem:
      PromptForPresetFile(0, &mLastPresetPath);
      LoadPresetFile(mLastPresetPath.Get());
      break;
    case kResetItem:
      if (IPreset* working = mPlug->GetPreset(0); working && mDefaultPreset) {
        {
          WDL_MutexLock lock(mPlug->GetMutex());
          working->mChunk = mDefaultPreset->mChunk;
          if (mDefaultPreset->mInitialized) working->mInitialized = true;
          if (mDefaultPreset->mName[0]) mPlug->SetPresetName(0, mDefaultPreset->mName);
        }
        RestoreWorkingPreset();
      }
      break;
    case kSaveItem:
      PromptForPresetFile(1, &mLastPresetPath);
      SavePresetFile(mLastPresetPath.Get());
      break;
    case kSaveDefaultItem:
      if (mSaveDefaultTag >= 0) mPlug->OnParamChange(mSaveDefaultTag);
      break;
    case kRandomizeItem:
      // Without the entry this index is the "Factory" item, which opens
      // its submenu and is no choice.
      if (mRandomizeTag < 0) return;
      mPlug->OnParamChange(mRandomizeTag);
      break;
    default:
      return;
  }
  mPresetIdx = -1;
}

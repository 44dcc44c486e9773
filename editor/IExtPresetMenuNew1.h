#pragma once

#include "framework/containers/WDL_String.h"
#include "graphics/IBitmap.h"
#include "graphics/IControl.h"
#include "graphics/IRECT.h"
#include "graphics/IText.h"

class IPopupMenu;
struct IPreset;

// The preset bar: a "presets" button and the current preset's name, which
// open the preset menu, and "previous" and "next" buttons that step through
// the factory presets without wrapping. Preset 0 is the working preset (the
// one whose state the plug-in has); presets 1 to n - 1 are the factory
// presets. Choosing one copies it into preset 0 and restores that. The menu
// also loads and saves preset files, resets to the default record, saves
// the user default (through a command tag) and lists the preset files of
// the user's folder.
class IExtPresetMenuNew1 : public IControl {
 public:
  // Rectangles are left, top, right, bottom at 100 % GUI scale; each button
  // is one frame of its two-frame bitmap at its corner. extension comes
  // without its dot ("tps"). A tag of -1 leaves "Save as Default" doing
  // nothing and "Randomize Parameter" out of the menu. The default record
  // is the plug-in's and must outlive the bar.
  IExtPresetMenuNew1(IPlugBase* plug, const IRECT& rect, int presetsX, int presetsY, IBitmap* presetsBitmap,
                     const IRECT& textRect, const IText* textStyle, int prevX, int prevY, IBitmap* prevBitmap,
                     int nextX, int nextY, IBitmap* nextBitmap, int saveDefaultTag, int randomizeTag,
                     const char* presetFolder, const char* extension, int maxNameChars,
                     const IPreset* defaultPreset, int blendMethod);

  void Rescale(double scaleX, double scaleY) override;
  void OnMouseDown(int x, int y, IMouseMod* mod) override;
  void OnMouseUp(int x, int y, IMouseMod* mod) override;
  bool Draw(IGraphics* graphics) override;

  // The name shown in n characters: a text of n characters or more keeps
  // its first n / 2 and last n - n / 2, with " ... " written over the
  // middle; shorter texts, empty ones and any n below 7 stay as they are.
  static void FitText(WDL_String* out, const char* text, int n);

  // A path's folder (up to and including the last "/"), name, and
  // extension (from the name's last dot on; a leading dot is part of the
  // name). Missing parts are empty.
  static void SplitPath(const char* path, WDL_String* folder, WDL_String* name, WDL_String* extension);

  // Appends to the menu, in alphabetical order (strcoll), the name without
  // its extension of every regular file in the folder whose name ends in
  // extension, at most limit + 1 of them; the number appended. 0 when the
  // folder cannot be read.
  static int ScanUserPresets(IPopupMenu* menu, const char* folder, const char* extension, int limit);

  // Preset src's chunk (and, with withName, its name when it has one)
  // copied over preset dst's. Nothing when either index names no preset.
  void CopyPreset(int src, int dst, bool withName);

  // The factory preset last chosen here, -1 when none (after a file, a
  // reset to the default or a rebuild of the editor).
  int GetPresetIdx() const { return mPresetIdx; }
  const char* GetLastPresetPath() const { return mLastPresetPath.Get(); }
  const char* GetNameText() const { return mNameText.Get(); }
  const IRECT& GetPresetsRect() const { return mPresetsRect; }
  const IRECT& GetTextRect() const { return mTextRect; }
  const IRECT& GetPrevRect() const { return mPrevRect; }
  const IRECT& GetNextRect() const { return mNextRect; }
  const IText& GetText() const { return mText; }
  bool IsMenuOpen() const { return mMenuOpen; }

 protected:
  // Items of the main menu.
  enum EMainItem { kLoadItem = 0, kResetItem = 1, kSaveItem = 3, kSaveDefaultItem = 4, kRandomizeItem = 6 };

  void OnPresetBarClick(int x, int y);
  void ShowPresetMenu();
  void StepBack();
  void StepForward();
  // Preset k into preset 0, restored, and the host told of every value.
  void ApplyFactoryPreset(int k);
  // Preset 0 restored under its own name, and the host told.
  void RestoreWorkingPreset();
  // A ".tps" file into the working preset. A file that cannot be read, or
  // is another product's, is refused before anything changes.
  bool LoadPresetFile(const char* path);
  void SavePresetFile(const char* path);
  // The file dialog over a copy of the preset folder; the chosen path.
  void PromptForPresetFile(int action, WDL_String* path);

  IBitmap mPresetsBitmap, mPrevBitmap, mNextBitmap;
  IBitmap mPresetsSource, mPrevSource, mNextSource;
  IRECT mPresetsRect, mTextRect, mPrevRect, mNextRect;
  IRECT mUnscaledPresetsRect, mUnscaledTextRect, mUnscaledPrevRect, mUnscaledNextRect;
  bool mMenuOpen = false;
  bool mPrevPressed = false;
  bool mNextPressed = false;
  int mSaveDefaultTag;
  int mRandomizeTag;
  WDL_String mPresetFolder;
  WDL_String mLastPresetPath;
  WDL_String mExtension;
  WDL_String mDotExtension;
  WDL_String mNameText;
  IText mText;
  IText mUnscaledText;
  int mMaxNameChars;
  const IPreset* mDefaultPreset;
  int mPresetIdx = -1;
};

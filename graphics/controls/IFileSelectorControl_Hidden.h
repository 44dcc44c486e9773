#pragma once

#include "framework/containers/WDL_String.h"
#include "graphics/IControl.h"

// An invisible area that opens the platform's open or save dialog when
// clicked and then tells the plug-in through its command tag; the plug-in
// reads the chosen file during that call. A cancelled dialog still
// notifies, with an empty file name, which the plug-in takes as nothing
// chosen.
class IFileSelectorControl_Hidden : public IControl {
 public:
  enum EAction { kActionOpen = 0, kActionSave = 1 };  // any action but 1 opens
  enum EState { kStateIdle = 0, kStateChoosing = 1, kStateChosen = 2 };

  // extensions without dots, separated by blanks ("ref wav aiff").
  IFileSelectorControl_Hidden(IPlugBase* plug, const IRECT& rect, int tag, int action, const char* directory,
                              const char* extensions);

  // Runs the dialog to its end: save proposes "new", open the last chosen
  // file. Nothing without a plug-in or a graphics core.
  void OnMouseDown(int x, int y, IMouseMod* mod) override;
  bool Draw(IGraphics*) override { return true; }

  // Idle until the first click, choosing while the dialog is open, chosen
  // (whatever the answer) from its return until the next click.
  int GetState() const { return mState; }
  // The full path, empty when the dialog was cancelled.
  const char* GetChosenFile() const { return mFile.Get(); }
  // The chosen file's folder with a closing "/", as the dialog left it.
  const char* GetChosenDirectory() const { return mChosenDir.Get(); }
  const char* GetDirectory() const { return mDir.Get(); }
  void SetDirectory(const char* directory) { mDir.Set(directory ? directory : ""); }
  const char* GetExtensions() const { return mExtensions.Get(); }
  void SetExtensions(const char* extensions) { mExtensions.Set(extensions ? extensions : ""); }
  int GetAction() const { return mAction; }
  int GetTag() const { return mTag; }

 protected:
  WDL_String mDir;  // where every dialog opens
  WDL_String mFile;
  WDL_String mExtensions;
  WDL_String mChosenDir;
  int mAction;
  int mState = kStateIdle;
  int mTag;
};

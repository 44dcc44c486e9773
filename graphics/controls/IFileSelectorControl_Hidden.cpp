#include "graphics/controls/IFileSelectorControl_Hidden.h"

#include "framework/IPlugBase.h"
#include "graphics/IGraphics.h"
#include "graphics/controls/CommandTag.h"

IFileSelectorControl_Hidden::IFileSelectorControl_Hidden(IPlugBase* plug, const IRECT& rect, int tag, int action,
                                                         const char* directory, const char* extensions)
    : IControl(plug, rect),
      mDir(directory ? directory : ""),
      mExtensions(extensions ? extensions : ""),
      mAction(action),
      mTag(tag) {}

void IFileSelectorControl_Hidden::OnMouseDown(int, int, IMouseMod*) {
  IGraphics* graphics = mPlug ? mPlug->GetGUI() : nullptr;
  if (!graphics) return;
  mState = kStateChoosing;
  mRedraw = true;
  if (mAction == kActionSave) mFile.Set("new");
  // The dialog writes the chosen file's folder into the folder it is
  // given; the starting folder stays as set, for every later dialog.
  WDL_String folder(mDir.Get());
  graphics->PromptForFile(&mFile, mAction == kActionSave ? kActionSave : kActionOpen, &folder, mExtensions.Get());
  mChosenDir.Set(folder.Get());
  mState = kStateChosen;
  mRedraw = true;
  NotifyCommandTag(mPlug, mTag);
}

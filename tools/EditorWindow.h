#pragma once

#include "platform/hitoolbox/MacWindows.h"

class Brimlow;
namespace platform {
class ScreenWindow;
}

// The plug-in's editor on screen as a host opens it, in a window of the
// window server (headless unless another backend is installed): a
// compositing window of the editor's size for the plug-in's GUI scale, the
// editor opened with OpenWindowCarbon, every control marked dirty and the
// plug-in told to fit its scale, as the host binding does. The editor's
// timer runs on the run loop's clock, which the caller advances.
//
// The plug-in does not fit its editor to the scale yet (its resize goes to
// a host binding that cannot resize a window); the editor is therefore
// made the size of its scale here before it opens, as that resize will:
// Resize with the controls kept, then the layout's rescale.
class EditorWindow {
 public:
  explicit EditorWindow(Brimlow& plug);
  ~EditorWindow();
  EditorWindow(const EditorWindow&) = delete;
  EditorWindow& operator=(const EditorWindow&) = delete;

  // What the window shows: the last image the editor presented.
  const platform::ScreenWindow& Screen() const;
  WindowRef Window() const { return mWindow; }

 private:
  Brimlow& mPlug;
  WindowRef mWindow = nullptr;
};

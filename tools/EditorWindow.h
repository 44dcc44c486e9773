#pragma once

#include "platform/hitoolbox/MacWindows.h"
#include "plugin/controller/Brimlow.h"

namespace platform {
class ScreenWindow;
}

// The plug-in's editor on screen as a host opens it, in a window of the
// window server (headless unless another backend is installed): a
// compositing window of the editor's size, the editor opened with
// OpenWindowCarbon, every control marked dirty and the plug-in told to fit
// its GUI scale, as the host binding does. The plug-in's resizes (the
// first fit, a new "GUI Scale") come back as requests, which Service
// carries out: the editor closed, a window of the new size, the editor
// opened in it again. The editor's timer runs on the run loop's clock,
// which the caller advances.
class EditorWindow : public Brimlow::EditorWindowHost {
 public:
  explicit EditorWindow(Brimlow& plug);
  ~EditorWindow() override;
  EditorWindow(const EditorWindow&) = delete;
  EditorWindow& operator=(const EditorWindow&) = delete;

  // What the window shows: the last image the editor presented.
  const platform::ScreenWindow& Screen() const;
  WindowRef Window() const { return mWindow; }

  // Reopens the window at the size the plug-in last asked for, when that
  // differs; between run-loop passes, never from inside the editor's timer.
  void Service();

  void RequestEditorResize(int width, int height) override;

 private:
  void Open(int width, int height);
  void Close();

  Brimlow& mPlug;
  WindowRef mWindow = nullptr;
  int mWidth = 0, mHeight = 0;
  int mWantedWidth = 0, mWantedHeight = 0;
};

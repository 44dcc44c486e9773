#pragma once

#include "framework/containers/WDL_String.h"

// The reference load that the editor's redraw timer runs for an audio file.
// Measuring a file blocks the GUI thread, so the request only records the
// path; the first tick after it only counts, so the file dialog can close
// and the editor redraw first, and the second runs the load.
//
// States (as the plug-in keeps them): 0 idle, 7 requested (ticks counted),
// 8 due, 9 loading.
class PendingReferenceLoad {
 public:
  enum State {
    kIdle = 0,
    kRequested = 7,
    kDue = 8,
    kLoading = 9,
  };

  // What a tick calls on the plug-in.
  class Actions {
   public:
    virtual ~Actions() = default;
    // Measures the file and, on success, commits the new reference.
    virtual void LoadReferenceFile(const char* path) = 0;
    // The status text the load left, shown as the message caption.
    virtual const char* GetCaptureStatus() = 0;
    // A modal message with one button; it may run editor ticks of its own.
    virtual void ShowMessageBox(const char* text, const char* caption) = 0;
  };

  // Records the audio file to load (a later request replaces an earlier
  // one) and starts the count again. An empty path is ignored.
  void Request(const char* path);

  // One redraw-timer tick (the plug-in's OnGUIIdle). The load and its
  // message run inside the tick; ticks arriving meanwhile (from the modal
  // message) do nothing, and a request made meanwhile is kept for later.
  void Tick(Actions& actions);

  int GetState() const { return mReferenceLoadState; }
  int GetTicks() const { return mReferenceLoadTicks; }
  const char* GetPendingPath() const { return mPendingReferencePath.Get(); }

 private:
  int mReferenceLoadState = kIdle;
  int mReferenceLoadTicks = 0;
  WDL_String mPendingReferencePath;
};

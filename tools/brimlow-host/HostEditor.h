#pragma once

#include <cstdint>

#include "platform/hitoolbox/MacWindows.h"

class StandInHost;
namespace platform {
class ScreenWindow;
}

// The instance's editor in a plug-in window of the host: a window of the
// size the plug-in reports (selector 4), with no screen behind it, whose
// port the plug-in gets with selector 47. Whenever the plug-in asks for a
// new window size, the host opens the editor in the window again.
class HostEditor {
 public:
  HostEditor(StandInHost& host, uint32_t typeID, int32_t instance);
  ~HostEditor();
  HostEditor(const HostEditor&) = delete;
  HostEditor& operator=(const HostEditor&) = delete;

  // Reopens the editor for every resize request posted since the last look.
  void Service();
  // Lets the editor's timer run for the given audio time.
  void Advance(double seconds);

  int16_t Width() const { return mWidth; }
  int16_t Height() const { return mHeight; }
  int Reopened() const { return mReopened; }
  const platform::ScreenWindow& Screen() const;

 private:
  void Open();
  // The window takes the editor's present size.
  void Fit();

  StandInHost& mHost;
  uint32_t mTypeID;
  int32_t mInstance;
  WindowRef mWindow = nullptr;
  int16_t mWidth = 0, mHeight = 0;
  int mReopened = 0;
};

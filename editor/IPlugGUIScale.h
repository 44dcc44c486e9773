#pragma once

// The plug-in's GUI-scale state: the editor's size at 100 %, the scale it
// is drawn at and whether the window still has to be fitted to it.
struct IPlugGUIScale {
  // Set when the window was first fitted; never cleared again.
  bool mGUIOpened = false;
  // A new scale waits for the editor timer to apply it.
  bool mGUIResizePending = false;
  double mBaseWidth = 872.0;
  double mBaseHeight = 632.0;
  // Always equal.
  double mGUIScaleX = 1.0;
  double mGUIScaleY = 1.0;
  double mMinGUIScale = 0.5;
  double mMaxGUIScale = 2.0;
};

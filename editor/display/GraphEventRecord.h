#pragma once

#include <cstdint>

// The EQ graph's record of the last mouse action, filled before the graph
// calls the plug-in's OnParamChange with its command tag and cleared after.
struct GraphEventRecord {
  // Items of the band menu, announced in mCommand.
  enum ECommand {
    kCommandNone = -1,
    kCommandBandLine = 0,
    kCommandType = 1,
    kCommandChannel = 2,
    kCommandSlope = 3,
    kCommandReset = 4,
    kCommandInvertGain = 5,
    kCommandInvertGainAll = 6,
    kCommandMoveOut = 7,
    kCommandSolo = 8,
  };

  int32_t mSelectedBand = -1;  // hit test of the twelve handles; -1 none
  int32_t mInPlot = 0;
  // Strip rectangles the spot lies in, only when no band was hit.
  int32_t mFrequencyStrip = 0;
  int32_t mAnalyzerScaleStrip = 0;
  int32_t mEQScaleStrip = 0;
  bool mDown = false;
  bool mMenu = false;
  bool mDoubleClick = false;
  bool mDrag = false;
  bool mWheel = false;
  bool mUp = false;
  bool mHover = false;
  int32_t mCommand = kCommandNone;
  int32_t mCommandValue = 0;  // chosen type, channel mode or slope index
  // Minus the wheel delta, or on a strip drag the sign of the drag step.
  int32_t mSteps = 0;
  double mDX = 0.0;  // pixels of the last drag step
  double mDY = 0.0;
  double mDBPerPixel = 0.0;
  double mDecadesPerPixel = 0.0;
  double mDBAtMouse = 0.0;
  double mHzAtMouse = 0.0;

  void Clear() { *this = GraphEventRecord(); }
};

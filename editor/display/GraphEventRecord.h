#pragma once

#include <cstdint>

// What the EQ graph tells the plug-in about one mouse action. The graph
// fills it, calls the plug-in's OnParamChange with its tag and, when the
// call returns, clears the one-shot part (the seven event flags, mStep and
// the drag deltas); the rest keeps the last event's values. Exactly one
// event flag is set while the plug-in is being told.
struct GraphEventRecord {
  // Band-menu commands, announced in mMenuAction.
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

  int32_t mMouseX = -1;  // editor pixels; -1, -1 while the mouse is outside
  int32_t mMouseY = -1;
  // The band whose handle holds the spot, -1 none; a drag keeps the band
  // its mouse-down found.
  int32_t mHitBand = -1;
  int32_t mPlotHit = 0;  // on the plot and on no handle
  // The axis strip the spot lies in (at most one is set).
  int32_t mOnFreqScale = 0;
  int32_t mOnAnalyzerScale = 0;
  int32_t mOnEQScale = 0;
  bool mEvDown = false;  // left button
  bool mEvMenu = false;  // a band-menu choice opened by the right button
  bool mEvDblClick = false;
  bool mEvDrag = false;
  bool mEvWheel = false;
  bool mEvUp = false;
  bool mEvHover = false;  // mouse-over or mouse-out
  int32_t mMenuAction = kCommandNone;
  int32_t mMenuValue = 0;  // the chosen type, channel mode or slope index
  // A strip drag: the sign of the drag along the strip's axis; a wheel
  // turn of d steps: -d.
  int32_t mStep = 0;
  double mDragDX = 0.0;  // pixels since the last drag event, x right
  double mDragDY = 0.0;  // y down
  double mDBPerPixel = 1.0;
  double mDecadesPerPixel = 1.0;
  double mDBAtMouse = 0.0;  // equaliser gain at the mouse's y
  double mHzAtMouse = 1.0;  // frequency at the mouse's x
};

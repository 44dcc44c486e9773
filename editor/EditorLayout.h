#pragma once

#include <vector>

class Brimlow;
class IGraphics;

// The editor: every control, in a fixed order, for the plug-in's GUI scale.
namespace EditorLayout {

enum ELayoutMode { kBuild = 0, kRescale = 1 };

// The editor's size at 100 % and the scale its images are drawn at.
constexpr int kBaseWidth = 872;
constexpr int kBaseHeight = 632;
constexpr double kBitmapScale = 2.0;

// kBuild attaches every control to an editor that holds none; kRescale
// re-fits the controls built before to the plug-in's GUI scale; any other
// mode does nothing. The caller runs UpdateViewLayout afterwards.
void LayoutGUI(Brimlow* plug, IGraphics* graphics, int mode);

// Puts the editor into the view "Large Scope" chose, at the current GUI
// scale: backgrounds and band strip shown or hidden, the display, curve and
// zoom buttons placed; then greys "EQ Scale" while "Link EQ" is on and the
// meters while the meter channel mode is "Off".
void UpdateViewLayout(Brimlow* plug);

// Handed to the display with the plug-in as context: the plug-in's EQ
// curve level at a frequency, for a channel mode and a band (-1: all).
double EQCurveCallback(void* context, double frequency, int channel, int band);
// Handed to the display beside it: appends what EQCurveCallback's answers
// follow from besides its arguments, so the display can keep its curves
// while none of it changes.
void EQCurveStateCallback(void* context, std::vector<double>* state);
// Handed to the display: refreshes the analyser curves before drawing.
void AnalyzerRefreshCallback(void* context);

}  // namespace EditorLayout

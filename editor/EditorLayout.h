#pragma once

class Brimlow;
class IGraphics;

// The editor layout for the current GUI scale.
namespace EditorLayout {

enum ELayoutMode { kBuild = 0, kRescale = 1 };

// kBuild builds every editor control for the current GUI scale; kRescale
// re-places the built controls for the plug-in's GUI scale.
void LayoutGUI(Brimlow* plug, IGraphics* graphics, int mode);
// Shows or hides controls by view mode and re-places the curve-select and
// zoom buttons.
void UpdateViewLayout(Brimlow* plug);
// Handed to the EQ graph with the plug-in as context: the plug-in's EQ
// curve level in dB at a frequency, for a channel mode and a band (-1: all).
double EQCurveCallback(void* context, double frequency, int channel, int band);
// Handed to the display: refreshes the analyser curves before drawing.
void AnalyzerRefreshCallback(void* context);

}  // namespace EditorLayout

#pragma once

#include "editor/display/PlotMapping.h"
#include "editor/display/SpectrumPlot.h"
#include "graphics/IColor.h"

class IGraphics;
struct IChannelBlend;

// What the spectrum drawing paints with: the surface, the control's blend
// and the plot it stays inside.
struct SpectrumPen {
  IGraphics* g;
  const IChannelBlend* blend;
  PlotMapping map;
};

struct SpectrumCurveStyle {
  bool isMax = false;    // a max-hold set: bars become caps
  bool drawLine = true;
  bool drawFill = false;  // down to the plot's bottom
  bool smooth = true;     // Bezier segments instead of straight lines
  int barUnit = 0;        // columns per bar; 0 draws a curve
};

// The points as a curve, or as bars barUnit columns apart. Pairs of
// neighbours both below fminHz or both above fmaxHz are left out (bars:
// points outside the range).
void DrawSpectrumPolyline(const SpectrumPen& pen, const IColor& line, const IColor& fill, const SpectrumPoint* points,
                          int count, double fminHz, double fmaxHz, const SpectrumCurveStyle& style);

struct PlotPoint {
  double x, y;
};

// A cubic Bezier from a to b shaped by their outer neighbours p and q, cut
// into steps straight pieces; pieces wholly outside the plot are dropped.
// The fill runs from each piece down to bottom.
void DrawSpectrumSegment(const SpectrumPen& pen, const IColor& line, const IColor& fill, PlotPoint p, PlotPoint a,
                         PlotPoint b, PlotPoint q, int bottom, int steps, double tension, bool drawLine,
                         bool drawFill);

// The set as a one-row colour strip of the given top and height: each plot
// column up to half the sample rate takes the level plus tilt interpolated
// between the points the bin map gives it, coloured by its place in the
// analyser range, or with heatMap by its distance below the set's peak.
// Needs two points or more.
struct SpectrogramStrip {
  const int* binMap;
  int binCount;
  double binsPerHz;
  double nyquistHz;
  double dbLo, dbHi;
  double peakDb;
  bool heatMap;
  int top;
  int height;
};
void DrawSpectrogramColumns(const SpectrumPen& pen, const SpectrumPoint* points, int count,
                            const SpectrogramStrip& strip);

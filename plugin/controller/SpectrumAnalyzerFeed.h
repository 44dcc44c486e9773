#pragma once

#include "plugin/engine/AnalyzerFeed.h"

class SpectrumAnalyzer;

// Hands the engine's analyser blocks to one SpectrumAnalyzer, choosing the
// channel or channel combination by "Analyzer Mode".
class SpectrumAnalyzerFeed : public AnalyzerFeed {
 public:
  void SetAnalyzer(SpectrumAnalyzer* analyzer) { mAnalyzer = analyzer; }

  // 0 the sum of all channels, 1 channel 0, 2 channel 1, 3 mid, 4 side;
  // other modes feed nothing. A mono block gives nothing for 2 and 4 and
  // its one channel for 3.
  void FeedAnalyzer(double** channels, int nChannels, int nFrames, int analyzerMode) override;

 private:
  SpectrumAnalyzer* mAnalyzer = nullptr;
};

#include "plugin/controller/SpectrumAnalyzerFeed.h"

#include "plugin/engine/SpectrumAnalyzer.h"

void SpectrumAnalyzerFeed::FeedAnalyzer(double** channels, int nChannels, int nFrames, int analyzerMode) {
  if (!mAnalyzer) return;
  switch (analyzerMode) {
    case 0: mAnalyzer->FeedInput(channels, nFrames, nChannels, -1, false); break;
    case 1: mAnalyzer->FeedInput(channels, nFrames, nChannels, 0, false); break;
    case 2: mAnalyzer->FeedInput(channels, nFrames, nChannels, 1, false); break;
    case 3: mAnalyzer->FeedInput(channels, nFrames, nChannels, 0, true); break;
    case 4: mAnalyzer->FeedInput(channels, nFrames, nChannels, 1, true); break;
    default: break;
  }
}

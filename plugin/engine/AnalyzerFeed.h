#pragma once

// Hands one block to a spectrum analyser's input. The engine decides
// whether a feed happens at all ("Hold", "Post Filter Spectrum",
// "Predictive Post Spectrum") and passes only analyser modes 0..4; the
// analyser chooses what it takes by mode: 0 the sum of all channels, 1
// channel 0, 2 channel 1 (stereo only), 3 mid, 4 side. Called on the audio
// thread: implementations must not allocate or lock.
class AnalyzerFeed {
 public:
  virtual ~AnalyzerFeed() = default;

  virtual void FeedAnalyzer(double** channels, int nChannels, int nFrames, int analyzerMode) = 0;
};

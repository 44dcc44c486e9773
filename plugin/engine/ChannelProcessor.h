#pragma once

// What runs at the processing rate between the oversampling converters
// (the filter bank, or a stand-in in tests): n frames from in to out, with
// the channel counts of the bus.
class ChannelProcessor {
 public:
  virtual ~ChannelProcessor() = default;

  virtual void ProcessChannels(double** in, double** out, int n, int nIn, int nOut) = 0;
};

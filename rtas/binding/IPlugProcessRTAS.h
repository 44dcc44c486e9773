#pragma once

#include "rtas/binding/IPlugProcess.h"

// The process the host gets for each instance: the plug-in's process with
// the render path, the host's block size and the transport. Blocks come
// from the render callback on the host's audio thread and run under the
// plug mutex, processed or passed through while the master bypass is on.
class IPlugProcessRTAS : public IPlugProcess {
 public:
  explicit IPlugProcessRTAS(uint32_t uniqueID);
  ~IPlugProcessRTAS() override;

  // The bypass control is always automatable; a parameter's control is.
  int32_t GetControlAutomatable(int32_t control, int16_t* automatable) override;
  int32_t GetLatency(int32_t* samples) override { return GetPlugLatency(samples); }
  int32_t GetPlugLatency(int32_t* samples);
  void RenderAudio(float** inputs, float** outputs, int32_t frames) override;

  // The host's largest block; 32 when it tells none.
  int GetHostBlockSize() override;
  // Without the host's MIDI client: tempo 0, position 0, the signature
  // left alone and the time record left as it is.
  double GetTransportTempo() override;
  void GetTransportTimeSig(int* numerator, int* denominator) override;
  int64_t GetTransportSamplePos() override;
  void GetTransportTime(ITimeInfo* timeInfo) override;
};

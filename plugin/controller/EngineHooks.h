#pragma once

#include "plugin/engine/EngineHost.h"
#include "plugin/engine/LoudnessHook.h"
#include "plugin/engine/MeterHook.h"

class IPlugBase;
class LoudnessMatcher;
class Meters;

// What the equaliser engine reaches of the plug-in object: the framework's
// latency and host calls, the two level meters and the loudness match.
// The engine calls these on the audio thread under the plug mutex.
class EngineHooks : public EngineHost, public MeterHook, public LoudnessHook {
 public:
  EngineHooks(IPlugBase& plug, Meters& meters, LoudnessMatcher& loudness)
      : mPlug(plug), mMeters(meters), mLoudness(loudness) {}

  int GetLatency() const override;
  // The bypass delay line is reserved for the engine's longest latency at
  // construction, so this never allocates.
  void SetLatency(int samples) override;
  int GetHost() override;
  bool IsDisplayRefreshSuspended() override;

  void ProcessInputMeter(double left, double right) override;
  void ProcessOutputMeter(double left, double right) override;
  void ProcessMeterBlocks(const double* inLeft, const double* inRight, const double* outLeft,
                          const double* outRight, int n) override;

  double GetLoudnessMatchGain(double inL, double inR, double outL, double outR) override;
  bool GetLoudnessMatchGains(const double* inL, const double* inR, const double* outL, const double* outR,
                             double* gains, int n) override;

 private:
  IPlugBase& mPlug;
  Meters& mMeters;
  LoudnessMatcher& mLoudness;
};

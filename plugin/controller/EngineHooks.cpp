#include "plugin/controller/EngineHooks.h"

#include "framework/IPlugBase.h"
#include "plugin/engine/LoudnessMatcher.h"
#include "plugin/engine/Meters.h"

int EngineHooks::GetLatency() const { return mPlug.GetLatency(); }

void EngineHooks::SetLatency(int samples) { mPlug.SetLatency(samples); }

int EngineHooks::GetHost() { return mPlug.GetHost(); }

bool EngineHooks::IsDisplayRefreshSuspended() { return mPlug.IsDisplayRefreshSuspended(); }

void EngineHooks::ProcessInputMeter(double left, double right) { mMeters.ProcessInputMeter(left, right); }

void EngineHooks::ProcessOutputMeter(double left, double right) { mMeters.ProcessOutputMeter(left, right); }

void EngineHooks::ProcessMeterBlocks(const double* inLeft, const double* inRight, const double* outLeft,
                                     const double* outRight, int n) {
  mMeters.ProcessMeterBlocks(inLeft, inRight, outLeft, outRight, n);
}

double EngineHooks::GetLoudnessMatchGain(double inL, double inR, double outL, double outR) {
  return mLoudness.GetLoudnessMatchGain(inL, inR, outL, outR);
}

bool EngineHooks::GetLoudnessMatchGains(const double* inL, const double* inR, const double* outL, const double* outR,
                                        double* gains, int n) {
  return mLoudness.GetLoudnessMatchGains(inL, inR, outL, outR, gains, n);
}

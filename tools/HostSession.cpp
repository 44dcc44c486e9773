#include "tools/HostSession.h"

#include "plugin/controller/Brimlow.h"
#include "tools/CommandError.h"
#include "tools/HostCalls.h"
#include "tools/ParamSetting.h"
#include "tools/PluginBundle.h"

namespace {

// Before the plug-in is made: its constructor lays out the editor, which
// loads the images from the bundle.
Brimlow* MakePlugWithBundle() {
  RegisterPluginBundle();
  return MakePlug();
}

}  // namespace

HostSession::HostSession() : mPlug(MakePlugWithBundle()) {
  if (!mPlug) throw CommandError("the plug-in could not be created");
  // As the host binding does after construction: records no preset maker
  // filled are not offered.
  WDL_MutexLock lock(mPlug->GetMutex());
  mPlug->PruneUninitializedPresets();
}

HostSession::~HostSession() = default;

IPlugBase& HostSession::Plug() { return *mPlug; }

void HostSession::Start(double sampleRate, int blockSize, int channels) {
  HostStart(*mPlug, sampleRate, blockSize, channels);
  mChannels = channels;
}

void HostSession::SetParameter(int paramIdx, double value) { HostSetParameter(*mPlug, paramIdx, value); }

void HostSession::ApplySetting(const std::string& text) {
  const ParamSetting setting = ResolveParamSetting(*mPlug, text);
  HostSetParameter(*mPlug, setting.paramIdx, setting.value);
}

std::vector<std::string> HostSession::PresetNames() const { return HostPresetNames(*mPlug); }

void HostSession::RestorePreset(int presetIdx) { HostRestorePreset(*mPlug, presetIdx); }

void HostSession::LoadPresetFile(const std::string& path) { HostLoadPresetFile(*mPlug, path); }

std::vector<uint8_t> HostSession::SaveState() { return HostSaveState(*mPlug); }

void HostSession::RestoreState(const std::vector<uint8_t>& bytes, const std::string& what) {
  HostRestoreState(*mPlug, bytes, what);
}

void HostSession::ProcessBlock(float** inputs, float** outputs, int nFrames) {
  HostProcessBlock(*mPlug, mChannels, mBypass, inputs, outputs, nFrames);
}

int HostSession::Latency() {
  WDL_MutexLock lock(mPlug->GetMutex());
  return mPlug->GetLatency();
}

namespace {

std::string MeterText(const Meters::Reading& reading) {
  char text[32];
  Meters::FormatMeterText(reading, text, sizeof text);
  return text;
}

}  // namespace

std::string HostSession::InputMeterText() const { return MeterText(mPlug->GetMeters().InputReading()); }

std::string HostSession::OutputMeterText() const { return MeterText(mPlug->GetMeters().OutputReading()); }

int HostSession::MeterMode() const { return mPlug->GetMeters().MeterModeValue(); }

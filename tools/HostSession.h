#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tools/BlockProcessor.h"

class Brimlow;
class IPlugBase;

// One instance of the equaliser driven the way a host binding drives it:
// made by MakePlug with its unfilled preset records pruned, started for
// its channels, rate and block size, then changed and run through the
// calls of HostCalls.h. Every failure throws CommandError.
class HostSession : public BlockProcessor {
 public:
  HostSession();
  ~HostSession() override;
  HostSession(const HostSession&) = delete;
  HostSession& operator=(const HostSession&) = delete;

  IPlugBase& Plug();
  Brimlow& Instance() { return *mPlug; }

  // HostStart: 1 or 2 channels.
  void Start(double sampleRate, int blockSize, int channels);

  // The host calls of HostCalls.h on this instance.
  void SetParameter(int paramIdx, double value);
  // "NAME=VALUE", as --set takes it.
  void ApplySetting(const std::string& text);

  std::vector<std::string> PresetNames() const;
  void RestorePreset(int presetIdx);
  void LoadPresetFile(const std::string& path);
  std::vector<uint8_t> SaveState();
  void RestoreState(const std::vector<uint8_t>& bytes, const std::string& what);

  // The host's bypass: the plug-in's delayed pass-through instead of its
  // processing.
  void SetBypass(bool bypass) { mBypass = bypass; }

  void ProcessBlock(float** inputs, float** outputs, int nFrames) override;
  int Latency() override;

  // The two meter readouts as the editor's texts show them.
  std::string InputMeterText() const;
  std::string OutputMeterText() const;
  // "Main Meter Mode" as the meters run it: what the readouts measure.
  int MeterMode() const;

 private:
  std::unique_ptr<Brimlow> mPlug;
  int mChannels = 2;
  bool mBypass = false;
};

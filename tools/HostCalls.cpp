#include "tools/HostCalls.h"

#include <algorithm>
#include <cstdio>

#include "framework/IPlugBase.h"
#include "graphics/IGraphics.h"
#include "tools/CommandError.h"
#include "tools/FileBytes.h"
#include "tools/InputFile.h"

namespace {

// Both preset paths restore with this, so they cannot drift apart.
constexpr bool kPresetsFlaggedOnly = true;

}  // namespace

void HostStart(IPlugBase& plug, double sampleRate, int blockSize, int channels) {
  if (channels < 1 || channels > plug.NInChannels() || channels > plug.NOutChannels()) {
    throw CommandError(std::to_string(channels) + " channels; the plug-in takes 1 to " +
                       std::to_string(std::min(plug.NInChannels(), plug.NOutChannels())));
  }
  plug.SetInputChannelConnections(0, channels, true);
  plug.SetInputChannelConnections(channels, plug.NInChannels() - channels, false);
  plug.SetOutputChannelConnections(0, channels, true);
  plug.SetOutputChannelConnections(channels, plug.NOutChannels() - channels, false);
  plug.SetSampleRate(sampleRate);
  plug.SetBlockSize(blockSize);
  plug.Reset();
}

void HostSetParameter(IPlugBase& plug, int paramIdx, double value) {
  IParam* param = plug.GetParam(paramIdx);
  if (!param) throw CommandError("no parameter " + std::to_string(paramIdx));
  WDL_MutexLock lock(plug.GetMutex());
  param->Set(value);
  if (IGraphics* graphics = plug.GetGUI()) graphics->SetParameterFromPlug(paramIdx, param->Value(), false);
  plug.OnParamChange(paramIdx);
}

std::vector<std::string> HostPresetNames(const IPlugBase& plug) {
  std::vector<std::string> names;
  for (int i = 0; i < plug.NPresets(); ++i) names.emplace_back(plug.GetPresetName(i));
  return names;
}

void HostRestorePreset(IPlugBase& plug, int presetIdx) {
  const IPreset* preset = plug.GetPreset(presetIdx);
  const std::string what = "preset " + std::to_string(presetIdx);
  if (!preset) throw CommandError("no " + what);
  if (!preset->mInitialized) throw CommandError(what + " holds no settings");
  WDL_MutexLock lock(plug.GetMutex());
  if (!plug.RestorePreset(presetIdx, kPresetsFlaggedOnly)) throw CommandError(what + " (" + preset->mName + ") could not be restored");
}

void HostLoadPresetFile(IPlugBase& plug, const std::string& path) {
  // The reader cannot tell a missing file from a foreign one; the message
  // can. A pipe or FIFO is read to its end first, so the reader finds a file.
  const InputFile input(path, kMaxFileBytes);
  IPreset record;
  WDL_MutexLock lock(plug.GetMutex());
  // The path goes whole as the file name: the reader joins folder, name and
  // extension as they stand.
  if (!plug.LoadPresetFromXML(WDL_String(plug.GetVendorText()), WDL_String(plug.GetProductText()),
                              WDL_String(plug.GetVersionText()), &record,
                              WDL_String(""), WDL_String(input.ReadPath().c_str()), WDL_String(""), kPresetsFlaggedOnly)) {
    throw CommandError(path + ": not a Brimlow preset file");
  }
  if (plug.UnserializeState(&record.mChunk, 0, kPresetsFlaggedOnly) <= 0) {
    throw CommandError(path + ": the preset's settings could not be restored");
  }
  plug.OnPresetRestored();
  plug.RedrawParamControls();
}

std::vector<uint8_t> HostSaveState(IPlugBase& plug) {
  ChunkBuffer chunk;
  {
    WDL_MutexLock lock(plug.GetMutex());
    if (!plug.SerializeState(&chunk)) throw CommandError("the plug-in could not save its state");
  }
  const uint8_t* bytes = chunk.GetData();
  return std::vector<uint8_t>(bytes, bytes + chunk.Size());
}

void HostRestoreState(IPlugBase& plug, const std::vector<uint8_t>& bytes, const std::string& what) {
  if (bytes.empty()) throw CommandError(what + ": an empty state");
  if (bytes.size() > static_cast<size_t>(0x7FFFFFFF)) throw CommandError(what + ": too large for a state");
  ChunkBuffer chunk;
  if (chunk.PutBytes(bytes.data(), static_cast<int>(bytes.size())) < 1) {
    throw CommandError(what + ": not enough memory for the state");
  }
  WDL_MutexLock lock(plug.GetMutex());
  if (plug.UnserializeStateAll(&chunk, 0) <= 0) throw CommandError(what + ": not a Brimlow state");
  plug.RedrawParamControls();
}

void HostProcessBlock(IPlugBase& plug, int channels, bool bypass, float** inputs, float** outputs, int nFrames) {
  WDL_MutexLock lock(plug.GetMutex());
  plug.AttachInputBuffers(0, channels, inputs, nFrames);
  plug.AttachOutputBuffers(0, channels, outputs);
  if (bypass) {
    plug.PassThroughBuffers(nFrames);
  } else {
    plug.ProcessBuffers(nFrames);
  }
}

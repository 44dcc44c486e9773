// The preset list's contents: every record holds the state chunk without
// its capture, the factory presets, and the user default file.

#include "plugin/controller/Brimlow.h"
#include "plugin/controller/FactoryPresets.h"
#include "plugin/controller/StateChunkFormat.h"

namespace {

const WDL_String kUserDefaultName("default");
const WDL_String kPresetExtension(".tps");

}  // namespace

bool Brimlow::SerializePresetValues(const double* values, ChunkBuffer* chunk, const char* presetName) {
  if (!chunk) return false;
  const int before = chunk->Size();
  // A preset restore goes through UnserializeState like a host state; an
  // empty capture section leaves the reference alone.
  const bool written =
      StateChunk::AppendHeader(chunk) &&
      StateChunk::AppendSection(chunk, StateChunk::kParamsTag,
                                [&] { return IPlugBase::SerializePresetValues(values, chunk, presetName); }) &&
      StateChunk::AppendSection(chunk, StateChunk::kCaptureTag, [] { return true; });
  if (!written) chunk->Resize(before);
  return written;
}

void Brimlow::MakeFactoryDefaultPreset(IPreset* preset) { FillPresetFromDefaults(preset, "Factory Default"); }

int Brimlow::MakeFactoryPresets() {
  // The first record holds the values in force now: the user default's
  // when one was read, else the table defaults.
  MakeNextPresetFromNamedParams(mPresetLabel.Get(), {});
  int made = 0;
  for (const FactoryPreset& preset : kFactoryPresets) {
    if (MakePresetFromNamedParams(preset.name, FactoryPresetValues(preset))) ++made;
  }
  return made;
}

bool Brimlow::LoadUserDefaultPreset(bool load) {
  if (!load) return false;
  WDL_MutexLock lock(GetMutex());
  WDL_String presetName;
  const bool loaded = LoadPresetFromXMLWithData(WDL_String(GetVendorText()), WDL_String(GetProductText()),
                                                WDL_String(GetVersionText()), mHostFormatPath, kUserDefaultName,
                                                kPresetExtension, presetName, false, true, mPresetLabel);
  if (!loaded) {
    mPresetLabel.Set("Init");
    return false;
  }
  // The file reader sets the parameters only: the engine and the mirrors
  // learn the values here. During construction the DSP does not exist yet;
  // the constructor hands every value to the dispatch once it does.
  if (mDspReady) {
    ParamBatch batch(*this);
    for (int i = 0; i < NParams(); ++i) OnParamChange(i);
  }
  return true;
}

bool Brimlow::SaveUserDefaultPreset(const WDL_String& folder) {
  // The editor passes no folder; the file then goes where construction
  // reads it, not into whatever the process's current directory is.
  WDL_String directory(folder.Get()[0] ? folder.Get() : mHostFormatPath.Get());
  WDL_String presetName;
  const WDL_String data(GetPresetName(GetCurrentPresetIdx()));
  return WritePresetXMLFile(WDL_String(GetVendorText()), WDL_String(GetProductText()), WDL_String(GetVersionText()), directory, kUserDefaultName, kPresetExtension, presetName,
                            false, true, data);
}

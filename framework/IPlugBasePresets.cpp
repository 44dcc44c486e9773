// The preset list: records, the makers that fill them, restore and rename.

#include <cstdio>
#include <cstring>
#include <utility>

#include "framework/IPlugBase.h"
#include "framework/Utilities.h"

IPreset* IPlugBase::GetNextUninitializedPreset() {
  for (int i = 0; i < NPresets(); ++i) {
    IPreset* preset = GetPreset(i);
    if (!preset->mInitialized) return preset;
  }
  return nullptr;
}

void IPlugBase::PruneUninitializedPresets() {
  const IPreset* current = GetPreset(mCurrentPresetIdx);
  for (int i = NPresets() - 1; i >= 0; --i) {
    IPreset* preset = GetPreset(i);
    if (preset->mInitialized) continue;
    mPresets.Delete(i);
    delete preset;
  }
  const int idx = current ? mPresets.Find(current) : -1;
  mCurrentPresetIdx = idx < 0 ? 0 : idx;
}

const char* IPlugBase::GetPresetName(int idx) const {
  const IPreset* preset = GetPreset(idx);
  return preset ? preset->mName : "";
}

void IPlugBase::SetPresetName(int idx, const char* name) {
  if (IPreset* preset = GetPreset(idx)) CopyText(preset->mName, name);
}

void IPlugBase::ModifyCurrentPreset(const char* name) {
  IPreset* preset = GetPreset(mCurrentPresetIdx);
  if (!preset) return;
  Trace("ModifyCurrentPreset", __LINE__, "%d %s", mCurrentPresetIdx, name ? name : "");
  // A failed store must not cost the record the payload it had.
  ChunkBuffer previous = preset->mChunk;
  preset->mChunk.Clear();
  if (!SerializeState(&preset->mChunk)) {
    preset->mChunk = std::move(previous);
    return;
  }
  preset->mInitialized = true;
  if (name && *name) CopyText(preset->mName, name);
}

bool IPlugBase::RestorePreset(int idx, bool flaggedOnly) {
  IPreset* preset = GetPreset(idx);
  if (!preset) return false;

  bool restored = false;
  if (preset->mInitialized) {
    const int pos = flaggedOnly ? UnserializeState(&preset->mChunk, 0, true) : UnserializeStateAll(&preset->mChunk, 0);
    restored = pos > 0;
  } else {
    // An empty slot captures the current state as a new user preset; on
    // failure it goes back to being the empty slot it was.
    IPreset saved;
    saved.mInitialized = preset->mInitialized;
    CopyText(saved.mName, preset->mName);
    saved.mChunk = preset->mChunk;

    int userPresets = 0;
    for (int i = 0; i < NPresets(); ++i) {
      if (std::strstr(GetPreset(i)->mName, "user preset")) ++userPresets;
    }
    preset->mInitialized = true;
    std::snprintf(preset->mName, sizeof preset->mName, "%s %d", "user preset", userPresets + 1);
    preset->mChunk.Clear();
    restored = SerializeState(&preset->mChunk);
    if (!restored) {
      preset->mInitialized = saved.mInitialized;
      CopyText(preset->mName, saved.mName);
      preset->mChunk = std::move(saved.mChunk);
    }
  }
  if (!restored) return false;
  mCurrentPresetIdx = idx;
  OnPresetRestored();
  RedrawParamControls();
  return true;
}

// ---- Makers -----------------------------------------------------------------

bool IPlugBase::SerializePresetValues(const double* values, ChunkBuffer* chunk, const char* presetName) {
  if (!chunk) return false;
  if (mIsXML) return SerializePresetParam2XMLString(values, chunk, presetName);
  const int before = chunk->Size();
  for (int i = 0; i < NParams(); ++i) {
    if (chunk->Put(values[i]) < 1) {
      chunk->Resize(before);
      return false;
    }
  }
  return true;
}

bool IPlugBase::StorePreset(IPreset* preset, const char* name, const double* values) {
  if (!preset) return false;
  const bool wasInitialized = preset->mInitialized;
  char previousName[sizeof preset->mName];
  CopyText(previousName, preset->mName);
  const int previousSize = preset->mChunk.Size();

  preset->mInitialized = true;
  CopyText(preset->mName, name);
  // Appended, not cleared: the targets are fresh records with empty chunks.
  if (SerializePresetValues(values, &preset->mChunk, preset->mName)) return true;
  preset->mInitialized = wasInitialized;
  CopyText(preset->mName, previousName);
  preset->mChunk.Resize(previousSize);
  return false;
}

std::vector<double> IPlugBase::NamedValues(const std::vector<IParamValue>& values) const {
  const int n = NParams();
  std::vector<double> array(static_cast<size_t>(n), kUnsetPresetValue);
  for (const IParamValue& v : values) {
    if (v.mParamIdx >= 0 && v.mParamIdx < n) array[static_cast<size_t>(v.mParamIdx)] = v.mValue;
  }
  // Compared exactly: the marker is a value nobody passes on purpose.
  for (int i = 0; i < n; ++i) {
    if (array[static_cast<size_t>(i)] == kUnsetPresetValue) array[static_cast<size_t>(i)] = GetParam(i)->Value();
  }
  return array;
}

namespace {

std::vector<double> DefaultValues(const IPlugBase& plug) {
  std::vector<double> values(static_cast<size_t>(plug.NParams()));
  for (int i = 0; i < plug.NParams(); ++i) values[static_cast<size_t>(i)] = plug.GetParam(i)->GetDefault();
  return values;
}

}  // namespace

bool IPlugBase::MakePreset(const char* name, const std::vector<double>& values) {
  IPreset* preset = GetNextUninitializedPreset();
  if (!preset) return false;
  std::vector<double> array(static_cast<size_t>(NParams()));
  for (int i = 0; i < NParams(); ++i) {
    const size_t k = static_cast<size_t>(i);
    array[k] = k < values.size() ? values[k] : GetParam(i)->Value();
  }
  return StorePreset(preset, name, array.data());
}

bool IPlugBase::MakeNextPresetFromNamedParams(const char* name, const std::vector<IParamValue>& values) {
  IPreset* preset = GetNextUninitializedPreset();
  if (!preset) return false;
  return StorePreset(preset, name, NamedValues(values).data());
}

bool IPlugBase::MakeDefaultPreset(const char* name) {
  IPreset* preset = GetNextUninitializedPreset();
  if (!preset) return false;
  return StorePreset(preset, name, DefaultValues(*this).data());
}

bool IPlugBase::MakePresetFromNamedParamsAt(int idx, const char* name, const std::vector<IParamValue>& values) {
  IPreset* preset = GetPreset(idx);
  if (!preset) return false;
  return StorePreset(preset, name, NamedValues(values).data());
}

bool IPlugBase::FillPresetFromNamedParams(IPreset* preset, const char* name, const std::vector<IParamValue>& values) {
  if (!preset) return false;
  return StorePreset(preset, name, NamedValues(values).data());
}

bool IPlugBase::FillPresetFromDefaults(IPreset* preset, const char* name) {
  if (!preset) return false;
  return StorePreset(preset, name, DefaultValues(*this).data());
}

bool IPlugBase::MakePresetFromNamedParams(const char* name, const std::vector<IParamValue>& values) {
  IPreset* preset = new IPreset;
  std::snprintf(preset->mName, sizeof preset->mName, "%s %d", "empty", NPresets());
  preset->mAppended = true;
  if (!mPresets.Add(preset)) {
    delete preset;
    return false;
  }
  if (StorePreset(preset, name, NamedValues(values).data())) return true;
  mPresets.Delete(NPresets() - 1);
  delete preset;
  return false;
}

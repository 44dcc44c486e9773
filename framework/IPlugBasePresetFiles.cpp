// Single presets in ".tps" XML files, written from and read into the live
// parameters or a preset record.

#include <string>
#include <utility>

#include "framework/IPlugBase.h"
#include "framework/PresetXML.h"
#include "framework/Utilities.h"

namespace {

std::string PresetPath(const WDL_String& directory, const WDL_String& fileName, const WDL_String& extension) {
  return std::string(directory.Get()) + fileName.Get() + extension.Get();
}

bool LoadChecked(PresetXML* doc, const WDL_String& vendor, const WDL_String& product, const std::string& path) {
  return doc->LoadFile(path.c_str()) && doc->Check(vendor.Get(), product.Get());
}

}  // namespace

bool IPlugBase::WritePresetXMLFile(const WDL_String& vendor, const WDL_String& product, const WDL_String& version,
                                   WDL_String& directory, const WDL_String& fileName, const WDL_String& extension,
                                   WDL_String& presetName, bool flaggedOnly, bool withData, const WDL_String& data) {
  if (!presetName.Get()[0]) presetName.Set(GetPresetName(mCurrentPresetIdx));
  directory.Append(fileName.Get());
  directory.Append(extension.Get());

  PresetXML doc;
  BuildPresetXML(&doc, vendor.Get(), product.Get(), version.Get(), withData ? data.Get() : nullptr, presetName.Get(),
                 nullptr, flaggedOnly);
  return doc.SaveFile(directory.Get());
}

bool IPlugBase::TestPresetXMLFile(const WDL_String&, const WDL_String&, const WDL_String&,
                                  const WDL_String& directory, const WDL_String& fileName,
                                  const WDL_String& extension) {
  PresetXML doc;
  return doc.LoadFile(PresetPath(directory, fileName, extension).c_str());
}

bool IPlugBase::LoadPresetFromXMLWithData(const WDL_String& vendor, const WDL_String& product, const WDL_String&,
                                          const WDL_String& directory, const WDL_String& fileName,
                                          const WDL_String& extension, WDL_String& presetName, bool flaggedOnly,
                                          bool withData, WDL_String& data) {
  PresetXML doc;
  if (!LoadChecked(&doc, vendor, product, PresetPath(directory, fileName, extension))) return false;
  const std::vector<IParamValue> values = doc.Resolve(mParams, flaggedOnly);
  if (withData && doc.HasData()) data.Set(doc.GetData().c_str());
  presetName.Set(doc.GetPresetName().c_str());
  for (const IParamValue& v : values) GetParam(v.mParamIdx)->Set(v.mValue);
  return true;
}

bool IPlugBase::LoadPresetFromXML(const WDL_String& vendor, const WDL_String& product, const WDL_String&,
                                  IPreset* preset, const WDL_String& directory, const WDL_String& fileName,
                                  const WDL_String& extension, bool flaggedOnly) {
  if (!preset) return false;
  PresetXML doc;
  if (!LoadChecked(&doc, vendor, product, PresetPath(directory, fileName, extension))) return false;

  std::vector<double> values(static_cast<size_t>(NParams()));
  for (int i = 0; i < NParams(); ++i) values[static_cast<size_t>(i)] = GetParam(i)->GetDefault();
  // Not clamped: the record keeps what the file says; restoring it clamps.
  for (const IParamValue& v : doc.Resolve(mParams, flaggedOnly)) values[static_cast<size_t>(v.mParamIdx)] = v.mValue;

  // The record is replaced as a whole, or kept as it was when the new
  // payload cannot be stored.
  ChunkBuffer previous = preset->mChunk;
  preset->mChunk.Clear();
  if (StorePreset(preset, doc.GetPresetName().c_str(), values.data())) return true;
  preset->mChunk = std::move(previous);
  return false;
}

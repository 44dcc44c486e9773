// The ".tps" preset file reader: the input as a file, loaded into the live
// parameters (LoadPresetFromXMLWithData) and into a preset record
// (LoadPresetFromXML).

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "tests/fuzz/FuzzPlug.h"
#include "tests/fuzz/FuzzTempFile.h"

namespace {

const WDL_String kVendor("Kestrelbay"), kProduct("Brimlow"), kVersion("3.2.3"), kExtension(".tps");

bool SameBits(const std::vector<double>& a, const std::vector<double>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

void LoadLive(const FuzzTempFile& file, bool flaggedOnly) {
  FuzzPlug plug(true);
  const std::vector<double> before = ParamValues(plug);
  WDL_String name("unchanged"), data("unchanged");
  const bool loaded = plug.LoadPresetFromXMLWithData(kVendor, kProduct, kVersion, WDL_String(file.Folder().c_str()),
                                                     WDL_String(file.Stem().c_str()), kExtension, name, flaggedOnly,
                                                     true, data);
  FUZZ_CHECK(plug.ValuesInRange());
  if (!loaded) {
    FUZZ_CHECK(SameBits(before, ParamValues(plug)));
    FUZZ_CHECK(std::strcmp(name.Get(), "unchanged") == 0 && std::strcmp(data.Get(), "unchanged") == 0);
    return;
  }
  // A file the reader accepted is one the test reports as readable.
  FUZZ_CHECK(plug.TestPresetXMLFile(kVendor, kProduct, kVersion, WDL_String(file.Folder().c_str()),
                                    WDL_String(file.Stem().c_str()), kExtension));
  if (flaggedOnly) {
    for (int i = 0; i < plug.NParams(); ++i) {
      if (!plug.GetParam(i)->IsFlagged()) FUZZ_CHECK(plug.GetParam(i)->Value() == before[static_cast<size_t>(i)]);
    }
  }
}

void LoadRecord(const FuzzTempFile& file, bool flaggedOnly) {
  FuzzPlug plug(true);
  IPreset* record = plug.GetPreset(0);
  FUZZ_CHECK(plug.RestorePreset(0));  // an initialised record to overwrite
  const ChunkBuffer chunkBefore = record->mChunk;
  const std::string nameBefore = record->mName;
  const bool loaded = plug.LoadPresetFromXML(kVendor, kProduct, kVersion, record, WDL_String(file.Folder().c_str()),
                                             WDL_String(file.Stem().c_str()), kExtension, flaggedOnly);
  if (!loaded) {
    FUZZ_CHECK(record->mChunk.IsEqual(chunkBefore) && nameBefore == record->mName);
    return;
  }
  // The record holds a payload that restores, clamped into range.
  FUZZ_CHECK(record->mInitialized);
  FUZZ_CHECK(plug.RestorePreset(0));
  FUZZ_CHECK(plug.ValuesInRange());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  const FuzzTempFile file(data, size, ".tps");
  if (!file.Ok()) std::abort();  // a full disk, not a finding; stop rather than fuzz nothing
  for (bool flaggedOnly : {false, true}) {
    LoadLive(file, flaggedOnly);
    LoadRecord(file, flaggedOnly);
  }
  return 0;
}

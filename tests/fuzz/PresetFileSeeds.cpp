// Seeds for fuzz_preset_file: ".tps" files as WritePresetXMLFile writes
// them, all or only the flagged parameters, with and without "Data" (plain
// or CDATA).

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/fuzz/FuzzPlugSeeds.h"
#include "tests/fuzz/FuzzSeeds.h"

namespace {

std::vector<FuzzSeed> MakeSeeds() {
  std::string folder = (std::filesystem::temp_directory_path() / "brimlow-seeds-XXXXXX").string();
  if (!mkdtemp(folder.data())) return {};
  const WDL_String vendor("Kestrelbay"), product("Brimlow"), version("3.2.3"), extension(".tps");

  std::vector<FuzzSeed> seeds;
  int n = 0;
  for (int setting = 0; setting < kSeedSettings; ++setting) {
    for (const char* name : kSeedPresetNames) {
      const bool flaggedOnly = n % 2 == 1;
      const bool withData = n % 3 != 0;
      // A text with doubled and outer blanks is written as CDATA.
      const char* data = n % 4 == 1 ? " Bass  Boost " : "editor=3 & <scale 1.5>";
      FuzzPlug plug(true);
      ApplySeedSetting(plug, setting);
      const std::string stem = "preset-" + std::to_string(n++);
      WDL_String directory((folder + "/").c_str()), presetName(name);
      if (!plug.WritePresetXMLFile(vendor, product, version, directory, WDL_String(stem.c_str()), extension,
                                   presetName, flaggedOnly, withData, WDL_String(data))) {
        seeds.clear();
        break;
      }
      std::ifstream in(directory.Get(), std::ios::binary);
      const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      seeds.emplace_back(stem + ".tps", bytes);
    }
  }
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  return seeds;
}

const FuzzSeedRegistration kRegistration("fuzz_preset_file", MakeSeeds);

}  // namespace

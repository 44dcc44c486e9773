// The preset bar's files: path parts, the user's folder, loading and saving.

#include <dirent.h>
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "editor/IExtPresetMenuNew1.h"
#include "framework/IPlugBase.h"
#include "framework/IPopupMenu.h"
#include "graphics/IGraphics.h"

namespace {

bool EndsWith(const char* text, const char* suffix) {
  const size_t length = std::strlen(text);
  const size_t suffixLength = std::strlen(suffix);
  return length >= suffixLength && std::strcmp(text + length - suffixLength, suffix) == 0;
}

// A file system that reports no type (or a link) is asked with stat, which
// follows links: a link to a preset file is listed as the file.
bool IsRegularFile(const std::string& folder, const dirent* entry) {
  if (entry->d_type == DT_REG) return true;
  if (entry->d_type != DT_UNKNOWN && entry->d_type != DT_LNK) return false;
  std::string path = folder;
  if (!path.empty() && path.back() != '/') path += '/';
  path += entry->d_name;
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

void IExtPresetMenuNew1::SplitPath(const char* path, WDL_String* folder, WDL_String* name, WDL_String* extension) {
  const std::string p = path ? path : "";
  const std::string::size_type slash = p.rfind('/');
  const std::string::size_type nameStart = slash == std::string::npos ? 0 : slash + 1;
  std::string::size_type dot = p.rfind('.');
  if (dot == std::string::npos || dot <= nameStart) dot = p.size();
  if (folder) folder->Set(p.substr(0, nameStart).c_str());
  if (name) name->Set(p.substr(nameStart, dot - nameStart).c_str());
  if (extension) extension->Set(p.substr(dot).c_str());
}

int IExtPresetMenuNew1::ScanUserPresets(IPopupMenu* menu, const char* folder, const char* extension, int limit) {
  if (!menu || !folder || !extension) return 0;
  dirent** entries = nullptr;
  const int n = scandir(folder, &entries, nullptr, alphasort);
  if (n < 0) return 0;
  int added = 0;
  for (int i = 0; i < n; ++i) {
    const dirent* entry = entries[i];
    // Only a name that ends in the extension loads back: "a.tps.bak" would
    // be tried as "a.tps.tps". The extension alone is no name.
    const bool listed = n >= 2 && added <= limit && EndsWith(entry->d_name, extension) &&
                        std::strlen(entry->d_name) > std::strlen(extension) && IsRegularFile(folder, entry);
    if (listed) {
      std::string text = entry->d_name;
      text.erase(text.rfind('.'));
      menu->AddItem(text.c_str());
      ++added;
    }
    std::free(entries[i]);
  }
  std::free(entries);
  return added;
}

void IExtPresetMenuNew1::PromptForPresetFile(int action, WDL_String* path) {
  WDL_String folder(mPresetFolder.Get());
  path->Set("");
  mPlug->GetGUI()->PromptForFile(path, action, &folder, mExtension.Get());
}

bool IExtPresetMenuNew1::LoadPresetFile(const char* path) {
  WDL_String folder, name, extension;
  SplitPath(path, &folder, &name, &extension);
  if (!path || !path[0] || std::strcmp(extension.Get(), mDotExtension.Get()) != 0 || !folder.Get()[0] ||
      !name.Get()[0]) {
    return false;
  }
  const WDL_String vendor(mPlug->GetVendorText());
  const WDL_String product(mPlug->GetProductText());
  const WDL_String version(mPlug->GetVersionText());
  // Read into a scratch record first: the load below starts by restoring
  // the working preset, which would cost the user's unsaved settings for a
  // file that is then refused.
  IPreset scratch;
  if (!mPlug->LoadPresetFromXML(vendor, product, version, &scratch, folder, name, extension, true)) return false;

  bool loaded = false;
  {
    WDL_MutexLock lock(mPlug->GetMutex());
    mPlug->RestorePreset(0, true);
    WDL_String presetName;
    WDL_String unusedData;
    loaded = mPlug->LoadPresetFromXMLWithData(vendor, product, version, folder, name, extension, presetName, true,
                                              false, unusedData);
    if (loaded) {
      mPlug->ModifyCurrentPreset(presetName.Get());
      const WDL_String current(mPlug->GetPresetName(0));
      mPlug->RestorePreset(mPlug->GetCurrentPresetIdx(), true);
      mPlug->SetPresetName(0, current.Get());
    }
  }
  if (loaded) mPlug->NotifyHostAllParams();
  return loaded;
}

void IExtPresetMenuNew1::SavePresetFile(const char* path) {
  if (!path || !path[0]) return;
  WDL_String folder, name;
  SplitPath(path, &folder, &name, nullptr);
  if (!folder.Get()[0] || !name.Get()[0]) return;
  // Whatever extension was typed, the file is the name with ours.
  WDL_String presetName(name.Get());
  WDL_String noData;
  WDL_MutexLock lock(mPlug->GetMutex());
  mPlug->WritePresetXMLFile(WDL_String(mPlug->GetVendorText()), WDL_String(mPlug->GetProductText()),
                            WDL_String(mPlug->GetVersionText()), folder, name, mDotExtension, presetName, false, false,
                            noData);
}

#pragma once

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>

// Points XDG_DATA_HOME at a fresh temporary folder for the object's life,
// so plug-in instances make their data folders and read or write their user
// default preset there, never under the real home. The old value comes back
// and the folder goes with the object.
class ScopedDataHome {
 public:
  ScopedDataHome() {
    std::string pattern = (std::filesystem::temp_directory_path() / "brimlow-data-XXXXXX").string();
    if (mkdtemp(pattern.data())) mPath = pattern;
    const char* old = std::getenv("XDG_DATA_HOME");
    mHadOld = old != nullptr;
    if (old) mOld = old;
    if (!mPath.empty()) setenv("XDG_DATA_HOME", mPath.c_str(), 1);
  }
  ~ScopedDataHome() {
    if (mHadOld) {
      setenv("XDG_DATA_HOME", mOld.c_str(), 1);
    } else {
      unsetenv("XDG_DATA_HOME");
    }
    std::error_code ignored;
    if (!mPath.empty()) std::filesystem::remove_all(mPath, ignored);
  }
  ScopedDataHome(const ScopedDataHome&) = delete;
  ScopedDataHome& operator=(const ScopedDataHome&) = delete;

  bool Ok() const { return !mPath.empty(); }
  const std::string& Path() const { return mPath; }

 private:
  std::string mPath;
  std::string mOld;
  bool mHadOld = false;
};

#pragma once

#include <cstdlib>
#include <string>

#include "tests/ScratchFolder.h"

// Points XDG_DATA_HOME at a fresh scratch folder for the object's life, so
// plug-in instances make their data folders and read or write their user
// default preset there, never under the real home. The old value comes back
// and the folder goes with the object.
class ScopedDataHome {
 public:
  ScopedDataHome() {
    const char* old = std::getenv("XDG_DATA_HOME");
    mHadOld = old != nullptr;
    if (old) mOld = old;
    if (mFolder.Ok()) setenv("XDG_DATA_HOME", mFolder.Path().c_str(), 1);
  }
  ~ScopedDataHome() {
    if (mHadOld) {
      setenv("XDG_DATA_HOME", mOld.c_str(), 1);
    } else {
      unsetenv("XDG_DATA_HOME");
    }
  }
  ScopedDataHome(const ScopedDataHome&) = delete;
  ScopedDataHome& operator=(const ScopedDataHome&) = delete;

  bool Ok() const { return mFolder.Ok(); }
  const std::string& Path() const { return mFolder.Path(); }

 private:
  ScratchFolder mFolder;
  std::string mOld;
  bool mHadOld = false;
};

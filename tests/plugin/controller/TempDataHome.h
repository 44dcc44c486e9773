#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

// Points XDG_DATA_HOME at a fresh temporary folder for one test, so plug-in
// instances make their data folders and read or write their user default
// preset there, never under the real home.
class TempDataHomeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/brimlow-data-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    mDataHome = pattern;
    const char* old = std::getenv("XDG_DATA_HOME");
    mHadOld = old != nullptr;
    if (old) mOld = old;
    setenv("XDG_DATA_HOME", mDataHome.c_str(), 1);
  }
  void TearDown() override {
    if (mHadOld) {
      setenv("XDG_DATA_HOME", mOld.c_str(), 1);
    } else {
      unsetenv("XDG_DATA_HOME");
    }
    std::error_code ignored;
    std::filesystem::remove_all(mDataHome, ignored);
  }

  std::string mDataHome;

 private:
  std::string mOld;
  bool mHadOld = false;
};

#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/plugin/controller/ScopedDataHome.h"

// A test whose plug-in instances keep their data under a temporary
// XDG_DATA_HOME (mDataHome), made fresh for each test.
class TempDataHomeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mHome = std::make_unique<ScopedDataHome>();
    ASSERT_TRUE(mHome->Ok());
    mDataHome = mHome->Path();
  }
  void TearDown() override { mHome.reset(); }

  std::string mDataHome;

 private:
  std::unique_ptr<ScopedDataHome> mHome;
};

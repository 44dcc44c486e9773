#include "platform/corefoundation/CFBase.h"

#include <gtest/gtest.h>

// As on the Mac, so that code which would crash there fails here.
TEST(CFBaseDeathTest, RetainingOrReleasingNullEndsTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(CFRelease(nullptr), "CFRelease called with NULL");
  EXPECT_DEATH(CFRetain(nullptr), "CFRetain called with NULL");
}

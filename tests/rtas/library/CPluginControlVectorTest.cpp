#include "rtas/library/CPluginControlVector.h"

#include <gtest/gtest.h>

#include "rtas/library/ErrorThrowers.h"
#include "rtas/library/CPluginControl_Discrete.h"

namespace {

int gLiveControls = 0;

class CountedControl : public CPluginControl_Discrete {
 public:
  explicit CountedControl(uint32_t id) : CPluginControl_Discrete(id, "c", 0, 1, 0, true) { ++gLiveControls; }
  ~CountedControl() override { --gLiveControls; }
};

int32_t ThrownCode(const CPluginControlVector& vector, int32_t n) {
  try {
    vector.GetControl(n);
  } catch (const CDAEError& error) {
    return error.Code();
  }
  return 0;
}

}  // namespace

TEST(CPluginControlVector, ControlsAreNumberedFromOneAndOwned) {
  {
    CPluginControlVector vector;
    for (uint32_t id = 1; id <= 3; ++id) vector.AddControl(new CountedControl(id));
    EXPECT_EQ(gLiveControls, 3);
    EXPECT_EQ(vector.GetControlCount(), 3);
    EXPECT_EQ(vector.GetControl(1)->GetID(), 1u);
    EXPECT_EQ(vector.GetControl(3)->GetID(), 3u);
    EXPECT_TRUE(vector.IsValidControlIndex(3));
    EXPECT_FALSE(vector.IsValidControlIndex(0));
    EXPECT_FALSE(vector.IsValidControlIndex(4));
    EXPECT_EQ(ThrownCode(vector, 0), -7300);
    EXPECT_EQ(ThrownCode(vector, 4), -7300);
    EXPECT_EQ(ThrownCode(vector, -1), -7300);
  }
  EXPECT_EQ(gLiveControls, 0);
}

TEST(CPluginControlVector, ANullControlIsRefused) {
  CPluginControlVector vector;
  int32_t code = 0;
  try {
    vector.AddControl(nullptr);
  } catch (const CDAEError& error) {
    code = error.Code();
  }
  EXPECT_EQ(code, -7053);
  EXPECT_EQ(vector.GetControlCount(), 0);
}

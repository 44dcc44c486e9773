#include "graphics/IGraphics.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "framework/Utilities.h"
#include "graphics/IControl.h"
#include "graphics/controls/ITextControlExt.h"
#include "graphics/mac/IGraphicsMac.h"
#include "tests/framework/TestPlug.h"

namespace {

class TickingPlug : public TestPlug {
 public:
  TickingPlug() : TestPlug(2, "1-1") {
    GetParam(0)->InitEnum("Mode", 0, 5);
    GetParam(1)->InitDouble("Gain", 0.0, -10.0, 10.0, 0.5);
  }
  // The derived state the idle tick touches must outlive the idle thread.
  ~TickingPlug() override {
    EnableIdleThreadTicks(false);
    DeleteGraphics();
  }
  void OnIdleThreadTick() override { mTicks.fetch_add(1); }
  std::atomic<int> mTicks{0};
};

}  // namespace

TEST(IGraphics, IdleThreadTicksUntilTheGraphicsAreDeleted) {
  auto* plug = new TickingPlug;
  auto* graphics = new IGraphicsMac(plug, 872, 632, 60);
  plug->AttachGraphics(graphics);
  // Until the plug-in enables them, the thread runs but never calls it.
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(plug->mTicks.load(), 0);
  EXPECT_TRUE(graphics->IsIdleThreadRunning());
  plug->EnableIdleThreadTicks(true);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (plug->mTicks.load() < 3 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_GE(plug->mTicks.load(), 3);
  EXPECT_TRUE(graphics->IsIdleThreadRunning());
  delete plug;  // stops the thread before the plug-in's members go
}

TEST(IGraphics, ParameterValuesReachBoundControlsBothWays) {
  TickingPlug plug;
  auto* graphics = new IGraphicsMac(&plug, 100, 100, 0);
  EXPECT_EQ(graphics->FPS(), 25);
  IControl* mode = new IControl(&plug, IRECT(0, 0, 10, 10), 0);
  IControl* gain = new IControl(&plug, IRECT(0, 0, 10, 10), 1);
  gain->AddAuxParam(0);
  graphics->AttachControl(mode);
  graphics->AttachControl(gain);
  plug.GetParam(1)->Set(5.0);
  plug.AttachGraphics(graphics);
  EXPECT_DOUBLE_EQ(gain->GetValue(), 0.75);  // pushed normalised at attach

  plug.GetParam(0)->Set(2.0);
  plug.RedrawParamControls();  // plain values, normalised by the graphics
  EXPECT_DOUBLE_EQ(mode->GetValue(), 0.5);
  EXPECT_DOUBLE_EQ(gain->GetAuxParam(0)->mValue, 0.5);
  EXPECT_TRUE(plug.mChanged.empty());  // from the plug-in: no notification back

  graphics->SetParameterViaControls(0, 3.0, false);  // as user input
  EXPECT_EQ(plug.GetParam(0)->Value(), 3.0);
  EXPECT_EQ(plug.mChanged, std::vector<int>{0});
  ASSERT_FALSE(plug.mHostValues.empty());
  EXPECT_DOUBLE_EQ(plug.mHostValues.back().second, 0.75);

  graphics->SetParameterViaControls(7, 1.0, true);  // no control bound: nothing
  EXPECT_EQ(plug.mChanged.size(), 1u);
  graphics->SetControlFromPlug(99, 1.0);  // out of range: ignored
  graphics->SetControlFromPlug(-1, 1.0);
}

TEST(IGraphics, TextControlRedrawsOnlyOnChange) {
  TickingPlug plug;
  ITextControlExt text(&plug, IRECT(0, 0, 10, 10), "a");
  text.SetClean();
  text.SetTextFromPlug("a");
  EXPECT_FALSE(text.IsDirty());
  text.SetTextFromPlug("-12.5 dB");
  EXPECT_TRUE(text.IsDirty());
  EXPECT_STREQ(text.GetText(), "-12.5 dB");
}

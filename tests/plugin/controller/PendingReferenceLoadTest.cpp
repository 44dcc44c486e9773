#include "plugin/controller/PendingReferenceLoad.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// Records what the machine asks of the plug-in. The message box can run
// code of its own, as a modal alert runs editor ticks.
class FakeActions : public PendingReferenceLoad::Actions {
 public:
  void LoadReferenceFile(const char* path) override {
    loads.push_back(path);
    status = "Status of " + std::string(path);
  }
  const char* GetCaptureStatus() override { return status.c_str(); }
  void ShowMessageBox(const char* text, const char* caption) override {
    messages.push_back({text, caption});
    if (duringMessage) duringMessage();
  }

  std::vector<std::string> loads;
  std::vector<std::pair<std::string, std::string>> messages;
  std::string status;
  std::function<void()> duringMessage;
};

TEST(PendingReferenceLoad, LoadsOnTheSecondTickAndShowsTheStatus) {
  PendingReferenceLoad load;
  FakeActions actions;
  load.Tick(actions);  // idle: nothing to do
  EXPECT_EQ(load.GetState(), PendingReferenceLoad::kIdle);

  load.Request("/a/mix.wav");
  EXPECT_EQ(load.GetState(), 7);
  EXPECT_STREQ(load.GetPendingPath(), "/a/mix.wav");
  load.Tick(actions);
  EXPECT_EQ(load.GetState(), 7);
  EXPECT_EQ(load.GetTicks(), 1);
  EXPECT_TRUE(actions.loads.empty());

  load.Tick(actions);
  EXPECT_EQ(load.GetTicks(), 0);
  ASSERT_EQ(actions.loads, std::vector<std::string>{"/a/mix.wav"});
  ASSERT_EQ(actions.messages.size(), 1u);
  EXPECT_EQ(actions.messages[0].first, "/a/mix.wav");
  EXPECT_EQ(actions.messages[0].second, "Status of /a/mix.wav");
  EXPECT_EQ(load.GetState(), PendingReferenceLoad::kIdle);
  EXPECT_STREQ(load.GetPendingPath(), "");

  for (int i = 0; i < 5; ++i) load.Tick(actions);
  EXPECT_EQ(actions.loads.size(), 1u);
}

TEST(PendingReferenceLoad, LaterRequestReplacesAndRestartsTheCount) {
  PendingReferenceLoad load;
  FakeActions actions;
  load.Request("/a/one.wav");
  load.Tick(actions);
  load.Request("/a/two.aiff");
  EXPECT_EQ(load.GetTicks(), 0);
  load.Request("");
  load.Request(nullptr);
  EXPECT_STREQ(load.GetPendingPath(), "/a/two.aiff");
  for (int i = 0; i < 3; ++i) load.Tick(actions);
  EXPECT_EQ(actions.loads, std::vector<std::string>{"/a/two.aiff"});
}

TEST(PendingReferenceLoad, TicksAndRequestsDuringTheMessageAreSafe) {
  PendingReferenceLoad load;
  FakeActions actions;
  // While the first message is up the timer keeps ticking, and the user
  // picks a second file; that load must not run inside the first one's
  // ticks out of turn, nor be lost when the first finishes.
  actions.duringMessage = [&] {
    actions.duringMessage = nullptr;
    load.Tick(actions);
    EXPECT_EQ(load.GetState(), PendingReferenceLoad::kLoading);
    load.Request("/a/second.wav");
    load.Tick(actions);
  };
  load.Request("/a/first.wav");
  for (int i = 0; i < 2; ++i) load.Tick(actions);
  EXPECT_EQ(actions.loads, std::vector<std::string>{"/a/first.wav"});
  ASSERT_EQ(actions.messages.size(), 1u);
  EXPECT_EQ(actions.messages[0].first, "/a/first.wav");
  EXPECT_EQ(actions.messages[0].second, "Status of /a/first.wav");
  EXPECT_EQ(load.GetState(), 7);
  EXPECT_STREQ(load.GetPendingPath(), "/a/second.wav");

  for (int i = 0; i < 2; ++i) load.Tick(actions);
  EXPECT_EQ(actions.loads, (std::vector<std::string>{"/a/first.wav", "/a/second.wav"}));
  EXPECT_EQ(actions.messages.back().first, "/a/second.wav");
  EXPECT_EQ(load.GetState(), PendingReferenceLoad::kIdle);
}

}  // namespace

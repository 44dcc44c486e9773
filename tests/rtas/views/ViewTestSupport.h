#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "platform/hitoolbox/Events.h"
#include "platform/hitoolbox/MacWindows.h"
#include "platform/quickdraw/DrawLog.h"
#include "platform/hitoolbox/Menus.h"
#include "rtas/views/CViewGroupServices.h"

// A window to draw into and a clean event, menu and group state.
class ViewTest : public ::testing::Test {
 protected:
  static constexpr int16_t kWidth = 400;
  static constexpr int16_t kHeight = 300;

  void SetUp() override {
    platform::ResetEvents();
    platform::ResetMenus();
    SetViewGroupServices(nullptr);
    mWindow = platform::NewStandInWindow(kWidth, kHeight, Point{0, 0});
    mPort = GetWindowPort(mWindow);
    SetPort(nullptr);
  }
  void TearDown() override {
    SetViewGroupServices(nullptr);
    platform::DisposeStandInWindow(mWindow);
  }

  const std::vector<platform::DrawCommand>& Log() const { return platform::PortLog(mPort); }
  void ClearLog() { platform::ClearPortLog(mPort); }
  std::vector<platform::DrawCommand> Ops(platform::DrawOp op) const {
    std::vector<platform::DrawCommand> out;
    for (const platform::DrawCommand& c : Log()) {
      if (c.op == op) out.push_back(c);
    }
    return out;
  }

  static EventRecord Click(int16_t h, int16_t v, uint16_t modifiers = 0, uint32_t message = 0) {
    return EventRecord{mouseDown, message, 0, Point{v, h}, modifiers};
  }
  static EventRecord Key(char c, uint16_t modifiers = 0) {
    return EventRecord{keyDown, static_cast<uint32_t>(static_cast<unsigned char>(c)), 0, Point{0, 0}, modifiers};
  }
  static platform::MouseSample At(int16_t h, int16_t v, bool down = true) { return {Point{v, h}, down}; }

  WindowRef mWindow = nullptr;
  GrafPtr mPort = nullptr;
};

// A group that counts what the views ask of it.
class FakeGroupServices : public CViewGroupServices {
 public:
  int16_t UseResourceFile() override {
    ++mUses;
    return 7;
  }
  void RestoreResourceFile(int16_t previous) override {
    ++mRestores;
    mRestoredTo = previous;
  }
  void YieldGroupLock() override { ++mYields; }
  bool CallHostCallback(int16_t selector) override {
    mCallbacks.push_back(selector);
    return true;
  }

  int mUses = 0;
  int mRestores = 0;
  int16_t mRestoredTo = 0;
  int mYields = 0;
  std::vector<int16_t> mCallbacks;
};

inline bool SameRect(const Rect& a, int16_t top, int16_t left, int16_t bottom, int16_t right) {
  return a.top == top && a.left == left && a.bottom == bottom && a.right == right;
}

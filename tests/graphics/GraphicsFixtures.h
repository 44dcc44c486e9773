#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/IControl.h"
#include "tests/graphics/FakeGraphics.h"

// A control that records the events and draws it receives, as short texts.
class ProbeControl : public IControl {
 public:
  ProbeControl(IPlugBase* plug, const IRECT& rect, int paramIdx = -1) : IControl(plug, rect, paramIdx) {}

  void OnMouseDown(int x, int y, IMouseMod* mod) override {
    Log("down", x, y);
    IControl::OnMouseDown(x, y, mod);
  }
  void OnMouseUp(int x, int y, IMouseMod*) override { Log("up", x, y); }
  void OnMouseDrag(int, int, int dx, int dy, IMouseMod*) override { Log("drag", dx, dy); }
  void OnMouseDblClick(int x, int y, IMouseMod*) override { Log("dbl", x, y); }
  void OnMouseWheel(int, int, IMouseMod* mod, int d) override {
    mEvents.push_back("wheel " + std::to_string(d) + (mod->W ? " W" : ""));
  }
  bool OnKeyDown(int, int, int key) override {
    mEvents.push_back("key " + std::to_string(key));
    return true;
  }
  void OnMouseOver(int x, int y, IMouseMod*) override { Log("over", x, y); }
  void OnMouseOut() override { mEvents.push_back("out"); }
  void OnDrop(const char* path) override { mEvents.push_back(std::string("drop ") + path); }
  bool Draw(IGraphics*) override {
    ++mDraws;
    if (mDrawOrder) mDrawOrder->push_back(this);
    return true;
  }
  void OnGUIIdle() override { ++mIdles; }

  std::vector<std::string> mEvents;
  int mDraws = 0;
  std::vector<const ProbeControl*>* mDrawOrder = nullptr;  // shared by several, when set
  int mIdles = 0;

 private:
  void Log(const char* what, int a, int b) {
    mEvents.push_back(std::string(what) + " " + std::to_string(a) + "," + std::to_string(b));
  }
};

// A test plug-in with a fake graphics object attached, as the plug-in's
// constructor attaches its own.
class GraphicsFixture : public ::testing::Test {
 protected:
  GraphicsFixture() : graphics(new FakeGraphics(&plug)) { plug.AttachGraphics(graphics); }

  ProbeControl* Add(const IRECT& rect, int paramIdx = -1) {
    auto* control = new ProbeControl(&plug, rect, paramIdx);
    graphics->AttachControl(control);
    return control;
  }

  GraphicsTestPlug plug;
  FakeGraphics* graphics;  // owned by the plug-in
};

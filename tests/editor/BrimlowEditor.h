#pragma once

#include <memory>

#include "editor/EditorLayout.h"
#include "plugin/controller/Brimlow.h"
#include "tests/editor/EditorGraphics.h"
#include "tests/plugin/controller/ScopedDataHome.h"

// The plug-in as the host makes it, its data folders under a temporary
// XDG_DATA_HOME, with the scripted graphics object in place of its own and
// the editor built on it, so the menus' answers come from the test.
class BrimlowEditor : public Brimlow {
 public:
  BrimlowEditor() {
    DeleteGraphics();
    mGraphics = new EditorGraphics(this, kEditorWidth, kEditorHeight);
    AttachGraphics(mGraphics);
    EditorLayout::LayoutGUI(this, mGraphics, EditorLayout::kBuild);
    RedrawParamControls();
  }

  EditorGraphics* Graphics() const { return mGraphics; }

  // Host notifications of every parameter, counted.
  void NotifyHostAllParams() override {
    ++mAllParamsNotified;
    Brimlow::NotifyHostAllParams();
  }
  int mAllParamsNotified = 0;

 private:
  EditorGraphics* mGraphics;  // owned by the plug-in
};

// A fresh data home for each test and one plug-in in it.
class BrimlowEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(mHome.Ok());
    plug = std::make_unique<BrimlowEditor>();
    graphics = plug->Graphics();
  }
  void TearDown() override { plug.reset(); }

  std::string DataFolder() const { return mHome.Path() + "/Brimlow/"; }

  void Click(int x, int y, IMouseMod mod = IMouseMod(true)) {
    graphics->OnMouseDown(x, y, &mod);
    graphics->OnMouseUp(x, y, &mod);
  }

  ScopedDataHome mHome;
  std::unique_ptr<BrimlowEditor> plug;
  EditorGraphics* graphics = nullptr;
};

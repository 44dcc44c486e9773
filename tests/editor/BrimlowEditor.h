#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "editor/EditorLayout.h"
#include "plugin/controller/Brimlow.h"
#include "tests/editor/EditorGraphics.h"
#include "tests/plugin/controller/ScopedDataHome.h"

// The plug-in as the host makes it, its data folders under a temporary
// XDG_DATA_HOME (fresh for each test), with the scripted graphics object in
// place of its own and the editor built on that, so the menus' answers come
// from the test.
class BrimlowEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(mHome.Ok());
    plug.reset(MakePlug());
    IGraphics* own = plug->GetGUI();
    own->StopIdleThread();
    // The plug-in forgets the graph and the menus that go with the controls.
    own->ResetControls();
    graphics = new EditorGraphics(plug.get(), Brimlow::kEditorWidth, Brimlow::kEditorHeight);
    plug->AttachGraphics(graphics);
    delete own;
    EditorLayout::LayoutGUI(plug.get(), graphics, EditorLayout::kBuild);
    plug->RedrawParamControls();
  }
  void TearDown() override { plug.reset(); }

  std::string DataFolder() const { return mHome.Path() + "/Brimlow/"; }

  void Click(int x, int y, IMouseMod mod = IMouseMod(true)) {
    graphics->OnMouseDown(x, y, &mod);
    graphics->OnMouseUp(x, y, &mod);
  }

  ScopedDataHome mHome;
  std::unique_ptr<Brimlow> plug;
  EditorGraphics* graphics = nullptr;  // owned by the plug-in
};

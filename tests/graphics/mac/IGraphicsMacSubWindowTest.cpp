#include <gtest/gtest.h>

#include "graphics/mac/IGraphicsCocoa_vBrimlow_rtas.h"
#include "platform/cocoa/NSWindow.h"
#include "tests/graphics/mac/MacWindowFixture.h"

namespace {

class MacSubWindow : public MacWindowFixture {};

TEST_F(MacSubWindow, TheEditorSitsCentredInABorderlessChildOfTheHostWindow) {
  // A host window wider than the editor: 261 - 200 leaves 30 on the left.
  const Rect content{50, 100, 50 + kHeight, 100 + 261};
  CreateNewWindow(kDocumentWindowClass, kWindowCompositingAttribute, &content, &window);
  ShowWindow(window);
  graphics->AttachSubWindow(window);
  auto* view = static_cast<IGraphicsCocoa_vBrimlow_rtas*>(graphics->GetWindow());
  ASSERT_NE(view, nullptr);
  NSWindow* child = view->window();
  ASSERT_NE(child, nullptr);
  NSWindow* host = child->parentWindow();
  ASSERT_NE(host, nullptr);
  EXPECT_EQ(host->windowRef(), window);
  EXPECT_TRUE(child->canBecomeKeyWindow());
  EXPECT_FALSE(child->hasShadow());
  EXPECT_EQ(child->frame().origin.x, host->frame().origin.x + 30);
  EXPECT_EQ(child->frame().origin.y, host->frame().origin.y);
  EXPECT_EQ(child->frame().size.width, kWidth);
  EXPECT_STREQ(graphics->GetGUIAPI(), "Cocoa GUI");
  // Ordered to the front again a moment later.
  child->orderOut(nullptr);
  platform::AdvanceRunLoop(0.06);
  EXPECT_TRUE(child->isVisible());

  graphics->RemoveSubWindow();
  EXPECT_FALSE(graphics->WindowIsOpen());
  EXPECT_FALSE(IsWindowVisible(window));  // the host window was ordered out
  // A second removal, or one without an attachment, does nothing.
  graphics->RemoveSubWindow();
  EXPECT_FALSE(graphics->WindowIsOpen());
}

TEST_F(MacSubWindow, RemovingWithoutAttachingLeavesAnOpenViewAlone) {
  OpenCarbon();
  graphics->RemoveSubWindow();
  EXPECT_TRUE(graphics->WindowIsOpen());
  EXPECT_STREQ(graphics->GetGUIAPI(), "Carbon Composited GUI");
}

}  // namespace

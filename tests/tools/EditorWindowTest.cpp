#include "tools/EditorWindow.h"

#include <gtest/gtest.h>

#include "graphics/IGraphics.h"
#include "graphics/controls/IPanelControl.h"
#include "platform/corefoundation/RunLoop.h"
#include "platform/windowserver/ScreenWindow.h"
#include "plugin/controller/Brimlow.h"
#include "tools/HostSession.h"

namespace {

TEST(EditorWindow, OpensTheEditorAtItsScaleAndShowsWhatItDraws) {
  HostSession session;
  session.Start(48000, 512, 2);
  session.ApplySetting("GUI Scale=150%");
  IGraphics* graphics = session.Instance().GetGUI();
  // Something to see: a panel over the top-left corner, at 150 %.
  const IColor colour(255, 12, 34, 56);
  auto* panel = new IPanelControl(&session.Plug(), IRECTResize(), colour);
  panel->SetRescale(false);
  panel->SetRECT(IRECT(0, 0, 30, 20));
  graphics->AttachControl(panel);

  EditorWindow editor(session.Instance());
  const platform::ScreenWindow& screen = editor.Screen();
  EXPECT_EQ(screen.PixelWidth(), static_cast<int>(Brimlow::kEditorWidth * 1.5));
  EXPECT_EQ(screen.PixelHeight(), static_cast<int>(Brimlow::kEditorHeight * 1.5));
  EXPECT_EQ(graphics->Width(), screen.PixelWidth());
  EXPECT_TRUE(graphics->WindowIsOpen());
  uint8_t rgb[3];
  screen.PixelRGB(10, 10, rgb);
  EXPECT_EQ(rgb[0], 12);
  EXPECT_EQ(rgb[1], 34);
  EXPECT_EQ(rgb[2], 56);
  screen.PixelRGB(100, 100, rgb);
  EXPECT_EQ(rgb[0], 0);  // the black background

  // The panel changes colour: the next tick of the editor's timer shows it.
  panel->SetDirty(false);
  const int presents = screen.PresentCount();
  platform::AdvanceRunLoop(1.0 / graphics->FPS());
  EXPECT_GT(screen.PresentCount(), presents);
}

}  // namespace

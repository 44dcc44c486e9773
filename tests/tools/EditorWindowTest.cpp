#include "tools/EditorWindow.h"

#include <gtest/gtest.h>

#include <memory>

#include "graphics/IGraphics.h"
#include "graphics/controls/IPanelControl.h"
#include "lice/lice.h"
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
  // Elsewhere the editor's background image: a plain stretch of its top
  // bar, at (200, 20) of the 100 % editor and twice that in the image.
  std::unique_ptr<LICE_IBitmap> background(LICE_LoadPNG(BRIMLOW_IMAGE_DIR "/background.png", nullptr));
  ASSERT_TRUE(background);
  const LICE_pixel expected = background->getBits()[40 * background->getRowSpan() + 400];
  screen.PixelRGB(300, 30, rgb);
  EXPECT_EQ(rgb[0], LICE_GETR(expected));
  EXPECT_EQ(rgb[1], LICE_GETG(expected));
  EXPECT_EQ(rgb[2], LICE_GETB(expected));

  // The panel changes colour: the next tick of the editor's timer shows it.
  panel->SetDirty(false);
  const int presents = screen.PresentCount();
  platform::AdvanceRunLoop(1.0 / graphics->FPS());
  EXPECT_GT(screen.PresentCount(), presents);
}

}  // namespace

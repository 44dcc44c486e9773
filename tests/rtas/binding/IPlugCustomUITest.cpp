// The editor in the host's plug-in window, through the bundle's exports.
#include "platform/hitoolbox/MacWindows.h"
#include "platform/quickdraw/QuickDraw.h"
#include "platform/windowserver/ScreenWindow.h"
#include "tests/rtas/binding/BundleHost.h"
#include "tools/brimlow-host/HostEditor.h"

using IPlugCustomUIExports = BundleHost;

TEST_F(IPlugCustomUIExports, TheViewRectIsTheEditorsSize) {
  StartHost();
  const int32_t n = host->CreateInstance(kEFN2);
  Rect frame{-1, -1, -1, -1};
  ASSERT_EQ((host->Call<uint32_t, int32_t, Rect*>(4, kEFN2, n, &frame)), 0);
  EXPECT_EQ(frame.top, 0);
  EXPECT_EQ(frame.left, 0);
  EXPECT_EQ(frame.bottom, 632);
  EXPECT_EQ(frame.right, 872);
}

TEST_F(IPlugCustomUIExports, TheEditorShowsInTheWindowAndGoesWithIt) {
  StartHost();
  const int32_t n = host->CreateInstance(kEFN2);
  {
    HostEditor editor(*host, kEFN2, n);
    EXPECT_EQ(editor.Width(), 872);
    EXPECT_EQ(editor.Height(), 632);
    editor.Advance(0.5);
    const platform::ScreenWindow& screen = editor.Screen();
    ASSERT_EQ(screen.PixelWidth(), 872);
    ASSERT_EQ(screen.PixelHeight(), 632);
    // The editor drew: not every pixel is the window's blank.
    const uint8_t* pixels = screen.Pixels();
    bool drawn = false;
    for (size_t i = 4; i < screen.RowBytes() * 632 && !drawn; i += 4) drawn = std::memcmp(pixels + i, pixels, 4) != 0;
    EXPECT_TRUE(drawn);
  }
  // Closed twice, opened twice in a row: each port replaces the last.
  WindowRef window = nullptr;
  const Rect content{0, 0, 632, 872};
  ASSERT_EQ(CreateNewWindow(kDocumentWindowClass, kWindowCompositingAttribute, &content, &window), 0);
  OpaqueGrafPtr* port = GetWindowPort(window);
  EXPECT_EQ((host->Call<uint32_t, int32_t, OpaqueGrafPtr*>(47, kEFN2, n, nullptr)), 0);
  EXPECT_EQ((host->Call<uint32_t, int32_t, OpaqueGrafPtr*>(47, kEFN2, n, port)), 0);
  EXPECT_EQ((host->Call<uint32_t, int32_t, OpaqueGrafPtr*>(47, kEFN2, n, port)), 0);
  EXPECT_EQ((host->Call<uint32_t, int32_t, OpaqueGrafPtr*>(47, kEFN2, n, nullptr)), 0);
  EXPECT_EQ((host->Call<uint32_t, int32_t, OpaqueGrafPtr*>(47, kEFN2, n, nullptr)), 0);
  DisposeWindow(window);
}

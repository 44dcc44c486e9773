#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/windowserver/ScreenGeometry.h"

// A window of the window server: where it sits on the screen, its device
// scale, and the image last presented in it, as device pixels of four bytes
// X, R, G, B (the first ignored), rows from the top. The toolkit stand-ins
// make one per window; the backend shows it, or, headless, only keeps it.
namespace platform {

class InputSink;

class ScreenWindow {
 public:
  // The most device pixels a window has across or down; a larger frame or
  // scale keeps this many, and drawing beyond them is clipped.
  static constexpr int kMaxPixelExtent = 8192;

  // Content frame in screen points; device scale 1.
  explicit ScreenWindow(const ScreenRect& frame);
  ~ScreenWindow();
  ScreenWindow(const ScreenWindow&) = delete;
  ScreenWindow& operator=(const ScreenWindow&) = delete;

  int Id() const { return mId; }
  const ScreenRect& Frame() const { return mFrame; }
  // A new size makes new pixels, black.
  void SetFrame(const ScreenRect& frame);
  // The window server moved the window (a window manager placed it, the
  // user dragged it): the frame takes the new top-left corner and the
  // sink is told. Nothing is asked of the backend, which already has it there.
  void MovedOnScreen(const ScreenPoint& topLeft);
  double DeviceScale() const { return mScale; }
  // Refused unless finite and positive.
  void SetDeviceScale(double scale);
  const std::string& Title() const { return mTitle; }
  void SetTitle(const std::string& title) { mTitle = title; }

  void Show();
  void Hide();
  bool IsVisible() const { return mVisible; }

  int PixelWidth() const { return mPixelWidth; }
  int PixelHeight() const { return mPixelHeight; }
  const uint8_t* Pixels() const { return mPixels.data(); }
  size_t RowBytes() const { return static_cast<size_t>(mPixelWidth) * 4; }
  // Bytes 1-3 of pixel (x, y); {0, 0, 0} outside.
  void PixelRGB(int x, int y, uint8_t rgb[3]) const;

  // Draws an image of X, R, G, B pixels (rowSpan pixels a row) so that its
  // top-left corner lands at device point (x0, y0) and its bottom-right at
  // (x1, y1), either of which may be the smaller (a mirrored drawing). Each
  // device pixel inside the clip takes the image pixel under its centre;
  // there is no smoothing. Tells the backend the box round the pixels that
  // changed (a few more columns where several are compared at once), and
  // nothing when none did.
  void DrawImage(const uint8_t* pixels, int width, int height, int rowSpan, double x0, double y0, double x1,
                 double y1, const DeviceRect& clip);
  // Images drawn since the window was made.
  int PresentCount() const { return mPresents; }

  // The toolkit's receiver of this window's device input; not owned.
  InputSink* Sink() const { return mSink; }
  void SetSink(InputSink* sink) { mSink = sink; }

 private:
  void MakePixels();

  int mId;
  ScreenRect mFrame;
  double mScale = 1.0;
  std::string mTitle;
  bool mVisible = false;
  int mPixelWidth = 0;
  int mPixelHeight = 0;
  std::vector<uint8_t> mPixels;
  std::vector<int> mColumns;  // DrawImage's scratch: the source column of each device column
  int mPresents = 0;
  InputSink* mSink = nullptr;
};

// Every live window, in the order made.
const std::vector<ScreenWindow*>& ScreenWindows();
ScreenWindow* FindScreenWindow(int id);

}  // namespace platform

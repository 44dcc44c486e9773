#include "platform/windowserver/ScreenWindow.h"

#include <algorithm>
#include <cmath>

#include "platform/windowserver/Backend.h"

namespace platform {

namespace {

std::vector<ScreenWindow*>& Windows() {
  // Never destroyed: a window may go after static destruction began.
  static auto* windows = new std::vector<ScreenWindow*>;
  return *windows;
}

int NextId() {
  static int next = 1;
  return next++;
}

// Whole device pixels covering points [0, extent) at the scale; at most
// the limit, so no frame or scale, however large, asks for more than
// 256 MB of pixels.
int PixelExtent(double extent, double scale) {
  constexpr int kMax = ScreenWindow::kMaxPixelExtent;
  const double pixels = std::ceil(extent * scale - 1e-9);
  if (!(pixels > 0.0)) return 0;
  return pixels > kMax ? kMax : static_cast<int>(pixels);
}

}  // namespace

ScreenWindow::ScreenWindow(const ScreenRect& frame) : mId(NextId()), mFrame(frame) {
  MakePixels();
  Windows().push_back(this);
}

ScreenWindow::~ScreenWindow() {
  auto& windows = Windows();
  windows.erase(std::remove(windows.begin(), windows.end(), this), windows.end());
  Backend().WindowGone(this);
}

void ScreenWindow::MakePixels() {
  mPixelWidth = PixelExtent(mFrame.width, mScale);
  mPixelHeight = PixelExtent(mFrame.height, mScale);
  mPixels.assign(static_cast<size_t>(mPixelWidth) * mPixelHeight * 4, 0);
}

void ScreenWindow::SetFrame(const ScreenRect& frame) {
  const bool resized = frame.width != mFrame.width || frame.height != mFrame.height;
  mFrame = frame;
  if (resized) MakePixels();
  Backend().WindowChanged(this);
}

void ScreenWindow::SetDeviceScale(double scale) {
  // An infinite scale would turn every point into more pixels than any
  // coordinate holds.
  if (!(scale > 0.0) || !std::isfinite(scale) || scale == mScale) return;
  mScale = scale;
  MakePixels();
  Backend().WindowChanged(this);
}

void ScreenWindow::Show() {
  if (mVisible) return;
  mVisible = true;
  Backend().WindowShown(this);
}

void ScreenWindow::Hide() {
  if (!mVisible) return;
  mVisible = false;
  Backend().WindowHidden(this);
}

void ScreenWindow::PixelRGB(int x, int y, uint8_t rgb[3]) const {
  rgb[0] = rgb[1] = rgb[2] = 0;
  if (x < 0 || y < 0 || x >= mPixelWidth || y >= mPixelHeight) return;
  const uint8_t* p = &mPixels[(static_cast<size_t>(y) * mPixelWidth + x) * 4];
  rgb[0] = p[1];
  rgb[1] = p[2];
  rgb[2] = p[3];
}

void ScreenWindow::DrawImage(const uint8_t* pixels, int width, int height, int rowSpan, double x0, double y0,
                             double x1, double y1, const DeviceRect& clip) {
  if (!pixels || width <= 0 || height <= 0 || rowSpan < width || x0 == x1 || y0 == y1) return;
  // An image stretched without end has no pixel under any finite point.
  if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1)) return;
  auto clampEdge = [](double v, int lo, int hi) {
    if (!(v > lo)) return lo;  // NaN too
    return v < hi ? static_cast<int>(std::floor(v + 0.5)) : hi;
  };
  DeviceRect area;
  area.left = std::max(std::max(clip.left, 0), clampEdge(std::min(x0, x1), 0, mPixelWidth));
  area.right = std::min(std::min(clip.right, mPixelWidth), clampEdge(std::max(x0, x1), 0, mPixelWidth));
  area.top = std::max(std::max(clip.top, 0), clampEdge(std::min(y0, y1), 0, mPixelHeight));
  area.bottom = std::min(std::min(clip.bottom, mPixelHeight), clampEdge(std::max(y0, y1), 0, mPixelHeight));
  ++mPresents;
  if (area.IsEmpty()) return;
  const double du = width / (x1 - x0);
  const double dv = height / (y1 - y0);
  for (int y = area.top; y < area.bottom; ++y) {
    const int v = std::clamp(static_cast<int>(std::floor((y + 0.5 - y0) * dv)), 0, height - 1);
    const uint8_t* row = pixels + static_cast<size_t>(v) * rowSpan * 4;
    uint8_t* out = &mPixels[(static_cast<size_t>(y) * mPixelWidth + area.left) * 4];
    for (int x = area.left; x < area.right; ++x, out += 4) {
      const int u = std::clamp(static_cast<int>(std::floor((x + 0.5 - x0) * du)), 0, width - 1);
      const uint8_t* in = row + static_cast<size_t>(u) * 4;
      out[0] = 0;
      out[1] = in[1];
      out[2] = in[2];
      out[3] = in[3];
    }
  }
  Backend().WindowPresented(this, area);
}

const std::vector<ScreenWindow*>& ScreenWindows() { return Windows(); }

ScreenWindow* FindScreenWindow(int id) {
  for (ScreenWindow* w : Windows()) {
    if (w->Id() == id) return w;
  }
  return nullptr;
}

}  // namespace platform

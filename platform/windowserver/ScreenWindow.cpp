#include "platform/windowserver/ScreenWindow.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

#include "dsp/convolution/CpuFeatures.h"
#include "platform/windowserver/Backend.h"
#include "platform/windowserver/InputSink.h"

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

#if defined(__x86_64__) || defined(__i386__)
// Eight words a step; answers how many it did.
__attribute__((target("avx2"))) int StoreChangedWordsAvx2(const uint8_t* in, uint8_t* out, int n, uint32_t keep,
                                                           int* first, int* last) {
  const __m256i mask = _mm256_set1_epi32(static_cast<int>(keep));
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    const size_t at = static_cast<size_t>(i) * 4;
    const __m256i p = _mm256_and_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + at)), mask);
    __m256i* o = reinterpret_cast<__m256i*>(out + at);
    if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(p, _mm256_loadu_si256(o))) == -1) continue;
    _mm256_storeu_si256(o, p);
    if (*first > i) *first = i;
    *last = i + 7;
  }
  return i;
}
#endif

// Stores n words of in, masked, over out where they differ from what out
// holds; widens [first, last] to the columns stored.
void StoreChangedWords(const uint8_t* in, uint8_t* out, int n, uint32_t keep, int* first, int* last) {
  int i = 0;
#if defined(__x86_64__) || defined(__i386__)
  if (n >= 8 && CpuFeatures::HasAvx2()) i = StoreChangedWordsAvx2(in, out, n, keep, first, last);
#endif
#ifdef __SSE2__
  const __m128i mask = _mm_set1_epi32(static_cast<int>(keep));
  for (; i + 4 <= n; i += 4) {
    const size_t at = static_cast<size_t>(i) * 4;
    const __m128i p = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in + at)), mask);
    __m128i* o = reinterpret_cast<__m128i*>(out + at);
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(p, _mm_loadu_si128(o))) == 0xffff) continue;
    _mm_storeu_si128(o, p);
    if (*first > i) *first = i;
    *last = i + 3;
  }
#endif
  for (; i < n; ++i) {
    uint32_t word, old;
    std::memcpy(&word, in + static_cast<size_t>(i) * 4, 4);
    std::memcpy(&old, out + static_cast<size_t>(i) * 4, 4);
    word &= keep;
    if (word == old) continue;
    std::memcpy(out + static_cast<size_t>(i) * 4, &word, 4);
    if (*first > i) *first = i;
    *last = i;
  }
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

void ScreenWindow::MovedOnScreen(const ScreenPoint& topLeft) {
  if (topLeft.x == mFrame.x && topLeft.y == mFrame.y) return;
  mFrame.x = topLeft.x;
  mFrame.y = topLeft.y;
  if (mSink) mSink->Moved(mFrame);
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
  // The source column of each device column, worked out once for every
  // row; where they run on one by one (an image drawn at its own size,
  // the usual case) rows are copied whole.
  const int columns = area.right - area.left;
  mColumns.resize(static_cast<size_t>(columns));
  bool straight = true;
  for (int i = 0; i < columns; ++i) {
    const int x = area.left + i;
    mColumns[static_cast<size_t>(i)] = std::clamp(static_cast<int>(std::floor((x + 0.5 - x0) * du)), 0, width - 1);
    if (i > 0 && mColumns[static_cast<size_t>(i)] != mColumns[static_cast<size_t>(i) - 1] + 1) straight = false;
  }
  // The first byte of every pixel is cleared: a word mask, whatever the byte order.
  const uint8_t keepBytes[4] = {0, 0xff, 0xff, 0xff};
  uint32_t keep = 0;
  std::memcpy(&keep, keepBytes, 4);
  // Most of a frame is what the last one was: only pixels that differ are
  // stored, and the backend hears of the box round them alone.
  DeviceRect changed{area.right, area.bottom, area.left, area.top};
  for (int y = area.top; y < area.bottom; ++y) {
    const int v = std::clamp(static_cast<int>(std::floor((y + 0.5 - y0) * dv)), 0, height - 1);
    const uint8_t* row = pixels + static_cast<size_t>(v) * rowSpan * 4;
    uint8_t* out = &mPixels[(static_cast<size_t>(y) * mPixelWidth + area.left) * 4];
    int first = columns, last = -1;
    if (straight) {
      StoreChangedWords(row + static_cast<size_t>(mColumns[0]) * 4, out, columns, keep, &first, &last);
    } else {
      for (int i = 0; i < columns; ++i, out += 4) {
        uint32_t word, old;
        std::memcpy(&word, row + static_cast<size_t>(mColumns[static_cast<size_t>(i)]) * 4, 4);
        std::memcpy(&old, out, 4);
        word &= keep;
        if (word == old) continue;
        std::memcpy(out, &word, 4);
        if (first > i) first = i;
        last = i;
      }
    }
    if (first > last) continue;
    changed.left = std::min(changed.left, area.left + first);
    changed.right = std::max(changed.right, area.left + last + 1);
    changed.top = std::min(changed.top, y);
    changed.bottom = y + 1;
  }
  if (changed.IsEmpty()) return;
  Backend().WindowPresented(this, changed);
}

const std::vector<ScreenWindow*>& ScreenWindows() { return Windows(); }

ScreenWindow* FindScreenWindow(int id) {
  for (ScreenWindow* w : Windows()) {
    if (w->Id() == id) return w;
  }
  return nullptr;
}

}  // namespace platform

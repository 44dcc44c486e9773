#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "platform/windowserver/ScreenWindow.h"
#include "platform/windowserver/X11State.h"

// Putting a window's pixels on the X display. Only the area that changed is
// converted and sent; through shared memory where the server is on this
// machine and offers it (no copy down the socket), else with XPutImage.

namespace platform {

namespace {

bool MakeSharedImage(X11State& x, X11State::Shown& s, int width, int height) {
  Display* d = x.display;
  s.segment = std::make_unique<XShmSegmentInfo>();
  XShmSegmentInfo& segment = *s.segment;
  XImage* image = XShmCreateImage(d, x.visual, static_cast<unsigned>(x.depth), ZPixmap, nullptr, &segment,
                                  static_cast<unsigned>(width), static_cast<unsigned>(height));
  if (!image) return false;
  if (image->bits_per_pixel != 32) {
    XDestroyImage(image);
    return false;
  }
  const size_t bytes = static_cast<size_t>(image->bytes_per_line) * static_cast<size_t>(image->height);
  segment.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
  if (segment.shmid < 0) {
    XDestroyImage(image);
    return false;
  }
  void* address = shmat(segment.shmid, nullptr, 0);
  if (address == reinterpret_cast<void*>(-1)) {
    shmctl(segment.shmid, IPC_RMID, nullptr);
    XDestroyImage(image);
    return false;
  }
  segment.shmaddr = image->data = static_cast<char*>(address);
  segment.readOnly = False;
  // A server on another machine refuses the segment, and says so only
  // asynchronously.
  const int error = TrapErrors(x, [&] { XShmAttach(d, &segment); });
  // The segment goes once both sides let go of it, even if this program dies.
  shmctl(segment.shmid, IPC_RMID, nullptr);
  if (error != 0 || x.lost) {
    shmdt(address);
    image->data = nullptr;
    XDestroyImage(image);
    return false;
  }
  std::memset(address, 0, bytes);
  s.image = image;
  s.shared = true;
  s.words = reinterpret_cast<uint32_t*>(address);
  s.wordsPerRow = static_cast<size_t>(image->bytes_per_line) / 4;
  return true;
}

}  // namespace

void MakeImage(X11State& x, X11State::Shown& s, int width, int height) {
  if (x.shm) {
    if (MakeSharedImage(x, s, width, height)) return;
    x.shm = false;  // not again
  }
  s.pixels.assign(static_cast<size_t>(width) * height, 0);
  s.image = XCreateImage(x.display, x.visual, static_cast<unsigned>(x.depth), ZPixmap, 0,
                         reinterpret_cast<char*>(s.pixels.data()), static_cast<unsigned>(width),
                         static_cast<unsigned>(height), 32, 0);
  s.words = s.pixels.data();
  s.wordsPerRow = static_cast<size_t>(width);
}

void FreeImage(X11State& x, X11State::Shown& s) {
  if (!s.image) return;
  if (s.shared) {
    if (!x.lost) {
      XShmDetach(x.display, s.segment.get());
      XSync(x.display, False);
    }
    shmdt(s.segment->shmaddr);
  }
  s.image->data = nullptr;  // the segment or the vector owned the words
  XDestroyImage(s.image);
  s.image = nullptr;
  s.words = nullptr;
  s.shared = false;
  s.sent = false;
}

namespace {

// Converts one row of surface pixels (bytes X, R, G, B) into the visual's
// words over the old ones; answers the first and last column that changed
// (a few more where four are compared at once), or first > last for none.
void ConvertRow(const X11State& x, const uint8_t* in, uint32_t* out, int n, bool littleEndian, int* first,
                int* last) {
  *first = n;
  *last = -1;
  const auto note = [&](int from, int to) {
    if (from < *first) *first = from;
    if (to > *last) *last = to;
  };
  int i = 0;
  if (littleEndian) {
    const int rs = x.redShift, gs = x.greenShift, bs = x.blueShift;
#ifdef __SSE2__
    // The usual visual, red high and blue low: the bytes reversed, four
    // pixels at a time.
    if (rs == 16 && gs == 8 && bs == 0) {
      const __m128i low = _mm_set1_epi32(0xff00), middle = _mm_set1_epi32(0xff0000);
      for (; i + 4 <= n; i += 4) {
        const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + static_cast<size_t>(i) * 4));
        const __m128i q = _mm_or_si128(_mm_srli_epi32(p, 24), _mm_or_si128(_mm_and_si128(_mm_srli_epi32(p, 8), low),
                                                                           _mm_and_si128(_mm_slli_epi32(p, 8), middle)));
        __m128i* o = reinterpret_cast<__m128i*>(out + i);
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(q, _mm_loadu_si128(o))) == 0xffff) continue;
        _mm_storeu_si128(o, q);
        note(i, i + 3);
      }
    }
#endif
    for (; i < n; ++i) {
      uint32_t p;
      std::memcpy(&p, in + static_cast<size_t>(i) * 4, 4);
      const uint32_t q = (p >> 8 & 0xff) << rs | (p >> 16 & 0xff) << gs | (p >> 24) << bs;
      if (out[i] == q) continue;
      out[i] = q;
      note(i, i);
    }
    return;
  }
  for (; i < n; ++i, in += 4) {
    const uint32_t q = x.Pack(in[1], in[2], in[3]);
    if (out[i] == q) continue;
    out[i] = q;
    note(i, i);
  }
}

}  // namespace

void X11State::Put(Shown& s, int left, int top, int right, int bottom, bool changesOnly) {
  const ScreenWindow* w = s.window;
  const int width = w->PixelWidth(), height = w->PixelHeight();
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, width);
  bottom = std::min(bottom, height);
  if (lost || s.destroyed || !s.image || left >= right || top >= bottom) return;
  // Right size only: a window changing size gets a new image first.
  if (width > s.image->width || height > s.image->height) return;
  // The server may still be reading what was last sent.
  if (s.sent) {
    XSync(display, False);
    s.sent = false;
  }
  // The surface's bytes become the visual's words here, never in the
  // surface itself. Most of a frame is what the last one was: only the
  // box round what changed is sent.
  const uint8_t* pixels = w->Pixels();
  const uint32_t probe = 1;
  const bool littleEndian = *reinterpret_cast<const uint8_t*>(&probe) == 1;
  int changedLeft = right, changedRight = left, changedTop = bottom, changedBottom = top;
  for (int y = top; y < bottom; ++y) {
    int first = 0, last = 0;
    ConvertRow(*this, pixels + (static_cast<size_t>(y) * width + left) * 4,
               s.words + static_cast<size_t>(y) * s.wordsPerRow + left, right - left, littleEndian, &first, &last);
    if (first > last) continue;
    changedLeft = std::min(changedLeft, left + first);
    changedRight = std::max(changedRight, left + last + 1);
    changedTop = std::min(changedTop, y);
    changedBottom = y + 1;
  }
  if (changesOnly) {
    if (changedLeft >= changedRight) return;
    left = changedLeft;
    right = changedRight;
    top = changedTop;
    bottom = changedBottom;
  }
  const unsigned areaWidth = static_cast<unsigned>(right - left), areaHeight = static_cast<unsigned>(bottom - top);
  if (s.shared) {
    XShmPutImage(display, s.xwindow, gc, s.image, left, top, left, top, areaWidth, areaHeight, False);
    s.sent = true;
  } else {
    XPutImage(display, s.xwindow, gc, s.image, left, top, left, top, areaWidth, areaHeight);
  }
}

}  // namespace platform

#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstring>

#include "platform/windowserver/ScreenWindow.h"
#include "platform/windowserver/SurfaceRowConversion.h"
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
  s.fresh = true;
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

void X11State::Put(Shown& s, int left, int top, int right, int bottom, bool changesOnly) {
  const ScreenWindow* w = s.window;
  const int width = w->PixelWidth(), height = w->PixelHeight();
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, width);
  bottom = std::min(bottom, height);
  if (s.fresh) {
    left = 0;
    top = 0;
    right = width;
    bottom = height;
  }
  if (lost || s.destroyed || !s.image || left >= right || top >= bottom) return;
  // Right size only: a window changing size gets a new image first.
  if (width > s.image->width || height > s.image->height) return;
  s.fresh = false;
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
  const VisualLayout layout{redShift, greenShift, blueShift, *reinterpret_cast<const uint8_t*>(&probe) == 1};
  int changedLeft = right, changedRight = left, changedTop = bottom, changedBottom = top;
  for (int y = top; y < bottom; ++y) {
    int first = 0, last = 0;
    ConvertSurfaceRow(layout, pixels + (static_cast<size_t>(y) * width + left) * 4,
                      s.words + static_cast<size_t>(y) * s.wordsPerRow + left, right - left, &first, &last);
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

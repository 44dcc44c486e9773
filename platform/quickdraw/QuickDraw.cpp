#include "platform/quickdraw/QuickDraw.h"

#include <algorithm>
#include <cstring>

#include "platform/carboncore/MacMemory.h"
#include "platform/quickdraw/GrafPort.h"

namespace {

GrafPtr gPort = nullptr;

const Rect kWideOpen{-32767, -32767, 32767, 32767};

int16_t EffectiveSize(int16_t size) { return size > 0 ? size : 12; }

int16_t CharPixels(GrafPtr port) {
  return static_cast<int16_t>(std::max(1, EffectiveSize(port->textSize) / 2) + ((port->textFace & bold) ? 1 : 0));
}

void LogShape(platform::DrawOp op, const Rect* r) {
  if (!gPort || !r) return;
  platform::LogCommand(gPort, op).rect = *r;
}

}  // namespace

namespace platform {

GrafPtr NewStandInPort(int16_t width, int16_t height, Point globalTopLeft) {
  GrafPtr port = new OpaqueGrafPtr;
  port->bounds = Rect{0, 0, height, width};
  port->globalTopLeft = globalTopLeft;
  port->clip.rects = {kWideOpen};
  return port;
}

void DisposeStandInPort(GrafPtr port) {
  if (!port) return;
  if (gPort == port) gPort = nullptr;
  delete port->openPoly;
  delete port;
}

const std::vector<DrawCommand>& PortLog(GrafPtr port) { return port->log; }

void ClearPortLog(GrafPtr port) { port->log.clear(); }

std::vector<Rect> ClipRects(GrafPtr port) { return port->clip.rects; }

DrawCommand& LogCommand(GrafPtr port, DrawOp op) {
  DrawCommand c;
  c.op = op;
  c.fore = port->fore;
  c.back = port->back;
  c.penSize = port->penSize;
  c.penMode = port->penMode;
  c.textFont = port->textFont;
  c.textSize = port->textSize;
  c.textFace = port->textFace;
  c.textMode = port->textMode;
  c.backIsPixPat = port->hasBackPixPat;
  c.backPattern = port->hasBackPixPat ? port->backPixPat
                                      : std::string(reinterpret_cast<const char*>(port->backPattern.pat), 8);
  c.clip = port->clip.rects;
  c.origin = Point{port->bounds.top, port->bounds.left};
  port->log.push_back(c);
  return port->log.back();
}

}  // namespace platform

void GetPort(GrafPtr* port) {
  if (port) *port = gPort;
}

GrafPtr GetPort() { return gPort; }

void SetPort(GrafPtr port) { gPort = port; }

Rect* GetPortBounds(CGrafPtr port, Rect* bounds) {
  if (port && bounds) *bounds = port->bounds;
  return bounds;
}

void SetOrigin(int16_t h, int16_t v) {
  if (!gPort) return;
  OffsetRect(&gPort->bounds, static_cast<int16_t>(h - gPort->bounds.left), static_cast<int16_t>(v - gPort->bounds.top));
}

void GlobalToLocal(Point* pt) {
  if (!gPort || !pt) return;
  pt->h = static_cast<int16_t>(pt->h - gPort->globalTopLeft.h + gPort->bounds.left);
  pt->v = static_cast<int16_t>(pt->v - gPort->globalTopLeft.v + gPort->bounds.top);
}

void LocalToGlobal(Point* pt) {
  if (!gPort || !pt) return;
  pt->h = static_cast<int16_t>(pt->h - gPort->bounds.left + gPort->globalTopLeft.h);
  pt->v = static_cast<int16_t>(pt->v - gPort->bounds.top + gPort->globalTopLeft.v);
}

void GetClip(RgnHandle rgn) {
  if (gPort && rgn) rgn->rects = gPort->clip.rects;
}

void SetClip(RgnHandle rgn) {
  if (gPort && rgn) gPort->clip.rects = rgn->rects;
}

void ClipRect(const Rect* r) {
  if (!gPort || !r) return;
  gPort->clip.rects.clear();
  if (!EmptyRect(r)) gPort->clip.rects.push_back(*r);
}

void PenMode(int16_t mode) {
  if (gPort) gPort->penMode = mode;
}

void PenSize(int16_t width, int16_t height) {
  if (gPort) gPort->penSize = Point{height, width};
}

void PenNormal() {
  if (!gPort) return;
  gPort->penSize = Point{1, 1};
  gPort->penMode = patCopy;
}

void MoveTo(int16_t h, int16_t v) {
  if (gPort) gPort->pen = Point{v, h};
}

void Move(int16_t dh, int16_t dv) {
  if (gPort) MoveTo(static_cast<int16_t>(gPort->pen.h + dh), static_cast<int16_t>(gPort->pen.v + dv));
}

void LineTo(int16_t h, int16_t v) {
  if (!gPort) return;
  const Point to{v, h};
  if (gPort->openPoly) {
    if (gPort->openPoly->points.empty()) gPort->openPoly->points.push_back(gPort->pen);
    gPort->openPoly->points.push_back(to);
  } else {
    platform::DrawCommand& c = platform::LogCommand(gPort, platform::DrawOp::kLine);
    c.from = gPort->pen;
    c.to = to;
  }
  gPort->pen = to;
}

void Line(int16_t dh, int16_t dv) {
  if (gPort) LineTo(static_cast<int16_t>(gPort->pen.h + dh), static_cast<int16_t>(gPort->pen.v + dv));
}

void GetPen(Point* pt) {
  if (gPort && pt) *pt = gPort->pen;
}

void TextFont(int16_t font) {
  if (gPort) gPort->textFont = font;
}

void TextSize(int16_t size) {
  if (gPort) gPort->textSize = size;
}

void TextFace(Style face) {
  if (gPort) gPort->textFace = face;
}

void TextMode(int16_t mode) {
  if (gPort) gPort->textMode = mode;
}

int16_t GetPortTextFont(CGrafPtr port) { return port ? port->textFont : 0; }
int16_t GetPortTextSize(CGrafPtr port) { return port ? port->textSize : 0; }
Style GetPortTextFace(CGrafPtr port) { return port ? port->textFace : static_cast<Style>(normal); }
int16_t GetPortTextMode(CGrafPtr port) { return port ? port->textMode : 0; }

void RGBForeColor(const RGBColor* color) {
  if (gPort && color) gPort->fore = *color;
}

void RGBBackColor(const RGBColor* color) {
  if (gPort && color) gPort->back = *color;
}

void GetForeColor(RGBColor* color) {
  if (gPort && color) *color = gPort->fore;
}

void GetBackColor(RGBColor* color) {
  if (gPort && color) *color = gPort->back;
}

void BackPat(const Pattern* pat) {
  if (!gPort || !pat) return;
  gPort->backPattern = *pat;
  gPort->hasBackPixPat = false;
}

Pattern* GetQDGlobalsWhite(Pattern* white) {
  if (white) std::memset(white->pat, 0x00, sizeof white->pat);
  return white;
}

Pattern* GetQDGlobalsBlack(Pattern* black) {
  if (black) std::memset(black->pat, 0xFF, sizeof black->pat);
  return black;
}

namespace {

std::string PatternBytes(PixPatHandle pp) {
  Handle h = reinterpret_cast<Handle>(pp);
  return std::string(*h, static_cast<size_t>(GetHandleSize(h)));
}

void SetPatternBytes(PixPatHandle pp, const std::string& bytes) {
  Handle h = reinterpret_cast<Handle>(pp);
  SetHandleSize(h, static_cast<Size>(bytes.size()));
  if (MemError() == noErr && !bytes.empty()) std::memcpy(*h, bytes.data(), bytes.size());
}

}  // namespace

PixPatHandle NewPixPat() { return reinterpret_cast<PixPatHandle>(NewHandle(0)); }

void CopyPixPat(PixPatHandle src, PixPatHandle dst) {
  if (src && dst) SetPatternBytes(dst, PatternBytes(src));
}

void SetPortBackPixPat(CGrafPtr port, PixPatHandle pp) {
  if (!port) return;
  port->hasBackPixPat = pp != nullptr;
  port->backPixPat = pp ? PatternBytes(pp) : std::string();
}

PixPatHandle GetPortBackPixPat(CGrafPtr port, PixPatHandle pp) {
  if (!port || !pp) return pp;
  SetPatternBytes(pp, port->hasBackPixPat ? port->backPixPat
                                          : std::string(reinterpret_cast<const char*>(port->backPattern.pat), 8));
  return pp;
}

void EraseRect(const Rect* r) { LogShape(platform::DrawOp::kEraseRect, r); }
void PaintRect(const Rect* r) { LogShape(platform::DrawOp::kPaintRect, r); }
void FrameRect(const Rect* r) { LogShape(platform::DrawOp::kFrameRect, r); }
void InvertRect(const Rect* r) { LogShape(platform::DrawOp::kInvertRect, r); }
void EraseOval(const Rect* r) { LogShape(platform::DrawOp::kEraseOval, r); }
void PaintOval(const Rect* r) { LogShape(platform::DrawOp::kPaintOval, r); }
void FrameOval(const Rect* r) { LogShape(platform::DrawOp::kFrameOval, r); }

PolyHandle OpenPoly() {
  if (!gPort) return nullptr;
  delete gPort->openPoly;
  gPort->openPoly = new OpaquePolyHandle;
  return gPort->openPoly;
}

void ClosePoly() {
  // The poly belongs to the caller from here on.
  if (gPort) gPort->openPoly = nullptr;
}

void PaintPoly(PolyHandle poly) {
  if (!gPort || !poly) return;
  platform::LogCommand(gPort, platform::DrawOp::kPaintPoly).points = poly->points;
}

void KillPoly(PolyHandle poly) {
  if (gPort && gPort->openPoly == poly) gPort->openPoly = nullptr;
  delete poly;
}

void ScrollRect(const Rect* r, int16_t dh, int16_t dv, RgnHandle updateRgn) {
  if (!gPort || !r) return;
  platform::DrawCommand& c = platform::LogCommand(gPort, platform::DrawOp::kScrollRect);
  c.rect = *r;
  c.dh = dh;
  c.dv = dv;
  if (updateRgn) {
    Rect moved = *r;
    OffsetRect(&moved, dh, dv);
    updateRgn->rects = platform::SubtractRect({*r}, moved);
  }
}

void DrawPicture(PicHandle picture, const Rect* dst) {
  if (!gPort || !picture || !dst) return;
  platform::DrawCommand& c = platform::LogCommand(gPort, platform::DrawOp::kPicture);
  c.rect = *dst;
  c.handle = picture;
}

void PlotIcon(const Rect* r, Handle icon) {
  if (!gPort || !r || !icon) return;
  platform::DrawCommand& c = platform::LogCommand(gPort, platform::DrawOp::kIcon);
  c.rect = *r;
  c.handle = icon;
}

void DrawText(const void* text, int16_t first, int16_t count) {
  if (!gPort || !text || count <= 0) return;
  platform::DrawCommand& c = platform::LogCommand(gPort, platform::DrawOp::kText);
  c.text.assign(static_cast<const char*>(text) + first, static_cast<size_t>(count));
  c.from = gPort->pen;
  gPort->pen.h = static_cast<int16_t>(gPort->pen.h + TextWidth(text, first, count));
}

void DrawString(ConstStr255Param s) {
  if (s) DrawText(s + 1, 0, s[0]);
}

int16_t TextWidth(const void* text, int16_t first, int16_t count) {
  (void)text;
  (void)first;
  if (!gPort || count <= 0) return 0;
  return static_cast<int16_t>(count * CharPixels(gPort));
}

int16_t StringWidth(ConstStr255Param s) { return s ? TextWidth(s + 1, 0, s[0]) : 0; }

int16_t CharWidth(int16_t ch) {
  (void)ch;
  return gPort ? CharPixels(gPort) : 0;
}

void GetFontInfo(FontInfo* info) {
  if (!info) return;
  const int16_t size = EffectiveSize(gPort ? gPort->textSize : 12);
  info->ascent = static_cast<int16_t>(size - size / 4);
  info->descent = static_cast<int16_t>(size / 4);
  info->widMax = size;
  info->leading = 1;
}

#pragma once

// The raster graphics library: 32-bit bitmaps and what draws into them.
//
// Conventions every function below follows:
// - Coordinates are pixels with y growing downwards; bitmaps stored
//   bottom-up (isFlipped) draw the same picture.
// - alpha is a weight, 1.0 for full strength; the integer alpha is
//   trunc(alpha * 256). mode is the blend-mode word (LICE_Pixel.h).
// - Nothing is reported: a null bitmap, null pixels, an integer alpha of 0,
//   an empty or fully clipped area or a blend mode above 5 draws nothing.

#include "lice/LICE_Combine.h"
#include "lice/LICE_IBitmap.h"
#include "lice/LICE_MemBitmap.h"
#include "lice/LICE_Pixel.h"
#include "lice/LICE_SysBitmap.h"

// Right and bottom are exclusive.
struct LICE_Rect {
  int left, top, right, bottom;
};

// ---- Blits and blur

// Copies srcRect of src (null: all of it) to (dstX, dstY) of dest, blended by
// mode and alpha; the filter bits are ignored. src and dest must not share
// pixel memory.
void LICE_BlitCore(LICE_IBitmap* dest, LICE_IBitmap* src, int dstX, int dstY, const LICE_Rect* srcRect,
                   float alpha, int mode);
void LICE_Blit(LICE_IBitmap* dest, LICE_IBitmap* src, int dstX, int dstY, int srcX, int srcY, int srcW, int srcH,
               float alpha, int mode);
// A small box blur of the rectangle into dest at (dstX, dstY); all four
// channels alike. src and dest may be the same bitmap at the same place.
void LICE_BlurRect(LICE_IBitmap* dest, LICE_IBitmap* src, int dstX, int dstY, int srcX, int srcY, int srcW,
                   int srcH);

// Draws the source rectangle (in fractional source pixels) into the
// destination rectangle, stepping the source in 16.16 fixed point. Filter
// bit LICE_BLIT_FILTER_BILINEAR interpolates, and averages a 3 x 3 or 5 x 5
// block instead when both steps are at least 1.7 source pixels. A negative
// destination width or height mirrors.
void LICE_ScaledBlit(LICE_IBitmap* dest, LICE_IBitmap* src, int dstX, int dstY, int dstW, int dstH, float srcX,
                     float srcY, float srcW, float srcH, float alpha, int mode);

// ---- Fills and shapes (colour is a pixel word; LICE_BLIT_USE_ALPHA only
// scales alpha by the colour's alpha byte)

void LICE_FillRect(LICE_IBitmap* dest, int x, int y, int w, int h, LICE_pixel color, float alpha, int mode);

// Both end points belong to the line; the source-alpha bit is ignored.
void LICE_DrawLine(LICE_IBitmap* dest, int x1, int y1, int x2, int y2, LICE_pixel color, float alpha, int mode,
                   bool aa);
// End points in fractional pixels. Without aa the coordinates are truncated
// and drawn by LICE_DrawLine; with aa each whole major position between the
// end points splits alpha between the two pixels that straddle the line.
void LICE_DrawLineFloat(LICE_IBitmap* dest, float x1, float y1, float x2, float y2, LICE_pixel color, float alpha,
                        int mode, bool aa);

// A disc, hard-edged or with a one-pixel antialiased rim; every pixel is
// written once, so add and the other non-idempotent modes show no seams.
void LICE_FillCircle(LICE_IBitmap* dest, float cx, float cy, float r, LICE_pixel color, float alpha, int mode,
                     bool aa);

// A convex polygon of n vertices in any order; bands between vertex rows
// share no row, so no pixel is written twice.
void LICE_FillConvexPolygon(LICE_IBitmap* dest, const int* x, const int* y, int n, LICE_pixel color, float alpha,
                            int mode);
void LICE_FillTriangle(LICE_IBitmap* dest, int x1, int y1, int x2, int y2, int x3, int y3, LICE_pixel color,
                       float alpha, int mode);

// ---- Images

// Reads a PNG file into bitmap, resized to the image, or into a new
// LICE_MemBitmap the caller then owns when bitmap is null. Pixels arrive as
// straight-alpha A, R, G, B; null on any failure.
LICE_IBitmap* LICE_LoadPNG(const char* path, LICE_IBitmap* bitmap);
// The width and height a PNG file's header gives, without decoding its
// pixels; false where LICE_LoadPNG would refuse the header or the size.
bool LICE_ReadPNGSize(const char* path, int* width, int* height);
// As LICE_LoadPNG; with checkExtension, only for names ending in ".png" (any
// case), and null without touching the file system for others.
LICE_IBitmap* LICE_LoadPNGIfExtension(const char* path, bool checkExtension, LICE_IBitmap* bitmap);

#pragma once

// Memory drawing contexts: blocks of pixels that the platform text layer can
// draw into and the window layer can present.
struct DrawContext;  // opaque handle

// A zeroed block of width x height pixels whose first pixel lies on a 64-byte
// boundary; null when either size is not positive, when width * 4 * height
// does not fit in memory arithmetic, or when the memory cannot be had.
DrawContext* CreateMemContext(int width, int height);
// Null-safe.
void DeleteDrawContext(DrawContext* ctx);
// The context's first pixel (64-byte aligned), or null.
void* GetMemContextBits(DrawContext* ctx);

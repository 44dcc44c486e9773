#include "lice/DrawContext.h"

#include <cstdint>
#include <cstdlib>
#include <limits>

struct DrawContext {
  void* block;  // from calloc; the pixels start at its first 64-byte boundary
  void* bits;
};

DrawContext* CreateMemContext(int width, int height) {
  if (width < 1 || height < 1) return nullptr;
  const size_t w = static_cast<size_t>(width);
  const size_t h = static_cast<size_t>(height);
  const size_t maxSize = std::numeric_limits<size_t>::max();
  if (w > (maxSize - 63) / 4 / h) return nullptr;
  void* block = std::calloc(w * 4 * h + 63, 1);
  if (!block) return nullptr;
  DrawContext* ctx = static_cast<DrawContext*>(std::malloc(sizeof(DrawContext)));
  if (!ctx) {
    std::free(block);
    return nullptr;
  }
  ctx->block = block;
  ctx->bits = reinterpret_cast<void*>((reinterpret_cast<uintptr_t>(block) + 63) & ~static_cast<uintptr_t>(63));
  return ctx;
}

void DeleteDrawContext(DrawContext* ctx) {
  if (!ctx) return;
  std::free(ctx->block);
  std::free(ctx);
}

void* GetMemContextBits(DrawContext* ctx) { return ctx ? ctx->bits : nullptr; }

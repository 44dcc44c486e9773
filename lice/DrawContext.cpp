#include "lice/DrawContext.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "lice/DrawPools.h"
#include "lice/DrawRecords.h"
#include "platform/coregraphics/BitmapContext.h"

namespace {

constexpr uintptr_t kPixelAlignment = 64;

void* AlignedPixels(void* block) {
  const uintptr_t a = reinterpret_cast<uintptr_t>(block);
  return reinterpret_cast<void*>((a + kPixelAlignment - 1) & ~(kPixelAlignment - 1));
}

platform::Color* CreateOpaqueColor(int color) {
  const double components[4] = {((color >> 16) & 255) / 255.0, ((color >> 8) & 255) / 255.0,
                                (color & 255) / 255.0, 1.0};
  return platform::CreateColor(GetDisplayColorSpace(), components);
}

}  // namespace

platform::ColorSpace* GetDisplayColorSpace() {
  // Linux has no display profile to ask: device RGB stands for it.
  static platform::ColorSpace* space = platform::DeviceRGBColorSpace();
  return space;
}

DrawContext* CreateMemContext(int width, int height) {
  if (width < 1 || height < 1) return nullptr;
  // In size_t, checked: the product of two ints can pass what the
  // allocator's size type holds on a 32-bit build.
  size_t rowBytes = 0, bytes = 0;
  if (__builtin_mul_overflow(static_cast<size_t>(width), size_t{4}, &rowBytes) ||
      __builtin_mul_overflow(rowBytes, static_cast<size_t>(height), &bytes) ||
      __builtin_add_overflow(bytes, kPixelAlignment - 1, &bytes)) {
    return nullptr;
  }
  void* block = std::calloc(bytes, 1);
  if (!block) return nullptr;
  platform::BitmapContext* context =
      platform::CreateBitmapContext(AlignedPixels(block), width, height, 8, rowBytes,
                                    GetDisplayColorSpace(), platform::kAlphaNoneSkipFirst);
  if (!context) {
    std::free(block);
    return nullptr;
  }
  DrawContext* ctx = AllocDrawContext();
  if (!ctx) {
    platform::ReleaseBitmapContext(context);
    std::free(block);
    return nullptr;
  }
  ctx->mContext = context;
  ctx->mPixelBlock = block;
  ctx->mTextColor = 0;
  ctx->mTextCGColor = CreateOpaqueColor(0);
  return ctx;
}

void* GetMemContextBits(DrawContext* ctx) {
  if (!IsLiveContext(ctx) || !ctx->mPixelBlock) return nullptr;
  return AlignedPixels(ctx->mPixelBlock);
}

void DeleteDrawContext(DrawContext* ctx) {
  if (!IsLiveContext(ctx)) return;
  if (ctx->mPixelBlock) {
    platform::ReleaseBitmapContext(ctx->mContext);
    std::free(ctx->mPixelBlock);
  }
  platform::ReleaseColor(ctx->mTextCGColor);
  std::memset(ctx, 0, sizeof(*ctx));
  ReleaseDrawContextRecord(ctx);
}

void SetDCTextColor(DrawContext* ctx, int color) {
  if (!IsLiveContext(ctx)) return;
  ctx->mTextColor = color;
  platform::ReleaseColor(ctx->mTextCGColor);
  ctx->mTextCGColor = CreateOpaqueColor(color);
}

void SetDCBkColor(DrawContext* ctx, int color) {
  if (IsLiveContext(ctx)) ctx->mBkColor = color;
}

void SetDCBkMode(DrawContext* ctx, int mode) {
  if (IsLiveContext(ctx)) ctx->mBkMode = mode;
}

DrawObject* SelectDrawObject(DrawContext* ctx, DrawObject* obj) {
  if (!IsLiveContext(ctx)) return nullptr;
  const intptr_t value = reinterpret_cast<intptr_t>(obj);
  if (value >= 1 && value <= 3) {
    DrawObject*& slot = ctx->mSelected[value - 1];
    DrawObject* previous = slot;
    slot = nullptr;
    return IsLiveObject(previous) && previous->mType == value ? previous : obj;
  }
  // Other small values are neither type numbers nor addresses of records.
  if (value > 0 && value < 4096) return nullptr;
  if (!IsLiveObject(obj)) return nullptr;
  DrawObject*& slot = ctx->mSelected[obj->mType - 1];
  DrawObject* previous = slot;
  slot = obj;
  return IsLiveObject(previous) && previous->mType == obj->mType ? previous
                                                                  : DrawObjectType(obj->mType);
}

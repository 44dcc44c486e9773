#include "lice/DrawPools.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "framework/containers/WDL_Mutex.h"

namespace {

struct Pools {
  WDL_Mutex mutex;
  DrawContext* contexts = nullptr;
  int contextCount = 0;
  DrawObject* objects = nullptr;
  int objectCount = 0;
};

// Frees the pooled records at exit, or when a plug-in bundle holding this
// code unloads: a static object's destructor is tied to the code it belongs
// to, where a handler given to std::atexit may be run after that code is
// gone.
struct PoolsFreer {
  ~PoolsFreer() { FreeDrawPools(); }
};

// Never destroyed: records may be released by other objects' destructors
// while the process exits. In static storage rather than on the heap, so
// nothing is left behind when a plug-in bundle holding this code unloads.
Pools& ThePools() {
  alignas(Pools) static unsigned char storage[sizeof(Pools)];
  static Pools* pools = new (storage) Pools;
  static const PoolsFreer freer;
  return *pools;
}

}  // namespace

DrawContext* AllocDrawContext() {
  Pools& p = ThePools();
  DrawContext* ctx = nullptr;
  {
    WDL_MutexLock lock(&p.mutex);
    if (p.contexts) {
      ctx = p.contexts;
      p.contexts = ctx->mNextFree;
      --p.contextCount;
    }
  }
  if (!ctx) return static_cast<DrawContext*>(std::calloc(1, sizeof(DrawContext)));
  std::memset(ctx, 0, sizeof(*ctx));
  return ctx;
}

void ReleaseDrawContextRecord(DrawContext* ctx) {
  if (!ctx) return;
  Pools& p = ThePools();
  {
    WDL_MutexLock lock(&p.mutex);
    if (p.contextCount < kMaxPooledContexts) {
      ctx->mPooled = true;
      ctx->mNextFree = p.contexts;
      p.contexts = ctx;
      ++p.contextCount;
      return;
    }
  }
  std::free(ctx);
}

DrawObject* AllocDrawObject() {
  Pools& p = ThePools();
  DrawObject* obj = nullptr;
  {
    WDL_MutexLock lock(&p.mutex);
    if (p.objects) {
      obj = p.objects;
      p.objects = obj->mNextFree;
      --p.objectCount;
    }
  }
  if (!obj) return static_cast<DrawObject*>(std::calloc(1, sizeof(DrawObject)));
  std::memset(obj, 0, sizeof(*obj));
  return obj;
}

void ReleaseDrawObjectRecord(DrawObject* obj) {
  if (!obj) return;
  Pools& p = ThePools();
  {
    WDL_MutexLock lock(&p.mutex);
    if (p.objectCount < kMaxPooledObjects) {
      obj->mPooled = true;
      obj->mNextFree = p.objects;
      p.objects = obj;
      ++p.objectCount;
      return;
    }
  }
  std::free(obj);
}

int PooledDrawContextCount() {
  Pools& p = ThePools();
  WDL_MutexLock lock(&p.mutex);
  return p.contextCount;
}

int PooledDrawObjectCount() {
  Pools& p = ThePools();
  WDL_MutexLock lock(&p.mutex);
  return p.objectCount;
}

void FreeDrawPools() {
  Pools& p = ThePools();
  WDL_MutexLock lock(&p.mutex);
  while (DrawContext* ctx = p.contexts) {
    p.contexts = ctx->mNextFree;
    std::free(ctx);
  }
  while (DrawObject* obj = p.objects) {
    p.objects = obj->mNextFree;
    std::free(obj);
  }
  p.contextCount = p.objectCount = 0;
}

#include "lice/FontNameCache.h"

#include <cstdlib>
#include <cstring>
#include <new>

FontNameCache::~FontNameCache() { Clear(); }

FontNameCache& FontNameCache::Shared() {
  // Never destroyed, and kept in static storage rather than on the heap: a
  // plug-in bundle that holds this code may be unloaded, and a heap block
  // would outlive the only pointer to it.
  // Its entries are freed at exit, or when that code unloads, by a static
  // object's destructor: a handler given to std::atexit may be run after the
  // code is gone.
  alignas(FontNameCache) static unsigned char storage[sizeof(FontNameCache)];
  static FontNameCache* cache = new (storage) FontNameCache;
  static const struct Clearer {
    ~Clearer() { Shared().Clear(); }
  } clearer;
  return *cache;
}

int FontNameCache::Find(const char* name, bool* found) const {
  const Entry* entries = mEntries.Get();
  int lo = 0, hi = mEntries.GetSize();
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    const int cmp = std::strcmp(name, entries[mid].name);
    if (cmp == 0) {
      *found = true;
      return mid;
    }
    if (cmp < 0) {
      hi = mid;
    } else {
      lo = mid + 1;
    }
  }
  *found = false;
  return lo;
}

bool FontNameCache::Lookup(const char* name, std::string* postScriptName) {
  if (!name) return false;
  WDL_MutexLock lock(&mMutex);
  bool found = false;
  const int i = Find(name, &found);
  if (!found) return false;
  const char* value = mEntries.Get()[i].postScriptName;
  if (postScriptName) *postScriptName = value ? value : "";
  return true;
}

void FontNameCache::Insert(const char* name, const char* postScriptName) {
  if (!name) return;
  char* value = postScriptName ? strdup(postScriptName) : nullptr;
  if (postScriptName && !value) return;
  WDL_MutexLock lock(&mMutex);
  bool found = false;
  const int i = Find(name, &found);
  if (found) {
    Entry& e = mEntries.Get()[i];
    std::free(e.postScriptName);
    e.postScriptName = value;
    return;
  }
  char* key = strdup(name);
  const int n = mEntries.GetSize();
  if (!key || (mEntries.Resize(n + 1, false), mEntries.GetSize() != n + 1)) {
    std::free(key);
    std::free(value);
    return;
  }
  Entry* entries = mEntries.Get();
  std::memmove(entries + i + 1, entries + i, sizeof(Entry) * static_cast<size_t>(n - i));
  entries[i] = Entry{key, value};
}

int FontNameCache::Count() {
  WDL_MutexLock lock(&mMutex);
  return mEntries.GetSize();
}

void FontNameCache::Clear() {
  WDL_MutexLock lock(&mMutex);
  Entry* entries = mEntries.Get();
  for (int i = 0; i < mEntries.GetSize(); ++i) {
    std::free(entries[i].name);
    std::free(entries[i].postScriptName);
  }
  mEntries.Resize(0, true);
}

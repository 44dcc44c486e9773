#pragma once

#include <string>

#include "framework/containers/WDL_Mutex.h"
#include "framework/containers/WDL_TypedBuf.h"

// Face names ("Verdana Bold Italic") with the PostScript names the font
// manager answered for them, kept sorted by strcmp and searched by
// bisection, so that each face and style is resolved once per process.
// It has its own lock: fonts are made from several threads.
class FontNameCache {
 public:
  FontNameCache() = default;
  ~FontNameCache();
  FontNameCache(const FontNameCache&) = delete;
  FontNameCache& operator=(const FontNameCache&) = delete;

  // The process-wide cache; it outlives every static object.
  static FontNameCache& Shared();

  // True when the name is cached; *postScriptName then holds its value,
  // empty when the entry has none (it was cached unresolved).
  bool Lookup(const char* name, std::string* postScriptName);
  // Adds the name, or replaces its value; a null value caches no name.
  void Insert(const char* name, const char* postScriptName);
  int Count();
  void Clear();

 private:
  struct Entry {
    char* name;            // strdup'd
    char* postScriptName;  // strdup'd, or null
  };
  // The index of the name, or of where it would go, and whether it is there.
  int Find(const char* name, bool* found) const;

  WDL_Mutex mMutex;
  WDL_TypedBuf<Entry> mEntries{4096};
};

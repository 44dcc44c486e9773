#pragma once

#include <cstring>

#include "framework/containers/WDL_HeapBuf.h"

// An ordered list of pointers in pointer-sized slots. The list owns its
// elements only when told so at emptying time.
template <class T>
class WDL_PtrList {
 public:
  explicit WDL_PtrList(int granularity = 4096) : mHeap(granularity) {}

  int GetSize() const { return mHeap.GetSize() / static_cast<int>(sizeof(T*)); }

  T* Get(int index) const {
    T** list = Slots();
    if (!list || index < 0 || index >= GetSize()) return nullptr;
    return list[index];
  }

  // Returns the item, or null when the list could not grow (nothing stored).
  T* Add(T* item) { return Insert(item, -1); }

  // pos -1 appends; any other pos is clamped into [0, count].
  T* Insert(T* item, int pos) {
    const int count = GetSize();
    mHeap.Resize((count + 1) * static_cast<int>(sizeof(T*)), false);
    if (GetSize() != count + 1) return nullptr;
    T** list = Slots();
    if (pos < 0 || pos > count) pos = count;
    std::memmove(list + pos + 1, list + pos, static_cast<size_t>(count - pos) * sizeof(T*));
    list[pos] = item;
    return item;
  }

  void Delete(int index) {
    const int count = GetSize();
    T** list = Slots();
    if (!list || index < 0 || index >= count) return;
    std::memmove(list + index, list + index + 1, static_cast<size_t>(count - index - 1) * sizeof(T*));
    mHeap.Resize((count - 1) * static_cast<int>(sizeof(T*)), false);
  }

  // Visits the elements last to first when deleting, so an element's
  // destructor may still look at the ones before it.
  void Empty(bool deleteElements = false, void (*deleter)(void*) = nullptr) {
    if (deleteElements) {
      for (int i = GetSize() - 1; i >= 0; --i) {
        T* item = Slots()[i];
        if (item) {
          if (deleter) {
            deleter(item);
          } else {
            delete item;
          }
        }
        mHeap.Resize(i * static_cast<int>(sizeof(T*)), false);
      }
    }
    mHeap.Resize(0, false);
  }

  int Find(const T* item) const {
    for (int i = 0; i < GetSize(); ++i) {
      if (Slots()[i] == item) return i;
    }
    return -1;
  }

 private:
  T** Slots() const { return static_cast<T**>(mHeap.Get()); }

  WDL_HeapBuf mHeap;
};

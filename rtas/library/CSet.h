#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <new>

#include "rtas/library/ErrorThrowers.h"
#include "rtas/library/CSetStatistics.h"

// A set of object pointers that remembers insertion order (a doubly linked
// chain) and finds members quickly (an index by address). The port model
// keeps every one of its collections in one.
template <class T>
class CSet {
 public:
  CSet() {
    try {
      mIndex = std::make_unique<Index>();
    } catch (const std::bad_alloc&) {
      ThrowPlainCode(-1);
    }
    CSetStatistics::NoteSetMade();
  }
  ~CSet() {
    RemoveAll();
    CSetStatistics::NoteSetDestroyed();
  }
  CSet(const CSet&) = delete;
  CSet& operator=(const CSet&) = delete;

  // A member already present stays where it is. Lack of memory throws the
  // plain code -1, as the port model expects of its sets.
  void Add(T* element) {
    const uintptr_t key = reinterpret_cast<uintptr_t>(element);
    if (mIndex->count(key)) return;
    Node* node = nullptr;
    try {
      auto owned = std::make_unique<Node>(Node{element, nullptr, mLast});
      mIndex->emplace(key, owned.get());
      node = owned.release();
    } catch (const std::bad_alloc&) {
      ThrowPlainCode(-1);
    }
    if (mLast) {
      mLast->mNext = node;
    } else {
      mFirst = node;
    }
    mLast = node;
    ++mCount;
  }

  void Remove(T* element) {
    const auto found = mIndex->find(reinterpret_cast<uintptr_t>(element));
    if (found == mIndex->end()) return;
    Node* node = found->second;
    (node->mPrevious ? node->mPrevious->mNext : mFirst) = node->mNext;
    (node->mNext ? node->mNext->mPrevious : mLast) = node->mPrevious;
    --mCount;
    mIndex->erase(found);
    delete node;
  }

  void RemoveAll() {
    while (mFirst) {
      Node* next = mFirst->mNext;
      mIndex->erase(reinterpret_cast<uintptr_t>(mFirst->mElement));
      delete mFirst;
      mFirst = next;
    }
    mLast = nullptr;
    mCount = 0;
  }

  void AddAll(const CSet& other) {
    for (Node* node = other.mFirst; node; node = node->mNext) Add(node->mElement);
  }

  // The n-th member in insertion order, from 1; null past the end or for
  // n below 1.
  T* GetAt(int32_t n) const {
    if (n < 1) return nullptr;
    Node* node = mFirst;
    while (node && --n > 0) node = node->mNext;
    return node ? node->mElement : nullptr;
  }

  bool Contains(T* element) const { return mIndex->count(reinterpret_cast<uintptr_t>(element)) != 0; }
  int32_t GetCount() const { return mCount; }

 private:
  struct Node {
    T* mElement;
    Node* mNext;
    Node* mPrevious;
  };
  using Index = std::map<uintptr_t, Node*>;

  Node* mFirst = nullptr;
  Node* mLast = nullptr;
  int32_t mCount = 0;
  std::unique_ptr<Index> mIndex;
};

#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/protools/HostWords.h"

// The words that describe an object to the host's structure registry.
// Words may carry pointers, so each is a pointer-sized host word.
class CWordList {
 public:
  CWordList() = default;
  CWordList(const CWordList&) = delete;
  CWordList& operator=(const CWordList&) = delete;

  void AddWord(uint32_t word) { mWords.push_back(word); }
  void AddPointer(const void* pointer) { mWords.push_back(reinterpret_cast<HostWord>(pointer)); }
  size_t GetCount() const { return mWords.size(); }

  // A fresh snapshot of the words so far, owned by the list; it replaces,
  // and frees, the one made before.
  const SWordArraySnapshot* MakeArray();

 private:
  std::vector<HostWord> mWords;
  std::unique_ptr<HostWord[]> mCopy;
  std::unique_ptr<SWordArraySnapshot> mSnapshot;
};

#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// A snapshot of a word list as the host's structure registry reads it:
// the words, their copy (owned) and the copy's size in bytes.
struct SWordArray {
  const uintptr_t* mWords = nullptr;
  std::vector<uintptr_t> mCopy;
  int32_t mByteSize = 0;
};

// The words that describe an object to the host. Words may carry
// pointers, so each is pointer-sized.
class CWordList {
 public:
  void AddWord(uint32_t word) { mWords.push_back(word); }
  void AddPointer(const void* pointer) { mWords.push_back(reinterpret_cast<uintptr_t>(pointer)); }
  size_t GetCount() const { return mWords.size(); }

  // A fresh snapshot of the words so far; it replaces, and frees, the one
  // made before.
  const SWordArray* MakeArray();

 private:
  std::vector<uintptr_t> mWords;
  std::unique_ptr<SWordArray> mSnapshot;
};

#include "rtas/library/CWordList.h"

const SWordArray* CWordList::MakeArray() {
  mSnapshot.reset();
  auto snapshot = std::make_unique<SWordArray>();
  snapshot->mCopy = mWords;
  snapshot->mWords = snapshot->mCopy.data();
  snapshot->mByteSize = static_cast<int32_t>(mWords.size() * sizeof(uintptr_t));
  mSnapshot = std::move(snapshot);
  return mSnapshot.get();
}

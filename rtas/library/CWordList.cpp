#include "rtas/library/CWordList.h"

#include <algorithm>

const SWordArraySnapshot* CWordList::MakeArray() {
  mSnapshot.reset();
  mCopy.reset();
  mCopy = std::make_unique<HostWord[]>(mWords.size());
  std::copy(mWords.begin(), mWords.end(), mCopy.get());
  mSnapshot = std::make_unique<SWordArraySnapshot>();
  mSnapshot->mWords = mCopy.get();
  mSnapshot->mCopy = mCopy.get();
  mSnapshot->mSizeBytes = mWords.size() * sizeof(HostWord);
  return mSnapshot.get();
}

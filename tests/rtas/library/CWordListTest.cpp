#include "rtas/library/CWordList.h"

#include <gtest/gtest.h>

TEST(CWordList, SnapshotCopiesTheWordsAndReplacesTheLastOne) {
  CWordList list;
  int object = 0;
  list.AddWord(1);
  list.AddWord(0xFFFFFFFFu);
  list.AddPointer(&object);
  const SWordArraySnapshot* first = list.MakeArray();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->mSizeBytes, 3 * sizeof(HostWord));
  EXPECT_EQ(first->mWords, first->mCopy);
  EXPECT_EQ(first->mWords[0], 1u);
  EXPECT_EQ(first->mWords[1], 0xFFFFFFFFu);
  EXPECT_EQ(first->mWords[2], reinterpret_cast<uintptr_t>(&object));

  list.AddWord(4);
  const SWordArraySnapshot* second = list.MakeArray();
  EXPECT_EQ(second->mSizeBytes, 4 * sizeof(HostWord));
  EXPECT_EQ(second->mWords[3], 4u);
}

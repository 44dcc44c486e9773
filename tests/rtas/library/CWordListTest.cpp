#include "rtas/library/CWordList.h"

#include <gtest/gtest.h>

TEST(CWordList, SnapshotCopiesTheWordsAndReplacesTheLastOne) {
  CWordList list;
  int object = 0;
  list.AddWord(1);
  list.AddWord(0xFFFFFFFFu);
  list.AddPointer(&object);
  const SWordArray* first = list.MakeArray();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->mByteSize, static_cast<int32_t>(3 * sizeof(uintptr_t)));
  ASSERT_EQ(first->mCopy.size(), 3u);
  EXPECT_EQ(first->mWords, first->mCopy.data());
  EXPECT_EQ(first->mWords[0], 1u);
  EXPECT_EQ(first->mWords[1], 0xFFFFFFFFu);
  EXPECT_EQ(first->mWords[2], reinterpret_cast<uintptr_t>(&object));

  list.AddWord(4);
  const SWordArray* second = list.MakeArray();
  EXPECT_EQ(second->mCopy.size(), 4u);
  EXPECT_EQ(second->mWords[3], 4u);
}

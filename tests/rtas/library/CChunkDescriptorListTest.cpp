#include "rtas/library/CChunkDescriptorList.h"

#include <gtest/gtest.h>

#include <cstring>

#include "rtas/library/PString.h"

TEST(CChunkDescriptorList, EntriesCopyTheirRecordOnlyWhenPresent) {
  CChunkDescriptorList list;
  list.InitChunkList();
  list.AddChunkDescriptor(std::make_unique<CChunkDescriptor>(true, 11, 22, "Complete Controls State"));
  list.AddChunkDescriptor(std::make_unique<CChunkDescriptor>(false, 33, 44, "absent"));
  list.AddChunkDescriptor(std::make_unique<CChunkDescriptor>(true, 1, 2, std::string(300, 'n')));
  EXPECT_EQ(list.GetChunkListCount(), 3);

  SFicPlugInStemInfo record;
  ASSERT_TRUE(list.GetChunkListEntry(0, &record));
  EXPECT_EQ(record.mPresent, 1);
  EXPECT_EQ(record.mWord1, 11);
  EXPECT_EQ(record.mWord2, 22);
  EXPECT_EQ(PStringToString(record.mName), "Complete Controls State");

  std::memset(&record, 0x55, sizeof(record));
  ASSERT_TRUE(list.GetChunkListEntry(1, &record));
  EXPECT_EQ(record.mPresent, 0);
  EXPECT_EQ(record.mWord1, 0x55555555);

  ASSERT_TRUE(list.GetChunkListEntry(2, &record));
  EXPECT_EQ(PStringToString(record.mName), std::string(255, 'n'));

  EXPECT_FALSE(list.GetChunkListEntry(3, &record));
  EXPECT_FALSE(list.GetChunkListEntry(-1, &record));
  list.FreeChunkList();
  EXPECT_EQ(list.GetChunkListCount(), 0);
}

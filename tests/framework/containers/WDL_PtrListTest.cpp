#include "framework/containers/WDL_PtrList.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Tracked {
  explicit Tracked(std::vector<int>* log, int id) : log(log), id(id) {}
  ~Tracked() { log->push_back(id); }
  std::vector<int>* log;
  int id;
};

}  // namespace

TEST(WDL_PtrList, InsertClampsAndGetRejectsBadIndices) {
  int a = 1, b = 2, c = 3, d = 4;
  WDL_PtrList<int> list;
  EXPECT_EQ(list.Get(0), nullptr);
  list.Add(&a);
  list.Add(&b);
  list.Insert(&c, 0);
  list.Insert(&d, 99);  // clamped: appended
  ASSERT_EQ(list.GetSize(), 4);
  EXPECT_EQ(list.Get(0), &c);
  EXPECT_EQ(list.Get(1), &a);
  EXPECT_EQ(list.Get(3), &d);
  EXPECT_EQ(list.Get(-1), nullptr);
  EXPECT_EQ(list.Get(4), nullptr);

  list.Delete(1);
  EXPECT_EQ(list.GetSize(), 3);
  EXPECT_EQ(list.Get(1), &b);
  list.Delete(7);  // out of range: nothing
  EXPECT_EQ(list.GetSize(), 3);
}

TEST(WDL_PtrList, HoldsPointerSizedSlots) {
  WDL_PtrList<int> list;
  std::vector<int> values(1000);
  for (int& v : values) list.Add(&v);
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(list.Get(i), &values[i]);
}

TEST(WDL_PtrList, EmptyDeletesLastToFirst) {
  std::vector<int> log;
  WDL_PtrList<Tracked> list;
  for (int i = 0; i < 3; ++i) list.Add(new Tracked(&log, i));
  list.Add(nullptr);
  list.Empty(true);
  EXPECT_EQ(log, (std::vector<int>{2, 1, 0}));
  EXPECT_EQ(list.GetSize(), 0);
}

TEST(WDL_PtrList, EmptyWithDeleter) {
  static int deleted = 0;
  deleted = 0;
  WDL_PtrList<int> list;
  int a = 0, b = 0;
  list.Add(&a);
  list.Add(&b);
  list.Empty(true, [](void*) { ++deleted; });
  EXPECT_EQ(deleted, 2);
}

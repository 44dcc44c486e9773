#include "rtas/library/CPageTableReader.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Table = std::vector<uint8_t>;

// A record as the resource holds it: big-endian kind, groups, entry
// count, entries.
void Record(Table& table, int kind, int groups, const std::vector<int>& entries) {
  const auto put = [&](int v) {
    table.push_back(static_cast<uint8_t>(v >> 8));
    table.push_back(static_cast<uint8_t>(v));
  };
  put(kind);
  put(groups);
  put(static_cast<int>(entries.size()));
  for (int e : entries) put(e);
}

void End(Table& table) { table.insert(table.end(), {0, 0}); }

CPageTableReader Reader(const Table& table) { return CPageTableReader(table.data(), table.size()); }

// Kind 2 with 5 groups (controls 101 to 110), kind 1 with 3 groups (201
// to 203), kind 4 with 1 group (301 to 304).
Table Sample() {
  Table table;
  Record(table, 2, 5, {101, 102, 103, 104, 105, 106, 107, 108, 109, 110});
  Record(table, 1, 3, {201, 202, 203});
  Record(table, 4, 1, {301, 302, 303, 304});
  End(table);
  return table;
}

}  // namespace

TEST(PageTableReader, PagesHoldWholeGroupsOfTheSurfacesRecord) {
  const Table table = Sample();
  const CPageTableReader reader = Reader(table);
  EXPECT_EQ(reader.CountPages(2), 5);  // one group of two a page
  EXPECT_EQ(reader.CountPages(4), 1);
  EXPECT_EQ(reader.CountPages(3), 1);  // kind 1's three groups of one
  EXPECT_EQ(reader.CountPages(1), 3);
  struct Row {
    uint16_t kind;
    int32_t page, position, expected;
  };
  const Row rows[] = {
      {2, 0, 0, 101}, {2, 0, 1, 102}, {2, 0, 2, 0},  {2, 4, 1, 110}, {2, 5, 0, 0},  {4, 0, 3, 304},
      {4, 0, 4, 0},   {4, 1, 0, 0},   {3, 0, 2, 203}, {3, 0, 3, 0},   {1, 2, 0, 203}, {2, -1, 0, 0},
      {2, 0, -1, 0},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(reader.GetEntry(row.kind, row.page, row.position), row.expected)
        << row.kind << " " << row.page << " " << row.position;
  }
}

TEST(PageTableReader, ATableOfOneRecordServesEverySurface) {
  // Kind 2 with 5 groups on a surface of kind 8: 4 groups a page, 2 pages;
  // page 1 holds one group, the record's places 8 and 9.
  Table table;
  Record(table, 2, 5, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
  End(table);
  const CPageTableReader reader = Reader(table);
  EXPECT_EQ(reader.CountPages(8), 2);
  EXPECT_EQ(reader.GetEntry(8, 0, 7), 8);
  EXPECT_EQ(reader.GetEntry(8, 1, 0), 9);
  EXPECT_EQ(reader.GetEntry(8, 1, 1), 10);
  EXPECT_EQ(reader.GetEntry(8, 1, 2), 0);
  // Whether the table was made for a surface asks for its own record.
  EXPECT_FALSE(reader.HasLayoutFor(8));
  EXPECT_TRUE(reader.HasLayoutFor(2));
  EXPECT_TRUE(reader.HasLayoutFor(CPageTableReader::kFirstRecord));
}

TEST(PageTableReader, The65535SurfaceReadsTheFirstRecordAsAGrid) {
  const Table table = Sample();
  const CPageTableReader reader = Reader(table);
  EXPECT_EQ(reader.CountPages(0xFFFF), 5);
  EXPECT_EQ(reader.GetEntry(0xFFFF, 4, 1), 110);
  EXPECT_EQ(reader.GetEntry(0xFFFF, 5, 0), 0);
  EXPECT_EQ(reader.GetEntry(0xFFFF, 0, 2), 0);
}

TEST(PageTableReader, AMissingOrMalformedTableAnswersMinusOne) {
  const CPageTableReader none(nullptr, 0);
  EXPECT_FALSE(none.HasLayoutFor(0xFFFF));
  EXPECT_EQ(none.CountPages(2), -1);
  EXPECT_EQ(none.GetEntry(2, 0, 0), -1);

  // A record claiming more groups than it has entries.
  Table short_;
  Record(short_, 2, 5, {1, 2, 3});
  End(short_);
  EXPECT_EQ(Reader(short_).GetEntry(2, 1, 0), 3);
  EXPECT_EQ(Reader(short_).GetEntry(2, 2, 0), -1);
  EXPECT_EQ(Reader(short_).GetEntry(0xFFFF, 4, 1), -1);

  // Entries that run past the buffer, and a header cut short.
  Table cut;
  Record(cut, 1, 2, {1, 2});
  cut.resize(cut.size() - 1);
  EXPECT_EQ(Reader(cut).CountPages(1), -1);
  EXPECT_EQ(Reader(cut).GetEntry(1, 0, 0), -1);
  EXPECT_FALSE(Reader(cut).HasLayoutFor(1));
  const Table header = {0, 1, 0};
  EXPECT_EQ(Reader(header).CountPages(1), -1);
  // A malformed record after the one asked for is never reached, but a
  // surface that must look past it finds the table malformed.
  Table tail;
  Record(tail, 2, 1, {7, 8});
  tail.insert(tail.end(), {0, 4, 0, 9});
  EXPECT_EQ(Reader(tail).GetEntry(2, 0, 1), 8);
  EXPECT_EQ(Reader(tail).CountPages(4), -1);

  // A record wider than the surface gives it no whole group.
  Table wide;
  Record(wide, 4, 2, {1, 2, 3, 4, 5, 6, 7, 8});
  End(wide);
  EXPECT_EQ(Reader(wide).CountPages(4), 2);
  EXPECT_EQ(Reader(wide).CountPages(2), -1);
  EXPECT_EQ(Reader(wide).GetEntry(2, 0, 0), -1);
}

#include "rtas/binding/ChunkDataParser.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// One record as the format lays it out, built byte by byte.
void AppendRecord(std::vector<uint8_t>& data, char letter, const std::string& name,
                  const std::vector<uint8_t>& value) {
  data.push_back(static_cast<uint8_t>(letter));
  data.push_back('_');
  data.insert(data.end(), name.begin(), name.end());
  data.push_back(0);
  while (data.size() % 4) data.push_back(0);
  data.insert(data.end(), value.begin(), value.end());
}

std::vector<uint8_t> Marker() { return {1, 1, 1, 1}; }

}  // namespace

TEST(ChunkDataParser, WritesRecordsAlignedWithBigEndianValues) {
  ChunkDataParser parser;
  parser.AddDoubleRecord("abcd", 0.5);
  parser.AddLongRecord("wxyz", 3);
  parser.AddLongRecord("neg", -2);
  parser.AddDoubleRecord("longer", -1.25);

  std::vector<uint8_t> expected = Marker();
  AppendRecord(expected, 'd', "abcd", {0x3f, 0xe0, 0, 0, 0, 0, 0, 0});
  AppendRecord(expected, 'l', "wxyz", {0, 0, 0, 3});
  AppendRecord(expected, 'l', "neg", {0xff, 0xff, 0xff, 0xfe});
  AppendRecord(expected, 'd', "longer", {0xbf, 0xf4, 0, 0, 0, 0, 0, 0});
  ASSERT_EQ(parser.GetDataSize(), static_cast<int32_t>(expected.size()));
  EXPECT_EQ(parser.GetDataSize(), 4 + 16 + 12 + 12 + 20);

  std::vector<uint8_t> written(expected.size(), 0xee);
  parser.Write(written.data());
  EXPECT_EQ(written, expected);

  ChunkDataParser reader;
  reader.Parse(written.data(), static_cast<int32_t>(written.size()));
  ASSERT_EQ(reader.GetRecordCount(), 4);
  EXPECT_EQ(reader.GetName(0), "abcd");
  EXPECT_EQ(reader.GetKind(0), ChunkDataParser::kDouble);
  EXPECT_EQ(reader.GetDouble(0), 0.5);
  EXPECT_EQ(reader.GetKind(2), ChunkDataParser::kLong);
  EXPECT_EQ(reader.GetLong(2), -2);
  EXPECT_EQ(reader.GetName(3), "longer");
  EXPECT_EQ(reader.GetDouble(3), -1.25);
}

TEST(ChunkDataParser, ReadsTheNarrowKinds) {
  std::vector<uint8_t> data = Marker();
  AppendRecord(data, 'f', "ffff", {0x40, 0x49, 0x0f, 0xdb});
  AppendRecord(data, 's', "ssss", {0xff, 0xfd, 0, 0});
  ChunkDataParser parser;
  parser.Parse(data.data(), static_cast<int32_t>(data.size()));
  ASSERT_EQ(parser.GetRecordCount(), 2);
  EXPECT_EQ(parser.GetKind(0), ChunkDataParser::kFloat);
  EXPECT_EQ(static_cast<uint32_t>(parser.GetLong(0)), 0x40490fdbu);
  EXPECT_EQ(parser.GetKind(1), ChunkDataParser::kShort);
  EXPECT_EQ(parser.GetLong(1), -3);
}

TEST(ChunkDataParser, StopsAtTheDataEndAndAtAnUnknownLetter) {
  std::vector<uint8_t> good = Marker();
  AppendRecord(good, 'l', "aaaa", {0, 0, 0, 1});
  struct Case {
    const char* what;
    std::vector<uint8_t> data;
    int32_t records;
  };
  std::vector<Case> cases;
  cases.push_back({"too short", {1, 1, 1, 1}, 0});
  cases.push_back({"wrong marker", {1, 1, 1, 2, 'l', '_', 'a', 0, 0, 0, 0, 1}, 0});
  {
    auto data = good;
    AppendRecord(data, 'd', "bbbb", {1, 2, 3, 4, 5, 6, 7, 8});
    data.resize(data.size() - 1);  // the double's last byte is missing
    cases.push_back({"truncated value", data, 1});
  }
  {
    auto data = good;
    AppendRecord(data, 'q', "cccc", {0, 0, 0, 9});
    AppendRecord(data, 'l', "dddd", {0, 0, 0, 2});
    cases.push_back({"unknown letter", data, 1});
  }
  {
    auto data = good;
    data.insert(data.end(), {'l', '_', 'e', 'e', 'e'});  // text without terminator
    cases.push_back({"unterminated text", data, 1});
  }
  for (const auto& c : cases) {
    ChunkDataParser parser;
    parser.AddLongRecord("old", 1);
    parser.Parse(c.data.data(), static_cast<int32_t>(c.data.size()));
    EXPECT_EQ(parser.GetRecordCount(), c.records) << c.what;
  }
}

TEST(ChunkDataParser, FindsRecordsCyclicallyFromTheLastHit) {
  ChunkDataParser parser;
  for (const char* name : {"a", "b", "a", "c"}) parser.AddLongRecord(name, 0);
  EXPECT_EQ(parser.FindRecord("a"), 0);
  EXPECT_EQ(parser.FindRecord("a"), 2);
  EXPECT_EQ(parser.FindRecord("b"), 1);  // wraps past the end
  EXPECT_EQ(parser.FindRecord("c"), 3);
  EXPECT_EQ(parser.FindRecord("a"), 0);  // restarts after the last record
  EXPECT_EQ(parser.FindRecord("ab"), -1);
  EXPECT_EQ(parser.FindRecord(""), -1);
}

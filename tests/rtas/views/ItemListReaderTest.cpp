#include "rtas/views/ItemListReader.h"

#include <gtest/gtest.h>

#include "ItemListBytes.h"
#include "rtas/library/CDAEError.h"

TEST(ItemListReader, ReadsEachItemsRectangleTypeAndData) {
  const std::vector<uint8_t> bytes = ItemListBytes()
                                         .Item(10, 20, 30, 40, 8, "odd")
                                         .Item(-5, 0, 300, 1000, 0x88, "even")
                                         .Item(1, 2, 3, 4, 64, ItemListBytes::Word(-2))
                                         .Bytes();
  const std::vector<ViewItem> items = ReadItemList(bytes.data(), bytes.size());
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].bounds, (Rect{10, 20, 30, 40}));
  EXPECT_EQ(items[0].type, 8);
  EXPECT_EQ(items[0].text, "odd");
  EXPECT_EQ(items[1].bounds, (Rect{-5, 0, 300, 1000}));
  EXPECT_EQ(items[1].type, 0x88);
  EXPECT_EQ(items[1].text, "even");
  EXPECT_EQ(ItemDataWord(items[2]), -2);
  // The last item's pad byte may be missing.
  const std::vector<uint8_t> unpadded = ItemListBytes().Item(0, 0, 1, 1, 8, "x").Bytes(false);
  EXPECT_EQ(ReadItemList(unpadded.data(), unpadded.size()).size(), 1u);
}

TEST(ItemListReader, ACountOfMinusOneHoldsNoItems) {
  const uint8_t none[] = {0xFF, 0xFF};
  EXPECT_TRUE(ReadItemList(none, sizeof none).empty());
}

TEST(ItemListReader, ResourcesThatEndEarlyOrCountBelowNothingAreRefused) {
  const std::vector<uint8_t> whole = ItemListBytes().Item(0, 0, 10, 10, 8, "hello").Item(0, 0, 5, 5, 0, "").Bytes();
  // Every cut inside the items fails; none reads past the end.
  for (size_t size = 0; size + 1 < whole.size(); ++size) {
    std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<long>(size));
    EXPECT_THROW(ReadItemList(cut.data(), cut.size()), CDAEError) << size;
  }
  const uint8_t negative[] = {0xFF, 0xFE};
  try {
    ReadItemList(negative, sizeof negative);
    FAIL();
  } catch (const CDAEError& e) {
    EXPECT_EQ(e.Code(), -7400);
  }
  // A huge count with one item stops at the end of the data.
  std::vector<uint8_t> claims = ItemListBytes().Item(0, 0, 1, 1, 0, "").Bytes();
  claims[0] = 0x7F;
  EXPECT_THROW(ReadItemList(claims.data(), claims.size()), CDAEError);
  ViewItem short1;
  short1.text = "x";
  EXPECT_THROW(ItemDataWord(short1), CDAEError);
}

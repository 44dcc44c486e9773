#include "rtas/library/ControlToken.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Of(const CControlToken& token) { return Bytes(token.Bytes(), token.Bytes() + token.Length()); }

}  // namespace

// The layouts written out byte by byte: little-endian words, the codes as
// numbers ('SETV' is 0x53455456), zeros from 24 to 35, the length at 36.
TEST(ControlToken, ValueTouchAndGestureTokensHaveTheEnginesLayout) {
  const Bytes header = {0x34, 0x12, 0, 0, 0x56, 0x54, 0x45, 0x53, 0x4C, 0x56, 0x41, 0x43, 0x4E, 0x44, 0x47,
                        0x44, 0x6C, 0x72, 0x74, 0x43, 0x34, 0x12, 0, 0,    0,    0,    0,    0,    0,    0,
                        0,    0,    0,    0,    0,    0};
  Bytes value = header;
  value.insert(value.end(), {42, 0, 0x04, 0x03, 0x02, 0x81});
  EXPECT_EQ(Of(CControlToken::Value(0x1234, FourCC("SETV"), static_cast<int32_t>(0x81020304))), value);

  Bytes current = value;
  current[4] = 0x56;  // 'CURV'
  current[5] = 0x52;
  current[6] = 0x55;
  current[7] = 0x43;
  EXPECT_EQ(Of(CControlToken::Value(0x1234, FourCC("CURV"), static_cast<int32_t>(0x81020304))), current);

  Bytes touch = header;
  touch[8] = 0x48;  // 'CTCH'
  touch[9] = 0x43;
  touch[10] = 0x54;
  touch[11] = 0x43;
  touch.insert(touch.end(), {44, 0, 1, 0, 1, 0, 0, 0});
  EXPECT_EQ(Of(CControlToken::Touch(0x1234, 1)), touch);
  touch[38] = 0;
  EXPECT_EQ(Of(CControlToken::Touch(0x1234, 0)), touch);

  Bytes gesture = header;
  gesture[8] = 0x43;  // 'GIAC'
  gesture[9] = 0x41;
  gesture[10] = 0x49;
  gesture[11] = 0x47;
  gesture.insert(gesture.end(), {38, 0});
  EXPECT_EQ(Of(CControlToken::GestureBoundary(0x1234)), gesture);
}

TEST(ControlToken, FieldsPastATokensOwnLengthReadZero) {
  const CControlToken token = CControlToken::Value(7, FourCC("GETV"), -2);
  EXPECT_EQ(TokenWord(token.Bytes(), 4), FourCC("GETV"));
  EXPECT_EQ(static_cast<int32_t>(TokenWord(token.Bytes(), 38)), -2);
  EXPECT_EQ(TokenShort(token.Bytes(), 40), -1);  // the value's upper half
  EXPECT_EQ(TokenWord(token.Bytes(), 40), 0u);
  EXPECT_EQ(TokenShort(token.Bytes(), 42), 0);
  const CControlToken bare = CControlToken::GestureBoundary(7);
  EXPECT_EQ(TokenShort(bare.Bytes(), 38), 0);
  EXPECT_EQ(TokenLength(bare.Bytes()), 38);
}

#include "rtas/binding/StateChunk.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "framework/containers/ChunkBuffer.h"
#include "tests/rtas/binding/RtasTestPlug.h"

namespace {

constexpr uint8_t kHostByte = 0xA5;

// A chunk buffer as a host gives it: filled with its own pattern.
std::vector<uint8_t> HostBuffer(size_t bytes) { return std::vector<uint8_t>(bytes, kHostByte); }

std::vector<uint8_t> SavedChunk(RtasTestPlug& plug) {
  ChunkBuffer state;
  EXPECT_TRUE(statechunk::Serialize(plug, &state));
  std::vector<uint8_t> chunk = HostBuffer(static_cast<size_t>(state.Size()) + statechunk::kHeaderBytes);
  statechunk::Write(state, chunk.data());
  return chunk;
}

std::vector<double> Values(const RtasTestPlug& plug) {
  return {plug.GetParam(0)->Value(), plug.GetParam(1)->Value(), plug.GetParam(2)->Value()};
}

}  // namespace

TEST(StateChunk, WriteFillsTheSizeAndTheStateOnly) {
  RtasTestPlug plug;
  plug.GetParam(0)->Set(5.5);
  const std::vector<uint8_t> chunk = SavedChunk(plug);
  // The default state is one little-endian double per parameter.
  ASSERT_EQ(chunk.size(), 56u + 3 * 8);
  EXPECT_EQ(statechunk::ReadWord(chunk.data(), 0), chunk.size());
  for (int offset = 4; offset < 56; ++offset) EXPECT_EQ(chunk[offset], kHostByte) << offset;
  double first = 0.0;
  std::memcpy(&first, &chunk[56], sizeof(first));
  EXPECT_EQ(first, 5.5);
}

TEST(StateChunk, RestoreReadsWithinTheStatedLength) {
  RtasTestPlug source;
  source.GetParam(0)->Set(-12.0);
  source.GetParam(1)->Set(2);
  source.GetParam(2)->Set(9);
  const std::vector<uint8_t> saved = SavedChunk(source);

  RtasTestPlug target;
  bool accepted = false;
  ASSERT_EQ(statechunk::Restore(target, saved.data(), &accepted), 0);
  EXPECT_TRUE(accepted);
  EXPECT_EQ(Values(target), Values(source));

  // The whole state is in the buffer, but the size word says it ends one
  // double early: the reader must not read past it.
  std::vector<uint8_t> shortened = saved;
  statechunk::WriteWord(shortened.data(), 0, 56 + 2 * 8);
  RtasTestPlug fresh;
  ASSERT_EQ(statechunk::Restore(fresh, shortened.data(), &accepted), 0);
  EXPECT_FALSE(accepted);
  // The third value lies past the stated end and is never taken.
  EXPECT_EQ(fresh.GetParam(2)->Value(), 4.0);
}

TEST(StateChunk, ASizeBelowTheHeaderIsRefusedAndChangesNothing) {
  RtasTestPlug plug;
  const std::vector<double> before = Values(plug);
  for (uint32_t total : {0u, 55u, 0x80000000u, 0xFFFFFFFFu}) {
    std::vector<uint8_t> chunk = HostBuffer(64);
    statechunk::WriteWord(chunk.data(), 0, total);
    bool accepted = true;
    EXPECT_EQ(statechunk::Restore(plug, chunk.data(), &accepted), statechunk::kChunkRefused) << total;
    EXPECT_FALSE(accepted);
    uint8_t equal = 7;
    EXPECT_EQ(statechunk::Compare(plug, chunk.data(), &equal), 0);
    EXPECT_EQ(equal, 0) << total;
  }
  EXPECT_EQ(Values(plug), before);
  EXPECT_EQ(statechunk::StateLength(HostBuffer(56).data()), -1);
}

TEST(StateChunk, CompareTellsTheSameStateFromAnother) {
  RtasTestPlug plug;
  plug.GetParam(0)->Set(3.0);
  const std::vector<uint8_t> saved = SavedChunk(plug);
  uint8_t equal = 0;
  statechunk::Compare(plug, saved.data(), &equal);
  EXPECT_EQ(equal, 1);

  plug.GetParam(0)->Set(3.5);
  statechunk::Compare(plug, saved.data(), &equal);
  EXPECT_EQ(equal, 0);

  // Fewer bytes than the parameters' doubles are compared as they are,
  // never read past.
  plug.GetParam(0)->Set(3.0);
  std::vector<uint8_t> shortened(saved.begin(), saved.begin() + 56 + 8);
  statechunk::WriteWord(shortened.data(), 0, static_cast<uint32_t>(shortened.size()));
  statechunk::Compare(plug, shortened.data(), &equal);
  EXPECT_EQ(equal, 0);
}

#include "rtas/binding/CEffectProcessRTAS.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "rtas/library/CPlugIn.h"
#include "rtas/library/DAEFunctions.h"
#include "tests/rtas/binding/EffectGroupFixture.h"

namespace {

constexpr uint32_t kMono = FourCC("EFN1");
constexpr uint32_t kStereo = FourCC("EFN2");

class EffectProcessRTASTest : public EffectGroupFixture {
 protected:
  TestEffectProcess& Make(uint32_t type) {
    int32_t instance = 0;
    EXPECT_EQ(group->NewInstance(type, &instance), 0);
    return Instance(type, instance);
  }
};

// The host's records of one block, for a process of `inputs` entries
// (side-chain included) and `outputs` entries.
struct Block {
  Block(CEffectProcessRTAS& process, int32_t inputs, int32_t outputs, int32_t frames, bool sideChain)
      : buffers(static_cast<size_t>(inputs + outputs), std::vector<float>(static_cast<size_t>(frames))),
        cells(buffers.size()),
        call(3 + buffers.size()),
        record(32) {
    descriptor = {reinterpret_cast<HostWord>(static_cast<CProcess*>(&process)), 0, 0,
                  static_cast<HostWord>(inputs - (sideChain ? 1 : 0)), static_cast<HostWord>(outputs),
                  sideChain ? 1u : 0u, 1};
    call[2] = reinterpret_cast<HostWord>(descriptor.data());
    for (size_t k = 0; k < buffers.size(); ++k) {
      for (size_t i = 0; i < buffers[k].size(); ++i) buffers[k][i] = static_cast<float>(10 * k + 1);
      cells[k] = buffers[k].data();
      call[3 + k] = reinterpret_cast<HostWord>(&cells[k]);
    }
    record[3] = reinterpret_cast<HostWord>(failure);
    record[22] = static_cast<HostWord>(frames);
  }
  void Render() { CEffectProcessRTAS::RenderCallback(call.data(), record.data()); }

  std::vector<std::vector<float>> buffers;
  std::vector<float*> cells;
  std::vector<HostWord> descriptor;
  std::vector<HostWord> call, record;
  float failure[4] = {};
};

}  // namespace

TEST_F(EffectProcessRTASTest, TheChannelCountIsFixedAtInitialisation) {
  TestEffectProcess& stereo = Make(kStereo);
  EXPECT_TRUE(stereo.IsReady());
  EXPECT_EQ(stereo.GetIOChannelCount(), 2);
  stereo.SetIOChannelCount(8);
  EXPECT_EQ(stereo.GetIOChannelCount(), 2);

  // A side-chain input widens the arrays past the outputs.
  Type(kMono).AddTypeFeature(5);
  TestEffectProcess& mono = Make(kMono);
  EXPECT_EQ(mono.GetSideChainPortID(), 2);
  EXPECT_EQ(mono.GetIOChannelCount(), 2);
  EXPECT_EQ(mono.GetAdaptor()->GetInputPortCount(), 2);
}

TEST_F(EffectProcessRTASTest, TheBypassByteFollowsTheMasterBypassControl) {
  TestEffectProcess& process = Make(kStereo);
  struct {
    int32_t value;
    bool bypassed;
  } const cases[] = {{1, true}, {0, true}, {-1, false}, {0x7fffffff, true}, {-5, false}, {INT32_MIN, false}};
  for (const auto& c : cases) {
    EXPECT_EQ(process.UpdateControlValue(1, c.value), 0);
    EXPECT_EQ(process.IsBypassedByControl(), c.bypassed) << c.value;
  }
  EXPECT_EQ(process.SetBypass(0, 1), 0);
  EXPECT_TRUE(process.IsBypassedByControl());
  uint8_t bypassed = 0;
  EXPECT_EQ(process.IsBypassed(0, &bypassed), 0);
  EXPECT_EQ(bypassed, 1);
  process.UpdateControlValue(2, 5);  // another control leaves the byte alone
  EXPECT_TRUE(process.IsBypassedByControl());
}

TEST_F(EffectProcessRTASTest, TheFirstOutputFollowsTheSideChainEntry) {
  Type(kMono).AddTypeFeature(5);
  TestEffectProcess& process = Make(kMono);
  Block block(process, 2, 1, 16, true);
  block.Render();
  // Input 1, side chain 11, output 21 before the block.
  for (int32_t i = 0; i < 16; ++i) ASSERT_EQ(block.buffers[2][i], 0.5f + static_cast<float>(i)) << i;
  EXPECT_EQ(block.buffers[1][0], 11.0f);
  EXPECT_TRUE(process.IsRendered());
  EXPECT_EQ(process.GetCurrentRenderRecord(), block.record.data());
  EXPECT_EQ(process.GetCurrentPortRecord(), block.descriptor.data());
}

TEST_F(EffectProcessRTASTest, AFailedBlockRedirectsTheOutputsAndIsNotMarkedRendered) {
  TestEffectProcess& process = Make(kStereo);
  process.mThrows = true;
  Block block(process, 2, 2, 32, false);
  block.Render();
  EXPECT_FALSE(process.IsRendered());
  for (int32_t k = 0; k < 2; ++k) EXPECT_EQ(process.GetOutputPointers()[k], block.failure);
  EXPECT_EQ(block.buffers[2][0], 21.0f);

  // A record the process cannot be reached from does nothing.
  CEffectProcessRTAS::RenderCallback(nullptr, block.record.data());
  block.descriptor[0] = 0;
  block.Render();
}

TEST_F(EffectProcessRTASTest, TheBlockSizeIsTheHostsMaximumWhenItMayBeAsked) {
  struct {
    intptr_t vqta;
    int32_t maximum;
    int32_t blockSize;
  } const cases[] = {{1, 256, 256},     {0, 256, 32},      {1, 0, 32},         {1, -4, 32},
                     {1, 65536, 65536}, {1, 65537, 65536}, {1, INT32_MAX, 65536}};
  ASSERT_EQ(InitDAELibAccess(), 0);
  for (const auto& c : cases) {
    frameworks.DAE()->SetGestalt(ficgestalt::kVariableQuantum, c.vqta);
    frameworks.DAE()->SetMaximumQuantum(c.maximum);
    EXPECT_EQ(CEffectProcessRTAS::QueryMaxRTASQuantum(), c.blockSize) << c.vqta << " " << c.maximum;
  }
}

TEST_F(EffectProcessRTASTest, PortSlotsTakeTheDirectPathOnlyForTheProcesssOwnPorts) {
  TestEffectProcess& process = Make(kStereo);
  const SPortGroup own{2, 3};  // ids 2 to 4
  process.AddPortGroup(&own);
  uint8_t flag = 9;
  // Port 1 is not the process's own: the checked operations decide.
  EXPECT_EQ(process.ConnectInputPortSlot(1, 77), 0);
  EXPECT_EQ(process.ConnectInputPortSlot(1, 78), -7100);
  EXPECT_EQ(process.GetInputSlots()[0], 77);
  EXPECT_EQ(process.DisconnectOutputPortSlot(1), -7107);
  EXPECT_EQ(process.ConnectOutputPortSlot(9, 1), -7106);
  // Port 2 is: written directly, over a connection too.
  EXPECT_EQ(process.ConnectInputPortSlot(2, 77), 0);
  EXPECT_EQ(process.ConnectInputPortSlot(2, 78), 0);
  EXPECT_EQ(process.GetInputSlots()[1], 78);
  EXPECT_EQ(process.IsInputPortConnected(2, &flag), 0);
  EXPECT_EQ(flag, 1);
  EXPECT_EQ(process.DisconnectInputPortSlot(2), 0);
  EXPECT_EQ(process.GetInputSlots()[1], 0);
  // Own ids past the two channels are refused, not written.
  EXPECT_EQ(process.ConnectInputPortSlot(3, 5), -7106);
  EXPECT_EQ(process.IsOutputPortConnected(4, &flag), -7106);
  flag = 0;
  EXPECT_EQ(process.IsOutputPortFree(3, &flag), 0);
  EXPECT_EQ(flag, 1);
}

#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/protools/HostWords.h"
#include "rtas/library/FourCC.h"
#include "tools/brimlow-host/HostRenderer.h"
#include "tools/brimlow-host/StandInHost.h"

// The plug-in bundle this build made, driven through its exports by the
// stand-in host, with the instances a test makes removed at the end and
// the host frameworks checked for what the plug-in left behind.
class BundleHost : public ::testing::Test {
 protected:
  static constexpr uint32_t kEFN1 = FourCC("EFN1");
  static constexpr uint32_t kEFN2 = FourCC("EFN2");
  static constexpr uint32_t kKB30 = FourCC("KB30");
  static constexpr uint32_t kKBYX = FourCC("KBYX");

  void TearDown() override {
    if (host) {
      EXPECT_EQ(host->Close(), "");
    }
    host.reset();
  }

  // The host up to its first instance: callback given, rate set, types on.
  void StartHost(int quantum = 512, bool linked = false, int32_t rate = 48000) {
    host = std::make_unique<StandInHost>(StandInHost::DefaultBundle(), quantum, linked);
    host->Start(rate);
  }

  // Planar float blocks through an instance's render routine, the host
  // block by block.
  std::vector<std::vector<float>> Render(uint32_t type, int32_t instance, const std::vector<std::vector<float>>& in) {
    const int channels = static_cast<int>(in.size());
    HostRenderer renderer(*host, type, instance, channels);
    const size_t frames = in[0].size();
    std::vector<std::vector<float>> out(in.size(), std::vector<float>(frames, 0.0f));
    const size_t block = static_cast<size_t>(renderer.BlockFrames());
    for (size_t offset = 0; offset < frames; offset += block) {
      std::vector<float*> inPtrs, outPtrs;
      for (int c = 0; c < channels; ++c) {
        inPtrs.push_back(const_cast<float*>(in[c].data()) + offset);
        outPtrs.push_back(out[c].data() + offset);
      }
      renderer.ProcessBlock(inPtrs.data(), outPtrs.data(), static_cast<int>(std::min(block, frames - offset)));
    }
    lastRoutineFrames = renderer.RoutineFrames();
    return out;
  }

  int32_t ChangeCount(uint32_t type, int32_t instance) {
    int32_t count = 0;
    host->Call<uint32_t, int32_t, int32_t*>(110, type, instance, &count);
    return count;
  }

  std::unique_ptr<StandInHost> host;
  std::vector<int32_t> lastRoutineFrames;
};

inline uint32_t ChunkWord(const std::vector<uint8_t>& chunk, size_t offset) {
  uint32_t word = 0;
  std::memcpy(&word, chunk.data() + offset, sizeof(word));
  return word;
}

inline void SetChunkWord(std::vector<uint8_t>* chunk, size_t offset, uint32_t word) {
  std::memcpy(chunk->data() + offset, &word, sizeof(word));
}

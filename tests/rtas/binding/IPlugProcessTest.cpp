// An instance's host-visible controls and audio, through the bundle's
// exports.
#include <atomic>
#include <climits>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "platform/carboncore/MacTypes.h"
#include "platform/protools/DAE.h"
#include "tests/rtas/binding/BundleHost.h"
#include "tests/tools/AudioFiles.h"

namespace {

std::string NameOfLength(StandInHost& host, uint32_t type, int32_t instance, int32_t control, int32_t length) {
  char text[256] = {};
  int16_t unused = 0;
  host.Call<uint32_t, int32_t, int32_t, char*, int32_t, uint32_t, int16_t*>(131, type, instance, control, text,
                                                                            length, 0, &unused);
  return std::string(text + 1, text + 1 + static_cast<unsigned char>(text[0]));
}

int32_t Steps(StandInHost& host, uint32_t type, int32_t instance, int32_t control) {
  int32_t steps = 0;
  host.Call<uint32_t, int32_t, int32_t, int32_t*>(42, type, instance, control, &steps);
  return steps;
}

// The host's audio thread: the instance's render routine called block
// after block, and nothing else, while the test makes host calls on its
// own thread.
class AudioThread {
 public:
  AudioThread(StandInHost& host, uint32_t type, int32_t instance, int channels, int frames)
      : mChannels(static_cast<size_t>(channels)) {
    const StructureRegistry::Instance* found = host.Registry().FindInstance(type, instance);
    EXPECT_TRUE(found && found->routine && found->dataBlock);
    if (!found || !found->routine || !found->dataBlock) return;
    mRoutine = reinterpret_cast<Routine>(found->routine);
    const Channels noise = MakeNoise(channels, static_cast<size_t>(frames));
    for (size_t p = 0; p < found->inputs; ++p) mBuffers.push_back(p < mChannels ? noise[p] : std::vector<float>(noise[0].size()));
    for (size_t p = 0; p < found->outputs; ++p) mBuffers.emplace_back(noise[0].size());
    for (std::vector<float>& buffer : mBuffers) mCells.push_back(buffer.data());
    mCallBlock.assign(hostwords::kCallBlockFirstBufferCell + mCells.size(), 0);
    mCallBlock[hostwords::kCallBlockPortDescriptor] = reinterpret_cast<HostWord>(found->dataBlock);
    for (size_t c = 0; c < mCells.size(); ++c) {
      mCallBlock[hostwords::kCallBlockFirstBufferCell + c] = reinterpret_cast<HostWord>(&mCells[c]);
    }
    mFailure.assign(static_cast<size_t>(frames), 0.0f);
    mRenderRecord.assign(32, 0);
    mRenderRecord[hostwords::kRenderRecordFailureBuffer] = reinterpret_cast<HostWord>(mFailure.data());
    mRenderRecord[hostwords::kRenderRecordFrameCount] = static_cast<HostWord>(frames);
    mThread = std::thread([this] {
      while (!mStop.load()) {
        mRoutine(mCallBlock.data(), mRenderRecord.data());
        ++mBlocks;
      }
    });
  }
  ~AudioThread() { Stop(); }

  void Stop() {
    mStop = true;
    if (mThread.joinable()) mThread.join();
  }
  int Blocks() const { return mBlocks.load(); }

 private:
  using Routine = int32_t (*)(HostWord*, HostWord*);
  size_t mChannels;
  Routine mRoutine = nullptr;
  std::vector<std::vector<float>> mBuffers;
  std::vector<float*> mCells;
  std::vector<HostWord> mCallBlock, mRenderRecord;
  std::vector<float> mFailure;
  std::atomic<bool> mStop{false};
  std::atomic<int> mBlocks{0};
  std::thread mThread;
};

}  // namespace

using IPlugProcessExports = BundleHost;

TEST_F(IPlugProcessExports, OneControlPerParameterAfterTheBypass) {
  StartHost();
  const int32_t n = host->CreateInstance(kEFN2);
  // The bypass and one control for each of the 138 parameters, numbered 1
  // to 139: control p + 2 is parameter p.
  ASSERT_EQ(host->ControlCount(kEFN2, n), 139);
  EXPECT_EQ(host->ControlName(kEFN2, n, 1), "Master Bypass");
  EXPECT_EQ(NameOfLength(*host, kEFN2, n, 1, 8), "MastrByp");
  EXPECT_EQ(NameOfLength(*host, kEFN2, n, 1, 3), "Byp");
  EXPECT_EQ(host->ControlName(kEFN2, n, 2), "GUI Scale");
  EXPECT_EQ(Steps(*host, kEFN2, n, 2), 7);
  EXPECT_EQ(host->ValueText(kEFN2, n, 2, INT_MAX), "200%");
  EXPECT_EQ(host->ValueText(kEFN2, n, 2, INT_MIN), "50%");
  EXPECT_EQ(host->ControlName(kEFN2, n, 139), "Toggle Tooltips");
  // Parameter 133 has no kind and no name, but its control keeps every
  // later control on its parameter.
  EXPECT_EQ(host->ControlName(kEFN2, n, 135), "");
  EXPECT_EQ(Steps(*host, kEFN2, n, 135), 2);
  EXPECT_EQ(host->ControlName(kEFN2, n, 136), "Main Meter Mode");
  int16_t automatable = 0;
  host->Call<uint32_t, int32_t, int32_t, int16_t*>(41, kEFN2, n, 1, &automatable);
  EXPECT_EQ(automatable, 1);
}

TEST_F(IPlugProcessExports, AValueSetIsReadBackAndCountsOneChange) {
  StartHost();
  const int32_t n = host->CreateInstance(kEFN1);
  const int32_t control = host->FindControl(kEFN1, n, "Type 3");
  ASSERT_GT(control, 0);
  int32_t value = 0;
  ASSERT_EQ(host->TextToValue(kEFN1, n, control, "D - Peak", &value), 0);
  const int32_t before = ChangeCount(kEFN1, n);
  ASSERT_EQ(host->SetControlValue(kEFN1, n, control, value), 0);
  EXPECT_EQ(host->ControlValue(kEFN1, n, control), value);
  EXPECT_EQ(host->ValueText(kEFN1, n, control, host->ControlValue(kEFN1, n, control)), "D - Peak");
  EXPECT_EQ(ChangeCount(kEFN1, n), before + 1);
}

TEST_F(IPlugProcessExports, LinkedTheValueComesBackFromTheEngine) {
  StartHost(512, true);
  const int32_t n = host->CreateInstance(kEFN1);
  const int32_t control = host->FindControl(kEFN1, n, "Phase");
  int32_t value = 0;
  ASSERT_EQ(host->TextToValue(kEFN1, n, control, "Invert", &value), 0);
  const int32_t before = host->Frameworks().DAE().CountDispatchedTokens();
  ASSERT_EQ(host->SetControlValue(kEFN1, n, control, value), 0);
  // Posted to the engine, then applied through the control update.
  EXPECT_GT(host->Frameworks().DAE().CountDispatchedTokens(), before);
  EXPECT_EQ(host->ValueText(kEFN1, n, control, host->ControlValue(kEFN1, n, control)), "Invert");
}

TEST_F(IPlugProcessExports, BypassedOutputIsTheInput) {
  StartHost();
  const int32_t n = host->CreateInstance(kEFN2);
  // Something audible to bypass: the output inverted.
  int32_t invert = 0;
  const int32_t phase = host->FindControl(kEFN2, n, "Phase");
  host->TextToValue(kEFN2, n, phase, "Invert", &invert);
  host->SetControlValue(kEFN2, n, phase, invert);
  const Channels in = MakeNoise(2, 3000);
  const Channels processed = Render(kEFN2, n, in);
  EXPECT_NE(processed, in);
  ASSERT_EQ(host->SetControlValue(kEFN2, n, 1, 0x7fffffff), 0);
  EXPECT_EQ(Render(kEFN2, n, in), in);
}

TEST_F(IPlugProcessExports, TheAudioIsBypassedExactlyWhenTheBypassControlReadsOn) {
  StartHost();
  const int32_t n = host->CreateInstance(kEFN2);
  int32_t invert = 0;
  const int32_t phase = host->FindControl(kEFN2, n, "Phase");
  ASSERT_EQ(host->TextToValue(kEFN2, n, phase, "Invert", &invert), 0);
  ASSERT_EQ(host->SetControlValue(kEFN2, n, phase, invert), 0);
  const Channels in = MakeNoise(2, 1024);
  Channels inverted = in;
  for (auto& channel : inverted) {
    for (float& x : channel) x = -x;
  }
  // The two-state control's boundary lies between -1 and 0: the host value
  // 0 is the upper half of the range, which reads "On".
  for (int32_t value : {INT_MIN, -1, 0, 1, INT_MAX}) {
    ASSERT_EQ(host->SetControlValue(kEFN2, n, 1, value), 0) << value;
    const bool on = host->ValueText(kEFN2, n, 1, host->ControlValue(kEFN2, n, 1)) == "On";
    EXPECT_EQ(on, value >= 0) << value;
    uint8_t bypassed = 7;
    ASSERT_EQ((host->Call<uint32_t, int32_t, int32_t, uint8_t*>(51, kEFN2, n, 0, &bypassed)), 0);
    EXPECT_EQ(bypassed, on ? 1 : 0) << value;
    EXPECT_TRUE(Render(kEFN2, n, in) == (on ? in : inverted)) << value;
  }
}

TEST_F(IPlugProcessExports, WithoutAVariableQuantumEveryBlockIs32Frames) {
  StartHost();
  const int32_t n1 = host->CreateInstance(kEFN1);
  const Channels in = MakeNoise(1, 2000);
  const Channels reference = Render(kEFN1, n1, in);
  host->RemoveInstance(kEFN1, n1);

  host->Frameworks().DAE().SetGestalt(ficgestalt::kVariableQuantum, 0);
  const int32_t n2 = host->CreateInstance(kEFN1);
  const Channels fixed = Render(kEFN1, n2, in);
  ASSERT_FALSE(lastRoutineFrames.empty());
  for (int32_t frames : lastRoutineFrames) ASSERT_EQ(frames, 32);
  // The same audio, whatever the block.
  EXPECT_EQ(fixed, reference);
}

TEST_F(IPlugProcessExports, ALargestBlockBeyondReasonSizesNothingForIt) {
  // Host blocks of 4096 frames; the largest block the engine announces
  // past what a buffer of doubles can hold, or the top of its word.
  StartHost(4096);
  const Channels in = MakeNoise(2, 3 * 4096);
  const int32_t plain = host->CreateInstance(kEFN2);
  const Channels reference = Render(kEFN2, plain, in);
  host->RemoveInstance(kEFN2, plain);
  for (int32_t largest : {(1 << 28) + 1, INT_MAX}) {
    host->Frameworks().DAE().SetMaximumQuantum(largest);
    int32_t n = 0;
    ASSERT_EQ((host->Call<uint32_t, int32_t*>(19, kEFN2, &n)), 0) << largest;
    EXPECT_TRUE(Render(kEFN2, n, in) == reference) << largest;
    EXPECT_EQ(host->RemoveInstance(kEFN2, n), 0);
  }
}

TEST_F(IPlugProcessExports, ARateChangeReachesAnInstanceThatExists) {
  // A band that depends on the rate: its peak filter's coefficients.
  auto setUp = [&](int32_t n) {
    for (const char* setting : {"Active 5=on", "Type 5=D - Peak", "Gain 5=12", "Freq 5=5000"}) {
      const std::string text = setting;
      const size_t eq = text.find('=');
      const int32_t control = host->FindControl(kEFN1, n, text.substr(0, eq));
      int32_t value = 0;
      ASSERT_EQ(host->TextToValue(kEFN1, n, control, text.substr(eq + 1), &value), 0) << setting;
      host->SetControlValue(kEFN1, n, control, value);
    }
  };
  const Channels in = MakeNoise(1, 4096);
  StartHost(512, false, 48000);
  const int32_t atRate = host->CreateInstance(kEFN1);
  setUp(atRate);
  const Channels reference = Render(kEFN1, atRate, in);
  host->RemoveInstance(kEFN1, atRate);

  ASSERT_EQ(host->Call<int32_t>(7, 44100), 0);
  const int32_t moved = host->CreateInstance(kEFN1);
  setUp(moved);
  const Channels before = Render(kEFN1, moved, in);
  EXPECT_NE(before, reference);
  host->RemoveInstance(kEFN1, moved);

  const int32_t changed = host->CreateInstance(kEFN1);
  setUp(changed);
  ASSERT_EQ(host->Call<int32_t>(7, 48000), 0);
  EXPECT_EQ(Render(kEFN1, changed, in), reference);
}

TEST_F(IPlugProcessExports, LatencyAndFocusWithoutAnEditor) {
  StartHost();
  const int32_t n = host->CreateInstance(kEFN2);
  int32_t latency = -1;
  ASSERT_EQ((host->Call<uint32_t, int32_t, int32_t*>(145, kEFN2, n, &latency)), 0);
  EXPECT_EQ(latency, 0);
  int32_t focused = -1;
  ASSERT_EQ((host->Call<uint32_t, int32_t, const Point&, int32_t*>(87, kEFN2, n, Point{0, 0}, &focused)), 0);
  EXPECT_EQ(focused, 0);
}

TEST_F(IPlugProcessExports, HostCallsMeetTheAudioThreadOnlyUnderThePlugMutex) {
  // What a host may do on its main thread while its audio thread renders:
  // change the rate, switch the filter mode (the latency moves), ask the
  // latency, toggle the bypass.
  StartHost(256);
  const int32_t n = host->CreateInstance(kEFN2);
  const int32_t mode = host->FindControl(kEFN2, n, "Filter Mode");
  int32_t linear = 0, zero = 0;
  ASSERT_EQ(host->TextToValue(kEFN2, n, mode, "LinearPhase Eco", &linear), 0);
  ASSERT_EQ(host->TextToValue(kEFN2, n, mode, "Zero Latency", &zero), 0);
  AudioThread audio(*host, kEFN2, n, 2, 256);
  for (int round = 0; round < 6; ++round) {
    const int blocks = audio.Blocks();
    ASSERT_EQ(host->Call<int32_t>(7, round % 2 ? 44100 : 48000), 0);
    ASSERT_EQ(host->SetControlValue(kEFN2, n, mode, round % 2 ? zero : linear), 0);
    ASSERT_EQ(host->SetControlValue(kEFN2, n, 1, round % 2 ? INT_MIN : INT_MAX), 0);
    int32_t latency = -1;
    ASSERT_EQ((host->Call<uint32_t, int32_t, int32_t*>(145, kEFN2, n, &latency)), 0);
    EXPECT_GE(latency, 0);
    // Each round overlaps blocks of the audio thread.
    while (audio.Blocks() < blocks + 3) std::this_thread::yield();
  }
  audio.Stop();
}

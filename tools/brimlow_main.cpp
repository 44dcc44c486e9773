// Command-line host for Brimlow: creates the plug-in object the way a host
// does, runs a built-in test signal through it and prints what it reports.
#include <clocale>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "plugin/controller/Brimlow.h"

namespace {

constexpr double kSampleRate = 48000.0;
constexpr int kBlockSize = 512;
constexpr int kSeconds = 2;
constexpr double kPi = 3.14159265358979323846;

}  // namespace

int main() {
  std::setlocale(LC_ALL, "C");
  std::unique_ptr<Brimlow> plug(MakePlug());
  plug->SetSampleRate(kSampleRate);
  plug->SetBlockSize(kBlockSize);
  plug->Reset();
  std::printf("%s by %s, API %s, host %s\n", plug->GetEffectName(), plug->GetMakerName(), plug->GetAPIString(),
              plug->GetHostName().Get());

  // A 1 kHz sine at -12 dBFS on the left, silence on the right.
  const int frames = static_cast<int>(kSampleRate) * kSeconds;
  std::vector<float> left(frames), right(frames, 0.0f), outLeft(frames), outRight(frames);
  for (int i = 0; i < frames; ++i) left[i] = static_cast<float>(0.25 * std::sin(2.0 * kPi * 1000.0 * i / kSampleRate));
  double peakOut = 0.0;
  for (int offset = 0; offset < frames; offset += kBlockSize) {
    const int n = std::min(kBlockSize, frames - offset);
    float* in[] = {left.data() + offset, right.data() + offset};
    float* out[] = {outLeft.data() + offset, outRight.data() + offset};
    WDL_MutexLock lock(plug->GetMutex());
    plug->AttachInputBuffers(0, plug->NInChannels(), in, n);
    plug->AttachOutputBuffers(0, plug->NOutChannels(), out);
    plug->ProcessBuffers(n);
  }
  for (float v : outLeft) peakOut = std::fmax(peakOut, std::fabs(v));
  std::printf("processed %d frames at %.0f Hz\nlatency: %d\noutput peak: %.2f dBFS\n", frames, kSampleRate,
              plug->GetLatency(), 20.0 * std::log10(std::fmax(peakOut, 1e-12)));

  for (int i = 0; i < plug->NParams(); ++i) {
    const IParam* param = plug->GetParam(i);
    char display[32];
    param->GetDisplayForHost(param->Value(), false, display, sizeof display);
    std::printf("%d: %s = %s %s\n", i, param->GetNameForHost(), display, param->GetLabelForHost());
  }
  return 0;
}

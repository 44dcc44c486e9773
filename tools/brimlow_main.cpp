// Command-line host for Brimlow: creates a plug-in object of the framework
// with no host, runs a block through it and prints its parameters.
#include <clocale>
#include <cstdio>
#include <vector>

#include "framework/Utilities.h"
#include "rtas/binding/IPlugRTAS.h"

namespace {

class FrameworkDemoPlug : public IPlugRTAS {
 public:
  FrameworkDemoPlug()
      : IPlugRTAS(3, 3, "1-1 2-2", 1, "Brimlow", "", "Kestrelbay", 0x30203, FourCharCode("KB30"),
                  FourCharCode("KBYX"), 0, false, true, false, 0) {
    GetParam(0)->InitDouble("Gain", 0.0, -24.0, 24.0, 0.01, "dB");
    GetParam(1)->InitDouble("Freq", 1000.0, 10.0, 30000.0, 0.001, "Hz");
    GetParam(1)->SetLogShape();
    GetParam(2)->InitEnum("ChMode", 0, 5);
    const char* modes[] = {"All", "Left", "Right", "Mid", "Side"};
    for (int i = 0; i < 5; ++i) GetParam(2)->SetDisplayText(i, modes[i]);
  }
};

}  // namespace

int main() {
  std::setlocale(LC_ALL, "C");
  FrameworkDemoPlug plug;
  std::printf("%s by %s, API %s, host %s\n", plug.GetEffectName(), plug.GetMakerName(), plug.GetAPIString(),
              plug.GetHostName().Get());

  const int frames = 256;
  std::vector<float> left(frames, 0.25f), right(frames, -0.25f), outLeft(frames), outRight(frames);
  float* in[] = {left.data(), right.data()};
  float* out[] = {outLeft.data(), outRight.data()};
  {
    WDL_MutexLock lock(plug.GetMutex());
    plug.AttachInputBuffers(0, plug.NInChannels(), in, frames);
    plug.AttachOutputBuffers(0, plug.NOutChannels(), out);
    plug.ProcessBuffers(frames);
  }
  std::printf("processed %d frames: first output samples %.2f %.2f\n", frames, outLeft[0], outRight[0]);

  for (int i = 0; i < plug.NParams(); ++i) {
    const IParam* param = plug.GetParam(i);
    char display[32];
    param->GetDisplayForHost(param->Value(), false, display, sizeof display);
    std::printf("%d: %s = %s %s (%g .. %g)\n", i, param->GetNameForHost(), display, param->GetLabelForHost(),
                param->GetMin(), param->GetMax());
  }
  return 0;
}

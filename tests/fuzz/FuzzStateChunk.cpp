// The state-chunk reader of the equaliser (UnserializeStateAll through the
// plug-in's virtual), fed the raw input. One plug-in object serves every
// input, put back into its fresh state before each, so that a finding
// replays from its input alone.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "tests/fuzz/FuzzCheck.h"
#include "tests/fuzz/FuzzStatePlug.h"

namespace {

FuzzStatePlug* gPlug = nullptr;
std::vector<unsigned char>* gFresh = nullptr;

// Freed before the statics go: the editor's idle thread runs until then.
void TearDown() {
  delete gPlug;
  delete gFresh;
}

bool AllFinite(const double* v, int n) {
  for (int i = 0; i < n; ++i) {
    if (!std::isfinite(v[i])) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  if (!gPlug) {
    gPlug = new FuzzStatePlug();
    gFresh = new std::vector<unsigned char>(gPlug->Save());
    FUZZ_CHECK(!gFresh->empty());
    std::atexit(TearDown);
  }
  Brimlow& plug = gPlug->Plug();
  FUZZ_CHECK(gPlug->Restore(gFresh->data(), gFresh->size()) == static_cast<int>(gFresh->size()));

  // Failure is -1; otherwise the position after what was read.
  const int end = gPlug->Restore(data, size);
  FUZZ_CHECK(end >= -1 && end <= static_cast<int>(size));

  // Whatever was taken is usable: parameters in their ranges, a finite
  // reference and grid.
  for (int i = 0; i < plug.NParams(); ++i) {
    const IParam* p = plug.GetParam(i);
    FUZZ_CHECK(p->Value() >= p->GetMin() && p->Value() <= p->GetMax());
  }
  FUZZ_CHECK(AllFinite(plug.Reference().GetFrequencies(), ReferenceCapture::GetCount()));
  FUZZ_CHECK(AllFinite(plug.Reference().GetMagnitudes(), ReferenceCapture::GetCount()));
  FUZZ_CHECK(AllFinite(plug.ReferenceGrid(), plug.ReferenceGridCount()));

  // and it saves and restores exactly: the same bytes a second time.
  const std::vector<unsigned char> first = gPlug->Save();
  FUZZ_CHECK(!first.empty());
  FUZZ_CHECK(gPlug->Restore(first.data(), first.size()) == static_cast<int>(first.size()));
  FUZZ_CHECK(gPlug->Save() == first);

  // The audio path runs on it and gives numbers.
  float in0[64], in1[64], out0[64], out1[64];
  for (int i = 0; i < 64; ++i) in0[i] = in1[i] = static_cast<float>(std::sin(0.3 * i) * 0.5);
  float* in[2] = {in0, in1};
  float* out[2] = {out0, out1};
  {
    WDL_MutexLock lock(plug.GetMutex());
    plug.AttachInputBuffers(0, 2, in, 64);
    plug.AttachOutputBuffers(0, 2, out);
    plug.ProcessBuffers(64);
  }
  for (int i = 0; i < 64; ++i) FUZZ_CHECK(std::isfinite(out0[i]) && std::isfinite(out1[i]));
  return 0;
}

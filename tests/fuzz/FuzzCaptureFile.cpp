// The ".ref" capture-file reader, then the reference it took laid on the
// analyser grids every path uses.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "plugin/controller/CaptureFile.h"
#include "plugin/controller/ReferenceCapture.h"
#include "plugin/engine/SpectrumAnalyzer.h"
#include "tests/fuzz/FuzzCheck.h"
#include "tests/fuzz/FuzzTempFile.h"

namespace {

constexpr int kN = ReferenceCapture::GetCount();

// What the reader is handed before: a refusal must leave it as it was.
ReferenceCapture Previous() {
  double f[kN], m[kN];
  for (int i = 0; i < kN; ++i) {
    f[i] = 10.0 + 160.0 * i;
    m[i] = 0.25;
  }
  ReferenceCapture r;
  r.Set(f, m, kN);
  return r;
}

bool Same(const ReferenceCapture& a, const ReferenceCapture& b) {
  return std::memcmp(a.GetFrequencies(), b.GetFrequencies(), sizeof(double) * kN) == 0 &&
         std::memcmp(a.GetMagnitudes(), b.GetMagnitudes(), sizeof(double) * kN) == 0;
}

uint32_t U32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  const FuzzTempFile file(data, size, ".ref");
  if (!file.Ok()) std::abort();  // a full disk, not a finding

  static const ReferenceCapture kPrevious = Previous();
  ReferenceCapture reference = kPrevious;
  const bool taken = ReadCaptureFile(file.Path().c_str(), &reference);
  if (!taken) {
    FUZZ_CHECK(Same(reference, kPrevious));
    return 0;
  }
  // Taken: the documented header, and the values bit for bit as stored.
  FUZZ_CHECK(size >= 12 + 16 * static_cast<size_t>(kN));
  FUZZ_CHECK(U32(data) == kCaptureFileMagic && U32(data + 4) == kCaptureFileVersion &&
             U32(data + 8) == static_cast<uint32_t>(kN));
  FUZZ_CHECK(std::memcmp(reference.GetFrequencies(), data + 12, sizeof(double) * kN) == 0);
  FUZZ_CHECK(std::memcmp(reference.GetMagnitudes(), data + 12 + 8 * kN, sizeof(double) * kN) == 0);

  // On any grid the display uses, every value is finite and lies between
  // the smallest and the largest magnitude: the grid only interpolates and
  // holds (give or take the rounding of the interpolation, an ulp or two).
  const double* m = reference.GetMagnitudes();
  const double lowest = *std::min_element(m, m + kN);
  const double highest = *std::max_element(m, m + kN);
  const double slack = 1e-15 * std::fmax(std::fabs(lowest), std::fabs(highest));
  static std::vector<double> grid(SpectrumAnalyzer::kMaxBinCount);
  for (const int count : {1, 2, 4096, SpectrumAnalyzer::kMaxBinCount}) {
    for (const double rate : {44100.0, 192000.0}) {
      reference.LayOnGrid(grid.data(), count, rate);
      for (int i = 0; i < count; ++i) {
        FUZZ_CHECK(std::isfinite(grid[i]) && grid[i] >= lowest - slack && grid[i] <= highest + slack);
      }
    }
  }
  return 0;
}

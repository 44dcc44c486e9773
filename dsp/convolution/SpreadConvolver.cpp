#include "dsp/convolution/SpreadConvolver.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "dsp/convolution/DenormalFlush.h"
#include "dsp/convolution/SplitRadixFFT.h"
#include "dsp/convolution/ZeroBuffer.h"

namespace {

// The points one step of the work covers, and the size of the final
// transforms of a sliced one. Smaller pieces (more vector passes) were no
// faster; smaller steps would only add calls.
constexpr int kStepPoints = 256;
constexpr int kPiecePoints = 256;
// Rough costs of the steps of a partition's work, measured on 256-point
// steps: a pass of butterflies in vectors is the unit (2), the 256-point
// split-radix transforms cost five times more, the products per partition
// (and the second channel's share when the impulses differ) and the
// overlap-add little. Pacing by these keeps the heavy steps from bunching
// up in a few blocks.
constexpr int kPassWeight = 2;
constexpr int kPieceWeight = 11;
constexpr int kProductWeight = 3;
constexpr int kMirrorWeight = 4;
constexpr int kOverlapWeight = 1;

// The most taps beside its peak an impulse may have, in sum relative to
// the peak, and still run as a plain delay: the rounding left by the
// linear-phase transform of a unit impulse, far below what any band leaves.
constexpr double kDelayResidue = 1e-11;

template <class T>
bool Sized(WDL_TypedBuf<T>& buf, int64_t count) {
  if (count < 0 || count > INT32_MAX / static_cast<int64_t>(sizeof(T))) return false;
  buf.Resize(static_cast<int>(count), false);
  return buf.GetSize() == count;
}

// Whether h is g times a unit impulse at k, up to kDelayResidue.
bool PlainDelay(const double* h, int length, double& gain, int& at) {
  gain = 0.0;
  at = 0;
  double peak = 0.0;
  for (int i = 0; i < length; ++i) {
    if (std::fabs(h[i]) > peak) {
      peak = std::fabs(h[i]);
      at = i;
    }
  }
  if (peak == 0.0) return true;
  double rest = 0.0;
  for (int i = 0; i < length; ++i) {
    if (i != at) rest += std::fabs(h[i]);
  }
  if (!(rest <= kDelayResidue * peak)) return false;
  gain = h[at];
  return true;
}

}  // namespace

bool SpreadConvolver::Allocate(int block, int parts) {
  const int points = 2 * block;
  const bool ok = mFFT.Setup(points, std::min(kPiecePoints, block), std::min(kStepPoints, points)) &&
                  Sized(mSlots, static_cast<int64_t>(parts + 1) * 2 * points) && Sized(mSum, 2 * points) &&
                  Sized(mOut[0], points) && Sized(mOut[1], points) && Sized(mTail, points) &&
                  Sized(mRing[0], static_cast<int64_t>(parts + 3) * block) &&
                  Sized(mRing[1], static_cast<int64_t>(parts + 3) * block);
  if (!ok) {
    mBlock = mParts = 0;
    return false;
  }
  mBlock = block;
  mParts = parts;
  mRingSize = (parts + 3) * block;
  return true;
}

bool SpreadConvolver::SetImpulse(const double* h0, const double* h1, int length, int latency) {
  if (!h1) h1 = h0;
  if (!h0) length = 0;
  length = std::max(length, 0);
  latency = std::max(latency, kMinLatency);
  int block = 2;
  while (4 * static_cast<int64_t>(block) <= latency && 4 * block <= SplitRadixFFT::kMaxSize) block *= 2;
  const int shift = latency - 2 * block;
  const int parts = std::max(1, static_cast<int>((static_cast<int64_t>(shift) + length + block - 1) / block));

  const bool sameLayout = Ready() && block == mBlock && parts == mParts && latency == mLatency;
  if (!sameLayout && !Allocate(block, parts)) {
    mLatency = latency;
    return false;
  }
  mLatency = latency;
  mShift = shift;

  double gain0 = 0.0, gain1 = 0.0;
  int at0 = 0, at1 = 0;
  mPlainDelay = PlainDelay(h0, length, gain0, at0) && PlainDelay(h1, length, gain1, at1);
  bool ok = true;
  if (mPlainDelay) {
    mGain[0] = gain0;
    mGain[1] = gain1;
    mDelay[0] = 2 * block + shift + at0;
    mDelay[1] = 2 * block + shift + at1;
  } else {
    mShared = h0 == h1 || std::memcmp(h0, h1, sizeof(double) * static_cast<size_t>(length)) == 0;
    ok = LoadSpectra(h0, h1, length, mShared);
    if (!ok) {
      // Silence rather than half an impulse.
      mPlainDelay = true;
      mGain[0] = mGain[1] = 0.0;
    }
  }
  mTaskWeight = TaskWeight();
  if (!sameLayout) {
    Reset();
  } else if (!mPlainDelay) {
    Replay();
  }
  return ok;
}

bool SpreadConvolver::LoadSpectra(const double* h0, const double* h1, int length, bool shared) {
  const int points = 2 * mBlock;
  const size_t doubles = 2 * static_cast<size_t>(points);
  if (!Sized(mSpectraA, static_cast<int64_t>(mParts) * 2 * points)) return false;
  if (shared) {
    mSpectraD.Resize(0);
  } else if (!Sized(mSpectraD, static_cast<int64_t>(mParts) * 2 * points)) {
    return false;
  }
  std::vector<double> work(doubles);
  const double scale = 1.0 / points;
  const int* mirror = mFFT.MirrorTable();
  for (int q = 0; q < mParts; ++q) {
    std::fill(work.begin(), work.end(), 0.0);
    for (int i = 0; i < mBlock; ++i) {
      const int64_t n = static_cast<int64_t>(q) * mBlock + i - mShift;
      if (n < 0 || n >= length) continue;
      work[2 * static_cast<size_t>(i)] = h0[n] * scale;
      work[2 * static_cast<size_t>(i) + 1] = shared ? 0.0 : h1[n] * scale;
    }
    mFFT.Run(work.data(), 0);
    double* a = mSpectraA.Get() + static_cast<size_t>(q) * doubles;
    if (shared) {
      std::copy(work.begin(), work.end(), a);
      continue;
    }
    // T = H0 + i H1 of the two real impulses: H0 = (T + conj T~) / 2 and
    // H1 = (T - conj T~) / 2i, T~ the mirrored bin; then
    // A = (H0 + H1) / 2, D = (H0 - H1) / 2.
    double* d = mSpectraD.Get() + static_cast<size_t>(q) * doubles;
    for (int p = 0; p < points; ++p) {
      const double tr = work[2 * static_cast<size_t>(p)], ti = work[2 * static_cast<size_t>(p) + 1];
      const double mr = work[2 * static_cast<size_t>(mirror[p])], mi = -work[2 * static_cast<size_t>(mirror[p]) + 1];
      const double h0r = 0.5 * (tr + mr), h0i = 0.5 * (ti + mi);
      // (T - conj T~) / 2i: (x + iy) / 2i = (y - ix) / 2.
      const double xr = tr - mr, xi = ti - mi;
      const double h1r = 0.5 * xi, h1i = -0.5 * xr;
      a[2 * p] = 0.5 * (h0r + h1r);
      a[2 * p + 1] = 0.5 * (h0i + h1i);
      d[2 * p] = 0.5 * (h0r - h1r);
      d[2 * p + 1] = 0.5 * (h0i - h1i);
    }
  }
  return true;
}

void SpreadConvolver::Reset() {
  ZeroBuffer(mSlots);
  ZeroBuffer(mSum);
  ZeroBuffer(mOut[0]);
  ZeroBuffer(mOut[1]);
  ZeroBuffer(mTail);
  ZeroBuffer(mRing[0]);
  ZeroBuffer(mRing[1]);
  mTime = 0;
  mTaskBlock = -1;
  mTaskStep = 0;
  mTaskWeightDone = 0;
}

int SpreadConvolver::TaskSteps() const {
  // Two transforms, then the products and the overlap-add in chunks of a
  // step's points.
  return 2 * mFFT.StepCount() + 2 * (2 * mBlock / mFFT.StepPoints());
}

void SpreadConvolver::Collect(const double* in0, const double* in1, int span, bool toRing) {
  double* ring0 = mRing[0].Get();
  double* ring1 = mRing[1].Get();
  // The collecting slot's second half is padding, which the forward
  // transform takes as zeros whatever it holds.
  double* lo = mPlainDelay ? nullptr : Slot(mTime / mBlock) + 2 * static_cast<size_t>(mTime % mBlock);
  int at = static_cast<int>(mTime % mRingSize);
  for (int j = 0; j < span;) {
    const int run = std::min(span - j, mRingSize - at);
    for (int k = 0; k < run; ++k) {
      const double v0 = FlushSample(in0[j + k]), v1 = FlushSample(in1[j + k]);
      if (toRing) {
        ring0[at + k] = v0;
        ring1[at + k] = v1;
      }
      if (lo) {
        lo[2 * (j + k)] = v0;
        lo[2 * (j + k) + 1] = v1;
      }
    }
    j += run;
    at = 0;
  }
}

int SpreadConvolver::StepWeight(int step) const {
  const int transform = mFFT.StepCount();
  const int passes = mFFT.PassStepCount();
  const int chunks = 2 * mBlock / mFFT.StepPoints();
  if (step < transform) return step < passes ? kPassWeight : kPieceWeight;
  if ((step -= transform) < chunks) return mParts * (kProductWeight + (mShared ? 0 : kMirrorWeight));
  if ((step -= chunks) < transform) return step < transform - passes ? kPieceWeight : kPassWeight;
  return kOverlapWeight;
}

int SpreadConvolver::GetHeaviestStep() const {
  return std::max({kPassWeight, kPieceWeight, mParts * (kProductWeight + (mShared ? 0 : kMirrorWeight)),
                   kOverlapWeight});
}

int64_t SpreadConvolver::TaskWeight() const {
  int64_t total = 0;
  for (int step = 0; step < TaskSteps(); ++step) total += StepWeight(step);
  return total;
}

void SpreadConvolver::StartTask(int64_t block) {
  mTaskBlock = block;
  mTaskStep = 0;
  mTaskWeightDone = 0;
}

void SpreadConvolver::Pace(int elapsed) {
  if (mTaskBlock < 0) return;
  const int total = TaskSteps();
  // A step starts while the work done lags what the elapsed frames have
  // earned; at the partition's end everything is due.
  const int64_t target = (mTaskWeight * elapsed + mBlock - 1) / mBlock;
  while (mTaskStep < total && mTaskWeightDone < target) {
    mTaskWeightDone += StepWeight(mTaskStep);
    RunStep(mTaskStep++);
  }
}

void SpreadConvolver::RunStep(int step) {
  mWorkDone += StepWeight(step);
  const int transform = mFFT.StepCount();
  const int multiply = 2 * mBlock / mFFT.StepPoints();
  if (step < transform) {
    mFFT.ForwardStep(Slot(mTaskBlock), step, true);
  } else if ((step -= transform) < multiply) {
    MultiplyChunk(step);
  } else if ((step -= multiply) < transform) {
    mFFT.InverseStep(mSum.Get(), step);
  } else {
    OverlapChunk(step - transform);
  }
}

void SpreadConvolver::MultiplyChunk(int chunk) {
  const int piece = mFFT.StepPoints();
  const int p0 = chunk * piece, p1 = p0 + piece;
  const size_t doubles = 4 * static_cast<size_t>(mBlock);
  const int* mirror = mFFT.MirrorTable();
  double* s = mSum.Get();
  for (int q = 0; q < mParts; ++q) {
    const int64_t block = mTaskBlock - q;
    if (block < 0) break;
    const double* x = Slot(block);
    const double* a = mSpectraA.Get() + static_cast<size_t>(q) * doubles;
    SplitRadixFFT::MultiplySpectra(a + 2 * p0, x + 2 * p0, s + 2 * p0, piece, q > 0);
    if (mShared) continue;
    // The other channel's share: D times the conjugate of the mirrored bin.
    const double* d = mSpectraD.Get() + static_cast<size_t>(q) * doubles;
    for (int p = p0; p < p1; ++p) {
      const double dr = d[2 * p], di = d[2 * p + 1];
      const double yr = x[2 * mirror[p]], yi = -x[2 * mirror[p] + 1];
      s[2 * p] += dr * yr - di * yi;
      s[2 * p + 1] += dr * yi + di * yr;
    }
  }
}

void SpreadConvolver::OverlapChunk(int chunk) {
  const int piece = mFFT.StepPoints() / 2;
  const int j0 = chunk * piece, j1 = std::min(j0 + piece, mBlock);
  double* out = mOut[mTaskBlock & 1].Get();
  double* tail = mTail.Get();
  const double* first = mSum.Get();
  const double* second = first + 2 * static_cast<size_t>(mBlock);
  for (int j = 2 * j0; j < 2 * j1; ++j) {
    out[j] = first[j] + tail[j];
    tail[j] = second[j];
  }
}

void SpreadConvolver::Emit(double* out0, double* out1, int span, int64_t time) {
  if (mPlainDelay) {
    for (int c = 0; c < 2; ++c) {
      double* out = c == 0 ? out0 : out1;
      const double* ring = mRing[c].Get();
      const double gain = mGain[c];
      int64_t at = (time - mDelay[c]) % mRingSize;
      if (at < 0) at += mRingSize;
      int k = static_cast<int>(at);
      for (int j = 0; j < span;) {
        const int run = std::min(span - j, mRingSize - k);
        for (int i = 0; i < run; ++i) out[j + i] = gain * ring[k + i];
        j += run;
        k = 0;
      }
    }
    return;
  }
  // Frames of collecting partition m come from output partition m - 2.
  const int e = static_cast<int>(time % mBlock);
  const double* ready = mOut[(time / mBlock) & 1].Get() + 2 * static_cast<size_t>(e);
  for (int j = 0; j < span; ++j) {
    out0[j] = ready[2 * j];
    out1[j] = ready[2 * j + 1];
  }
}

void SpreadConvolver::Process(const double* const* in, double* const* out, int n) {
  if (n < 1) return;
  if (!Ready()) {
    std::memset(out[0], 0, sizeof(double) * static_cast<size_t>(n));
    std::memset(out[1], 0, sizeof(double) * static_cast<size_t>(n));
    return;
  }
  for (int i = 0; i < n;) {
    const int e = static_cast<int>(mTime % mBlock);
    const int span = std::min(n - i, mBlock - e);
    const int64_t time = mTime;
    Collect(in[0] + i, in[1] + i, span, true);
    mTime += span;
    if (!mPlainDelay) Pace(e + span);
    Emit(out[0] + i, out[1] + i, span, time);
    if (!mPlainDelay && e + span == mBlock) StartTask(time / mBlock);
    i += span;
  }
}

void SpreadConvolver::Replay() {
  const int64_t now = mTime;
  const int64_t m = now / mBlock;
  const int64_t first = std::max<int64_t>(0, m - mParts - 2);
  ZeroBuffer(mSlots);
  ZeroBuffer(mSum);
  ZeroBuffer(mOut[0]);
  ZeroBuffer(mOut[1]);
  ZeroBuffer(mTail);
  mTaskBlock = -1;
  mTaskStep = 0;
  mTaskWeightDone = 0;
  mTime = first * mBlock;
  double piece[2][256];
  while (mTime < now) {
    const int e = static_cast<int>(mTime % mBlock);
    const int span = static_cast<int>(std::min<int64_t>({now - mTime, mBlock - e, 256}));
    for (int j = 0; j < span; ++j) {
      const size_t at = static_cast<size_t>((mTime + j) % mRingSize);
      piece[0][j] = mRing[0].Get()[at];
      piece[1][j] = mRing[1].Get()[at];
    }
    const int64_t time = mTime;
    Collect(piece[0], piece[1], span, false);
    mTime += span;
    Pace(e + span);
    if (e + span == mBlock) StartTask(time / mBlock);
  }
  if (mTaskBlock >= 0) {
    while (mTaskStep < TaskSteps()) RunStep(mTaskStep++);
  }
}

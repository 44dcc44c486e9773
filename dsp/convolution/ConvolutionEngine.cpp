#include "dsp/convolution/ConvolutionEngine.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "dsp/convolution/DenormalFlush.h"
#include "dsp/convolution/PartitionLanes.h"
#include "dsp/convolution/SplitRadixFFT.h"
#include "dsp/convolution/ZeroBuffer.h"

namespace {

constexpr int kSampleBytes = static_cast<int>(sizeof(double));
// A partition of the impulse at or below this magnitude counts as silent.
constexpr double kImpulseSilence = 1e-15;
// An input partition at or below this magnitude (after flushing) counts as
// silent, and two input channels this close count as one signal.
constexpr double kInputSilence = 1e-12;

// Resizes to count elements, all zero; false when memory cannot be had.
template <class T>
bool ResizeZeroed(WDL_TypedBuf<T>& buf, int64_t count) {
  if (count < 0 || count > INT_MAX / static_cast<int64_t>(sizeof(T))) {
    buf.Resize(0);
    return false;
  }
  buf.Resize(static_cast<int>(count));
  if (buf.GetSize() != count) {
    buf.Resize(0);
    return false;
  }
  if (count > 0) std::memset(buf.Get(), 0, sizeof(T) * static_cast<size_t>(count));
  return true;
}

inline void Step(int& position, int blockCount) {
  if (++position >= blockCount) position = 0;
}

// Two arrays of n doubles into one of 2n, side by side, and back.
void Interleave(const double* a, const double* b, double* pairs, int n) {
  for (int i = 0; i < n; ++i) {
    pairs[2 * i] = a[i];
    pairs[2 * i + 1] = b[i];
  }
}

void Deinterleave(const double* pairs, double* a, double* b, int n) {
  for (int i = 0; i < n; ++i) {
    a[i] = pairs[2 * i];
    b[i] = pairs[2 * i + 1];
  }
}

}  // namespace

ConvolutionEngine::ConvolutionEngine() = default;

ConvolutionEngine::~ConvolutionEngine() = default;

int ConvolutionEngine::BlockCount() const {
  const int half = Half();
  if (half < 1 || impulseLength < 1) return 0;
  return static_cast<int>((static_cast<int64_t>(impulseLength) + half - 1) / half);
}

bool ConvolutionEngine::HistoryReady(int channel) const {
  const int64_t blockCount = BlockCount();
  const int half = Half();
  return blockCount > 0 && half > 0 && inputSpectra[channel].GetSize() == blockCount * 2 * fftSize &&
         overlap[channel].GetSize() == half;
}

int ConvolutionEngine::SetImpulse(ImpulseBuffer* impulse, int requestedSize, int offset, int maxLength,
                                  bool direct, bool keepChannels, bool clearOnDirect) {
  // An explicit size the transform cannot take would leave the impulse
  // untransformed and the output garbage.
  if (!direct && requestedSize > 0 && !SplitRadixFFT::IsSupportedSize(requestedSize)) return -1;
  if (offset < 0) offset = 0;

  int channels = impulse ? std::min(impulse->GetNumChannels(), kMaxChannels) : 0;
  int usable[kMaxChannels] = {0, 0};
  int length = 0;
  for (int x = 0; x < channels; ++x) {
    int n = impulse->GetLength(x) - offset;
    if (maxLength > 0) n = std::min(n, maxLength);
    usable[x] = std::max(n, 0);
    length = std::max(length, usable[x]);
  }
  if (channels >= 2 && !keepChannels) {
    const int length0 = impulse->GetLength(0);
    bool identical = true;
    for (int x = 1; x < channels && identical; ++x) {
      identical = impulse->GetLength(x) == length0 &&
                  (length0 == 0 || std::memcmp(impulse->GetSamples(x), impulse->GetSamples(0),
                                               sizeof(double) * static_cast<size_t>(length0)) == 0);
    }
    if (identical) channels = 1;
  }
  impulseLength = length;
  // Kept at 1 or more so that channel-to-impulse mapping never yields -1;
  // an empty impulse is told by its length.
  impulseChannelCount = std::max(channels, 1);
  for (int x = channels; x < kMaxChannels; ++x) {
    impulseSpectra[x].Resize(0);
    impulseZeroFlags[x].Resize(0);
  }

  if (direct) {
    fftSize = 0;
    // Coming back to transform mode rebuilds the histories.
    historyFFTSize = historyBlockCount = -1;
    for (int x = 0; x < channels; ++x) {
      impulseZeroFlags[x].Resize(0);
      if (!ResizeZeroed(impulseSpectra[x], usable[x])) continue;
      // Stored reversed, so each output is a forward dot product with the history.
      const double* src = impulse->GetSamples(x) + offset;
      double* dst = impulseSpectra[x].Get();
      for (int m = 0; m < usable[x]; ++m) dst[m] = src[usable[x] - 1 - m];
    }
    if (clearOnDirect) {
      for (int x = 0; x < kMaxChannels; ++x) {
        inputQueues[x].Clear();
        directHistory[x].Clear();
        outputQueues[x].Clear();
      }
    }
    return 0;
  }

  int size = requestedSize;
  if (size <= 0) {
    int64_t limit = size < -15 ? -2 * static_cast<int64_t>(size) : SplitRadixFFT::kMaxSize;
    limit = std::min<int64_t>(limit, SplitRadixFFT::kMaxSize);
    size = 32;
    while (size < 2 * static_cast<int64_t>(length) && size < limit) size *= 2;
  }
  fftSize = size;
  // The transform's tables are made here, not by the audio thread's first
  // partition.
  SplitRadixFFT::InitFFT(fftSize);
  const int half = Half();
  const int blockCount = BlockCount();
  const int points = fftSize;
  const double scale = 1.0 / fftSize;

  for (int x = 0; x < channels; ++x) {
    const int partner = x < channels - 1 ? x + 1 : -1;
    if (!ResizeZeroed(impulseSpectra[x], static_cast<int64_t>(blockCount) * 2 * points) ||
        !ResizeZeroed(impulseZeroFlags[x], blockCount)) {
      // Out of memory: run as an empty impulse rather than half a one.
      impulseLength = 0;
      for (int y = 0; y < kMaxChannels; ++y) {
        impulseSpectra[y].Resize(0);
        impulseZeroFlags[y].Resize(0);
      }
      break;
    }
    const double* own = impulse->GetSamples(x) + offset;
    const double* other = partner >= 0 ? impulse->GetSamples(partner) + offset : nullptr;
    for (int b = 0; b < blockCount; ++b) {
      double* block = impulseSpectra[x].Get() + static_cast<size_t>(b) * 2 * points;
      const int start = b * half;
      const int piece = std::min(half, length - start);
      double max0 = 0.0, max1 = 0.0;
      for (int i = 0; i < piece; ++i) {
        const int n = start + i;
        const double s0 = n < usable[x] ? own[n] : 0.0;
        const double s1 = other && n < usable[partner] ? other[n] : 0.0;
        max0 = std::max(max0, std::fabs(s0));
        max1 = std::max(max1, std::fabs(s1));
        block[2 * i] = FlushSample(s0 * scale);
        block[2 * i + 1] = FlushSample(s1 * scale);
      }
      if (max0 > kImpulseSilence || max1 > kImpulseSilence) {
        impulseZeroFlags[x].Get()[b] = max0 > kImpulseSilence ? 2 : 1;
        SplitRadixFFT::RunFFT(block, points, 0);
      } else {
        impulseZeroFlags[x].Get()[b] = 0;
        std::memset(block, 0, sizeof(double) * 2 * static_cast<size_t>(piece));
      }
    }
  }

  // Histories sized for another transform or partition count would be
  // indexed out of bounds: have the next Add rebuild them.
  if (fftSize != historyFFTSize || BlockCount() != historyBlockCount) processChannelCount = -1;
  // Sized here so that Avail does not allocate on the audio thread.
  workBuffer.Resize(4 * fftSize, false);
  laneBuffer.Resize(LaneBufferDoubles(), false);
  return half;
}

void ConvolutionEngine::ResetChannelCount() { processChannelCount = -1; }

void ConvolutionEngine::Reset() {
  for (int x = 0; x < kMaxChannels; ++x) {
    historyPosition[x] = 0;
    inputQueues[x].SetMaxSpareBlocks(-1);
    inputQueues[x].Clear();
    directHistory[x].Clear();
    outputQueues[x].Clear();
    ZeroBuffer(inputSpectra[x]);
    ZeroBuffer(inputZeroFlags[x]);
    ZeroBuffer(overlap[x]);
  }
}

void ConvolutionEngine::RebuildHistories(int channels) {
  processChannelCount = channels;
  historyPosition[0] = historyPosition[1] = 0;
  const int blockCount = BlockCount();
  const int half = Half();
  const bool passThrough = impulseLength < 1 || blockCount == 0;

  // Channels that lag behind are padded with silence so that a sample
  // added now comes out of every channel at the same time.
  int pending[kMaxChannels];
  int most = 0;
  for (int x = 0; x < kMaxChannels; ++x) {
    pending[x] = inputQueues[x].Available() + outputQueues[x].Available();
    if (x < channels) most = std::max(most, pending[x]);
  }
  for (int x = 0; x < kMaxChannels; ++x) {
    if (x < channels) {
      if (passThrough) {
        const int bytes = inputQueues[x].Available();
        void* dest = bytes > 0 ? outputQueues[x].Add(nullptr, bytes) : nullptr;
        if (dest) inputQueues[x].GetToBuf(0, dest, bytes);
        inputQueues[x].Clear();
      }
      if (pending[x] < most) outputQueues[x].Add(nullptr, most - pending[x]);
    } else {
      inputQueues[x].Clear();
      outputQueues[x].Clear();
    }
    ResizeZeroed(inputZeroFlags[x], blockCount);
    ResizeZeroed(inputSpectra[x], x < channels ? static_cast<int64_t>(blockCount) * 2 * fftSize : 0);
    ResizeZeroed(overlap[x], x < channels ? half : 0);
  }
  historyFFTSize = fftSize;
  historyBlockCount = blockCount;
}

void ConvolutionEngine::Add(const double* const* in, int frames, int channels) {
  if (frames < 0 || frames > INT_MAX / kSampleBytes || channels < 1) return;
  channels = std::min(channels, kMaxChannels);
  if (fftSize < 1) {
    AddDirect(in, frames, channels);
    return;
  }
  if (channels != processChannelCount) RebuildHistories(channels);
  const bool passThrough = impulseLength < 1 || BlockCount() == 0;
  const int bytes = frames * kSampleBytes;
  for (int x = 0; x < channels; ++x) {
    const double* src = in ? in[x] : nullptr;
    if (passThrough) {
      outputQueues[x].Add(src, bytes);
    } else if (HistoryReady(x)) {
      inputQueues[x].Add(src, bytes);
    }
  }
}

void ConvolutionEngine::AddDirect(const double* const* in, int frames, int channels) {
  processChannelCount = channels;
  const int bytes = frames * kSampleBytes;
  for (int x = 0; x < channels; ++x) {
    const int impulseChannel = x < impulseChannelCount ? x : x - impulseChannelCount;
    const int taps = impulseSpectra[impulseChannel].GetSize();
    const double* src = in ? in[x] : nullptr;
    if (taps == 0 || impulseLength < 1) {
      outputQueues[x].Add(src, bytes);
      continue;
    }
    ByteQueue& history = directHistory[x];
    // Missing history is silence before the oldest sample kept, never
    // after it (that would shift the kept samples in time).
    const int have = history.Available() / kSampleBytes;
    if (have < taps && !history.AddZerosAtFront((taps - have) * kSampleBytes)) continue;
    if (!history.Add(src, bytes)) continue;
    double* out = static_cast<double*>(outputQueues[x].Add(nullptr, bytes));
    if (out) {
      const double* base = static_cast<const double*>(history.Get());
      const int start = history.Available() / kSampleBytes - frames;
      const double* reversed = impulseSpectra[impulseChannel].Get();
      for (int j = 0; j < frames; ++j) {
        const double* window = base + start + j - (taps - 1);
        double sum = 0.0;
        for (int m = 0; m < taps; ++m) sum += reversed[m] * window[m];
        out[j] = sum;
      }
    }
    history.Advance(bytes);
  }
}

// The queue's next bytes where they lie, or copied into spare when they
// straddle two blocks (or are short, the rest of spare then as it was).
const double* ConvolutionEngine::Peek(const BlockQueue& queue, double* spare, int bytes) {
  if (const void* there = queue.Peek(bytes)) return static_cast<const double*>(there);
  queue.GetToBuf(0, spare, bytes);
  return spare;
}

// What the partitions of one channel need, worked out once per Avail, and
// the partition in hand.
struct ConvolutionEngine::ChannelRun {
  int ch = 0;
  int next = 0;
  int impulseChannel = 0;
  bool hasNext = false;
  bool pairMode = false;
  bool tryMono = false;
  unsigned char* flags = nullptr;
  unsigned char* nextFlags = nullptr;
  const unsigned char* impulseFlags = nullptr;
  const double* impulse = nullptr;
  double* work = nullptr;   // 2 x points: the products, then their inverse
  double* own = nullptr;    // half: the input, later the output
  double* other = nullptr;  // half: the same for channel ch + 1
  // The partition in hand.
  int position = 0;
  double* slot = nullptr;
  bool mono = false;
  bool nonSilent = false;
};

bool ConvolutionEngine::StartRun(int ch, bool noMonoInput, double* work, ChannelRun& run) {
  if (!HistoryReady(ch)) return false;
  const int points = fftSize;
  const int blockCount = BlockCount();
  const int lastImpulse = impulseChannelCount - 1;
  run.ch = ch;
  run.impulseChannel = ch < impulseChannelCount ? ch : lastImpulse;
  if (impulseSpectra[run.impulseChannel].GetSize() != static_cast<int64_t>(blockCount) * 2 * points) return false;

  run.next = ch + 1;
  run.hasNext = run.next < processChannelCount && HistoryReady(run.next);
  run.pairMode = impulseChannelCount == 1 && run.hasNext &&
                 inputQueues[ch].Available() == inputQueues[run.next].Available() &&
                 outputQueues[ch].Available() == outputQueues[run.next].Available();
  run.tryMono = !run.pairMode && !noMonoInput;
  run.flags = inputZeroFlags[ch].GetSize() == blockCount ? inputZeroFlags[ch].Get() : nullptr;
  run.nextFlags =
      run.hasNext && inputZeroFlags[run.next].GetSize() == blockCount ? inputZeroFlags[run.next].Get() : nullptr;
  run.impulseFlags = impulseZeroFlags[run.impulseChannel].GetSize() == blockCount
                         ? impulseZeroFlags[run.impulseChannel].Get()
                         : nullptr;
  run.impulse = impulseSpectra[run.impulseChannel].Get();
  run.work = work;
  run.own = work + 2 * static_cast<size_t>(points);
  run.other = run.own + Half();
  return true;
}

bool ConvolutionEngine::ReadPartition(ChannelRun& run) {
  const int ch = run.ch, next = run.next;
  const int half = Half();
  const int points = fftSize;
  const size_t spectrumDoubles = 2 * static_cast<size_t>(points);
  const int blockCount = BlockCount();
  const int halfBytes = half * kSampleBytes;
  const int lastImpulse = impulseChannelCount - 1;
  double* own = run.own;
  double* other = run.other;
  unsigned char* flags = run.flags;

  int& position = historyPosition[ch];
  Step(position, blockCount);
  run.position = position;
  double* slot = inputSpectra[ch].Get() + static_cast<size_t>(position) * spectrumDoubles;
  run.slot = slot;
  bool mono = false;
  if (run.pairMode) {
    // Read where the queues hold them; consumed once read.
    Step(historyPosition[next], blockCount);
    const double* input = Peek(inputQueues[ch], own, halfBytes);
    const double* nextInput = Peek(inputQueues[next], other, halfBytes);
    PartitionLanes::InterleaveFlushed(input, nextInput, slot, half);
    inputQueues[ch].Advance(halfBytes);
    inputQueues[next].Advance(halfBytes);
  } else {
    inputQueues[ch].GetToBuf(0, own, halfBytes);
    inputQueues[ch].Advance(halfBytes);
    if (run.tryMono) {
      mono = run.hasNext && run.impulseChannel != lastImpulse &&
             inputQueues[next].GetToBuf(0, other, halfBytes) == halfBytes;
      for (int i = 0; i < half && mono; ++i) mono = std::fabs(own[i] - other[i]) <= kInputSilence;
      if (!mono) {
        run.tryMono = false;
      } else {
        // The older partitions in the ring must be shared ones too, or
        // channel ch + 1's part of them would be missing.
        for (int k = 1; k < blockCount && mono; ++k) {
          const int older = (position - k + blockCount) % blockCount;
          if (!flags || flags[older] == 2) mono = false;
        }
      }
    }
    for (int i = 0; i < half; ++i) {
      slot[2 * i] = FlushSample(own[i]);
      slot[2 * i + 1] = 0.0;
    }
  }
  run.mono = mono;

  bool nonSilent = false;
  for (int i = 0; i < points && !nonSilent; ++i) nonSilent = std::fabs(slot[i]) > kInputSilence;
  run.nonSilent = nonSilent;
  // Without flags every slot takes part in the products, so every slot
  // must be a spectrum.
  if (!nonSilent && flags) return false;
  std::memset(slot + points, 0, sizeof(double) * static_cast<size_t>(points));
  return true;
}

bool ConvolutionEngine::MultiplyPartition(ChannelRun& run) {
  const int ch = run.ch, next = run.next, position = run.position;
  const int half = Half();
  const int points = fftSize;
  const size_t spectrumDoubles = 2 * static_cast<size_t>(points);
  const int blockCount = BlockCount();
  const int halfBytes = half * kSampleBytes;
  unsigned char* flags = run.flags;
  double* work = run.work;

  if (flags) flags[position] = run.nonSilent ? (run.mono ? 1 : 2) : 0;

  int required = 2;
  if (run.mono) {
    required = 1;
    inputQueues[next].Advance(halfBytes);
    int& nextPosition = historyPosition[next];
    Step(nextPosition, blockCount);
    std::memcpy(inputSpectra[next].Get() + static_cast<size_t>(nextPosition) * spectrumDoubles, run.slot,
                sizeof(double) * spectrumDoubles);
    // The copied slot brings its flag along: a silent slot is not a
    // spectrum, and a stale flag would let channel ch + 1 use it later.
    if (run.nextFlags) run.nextFlags[nextPosition] = flags ? flags[position] : 1;
  }

  bool any = false;
  const double* spectra = inputSpectra[ch].Get();
  for (int i = 0; i < blockCount; ++i) {
    if (run.impulseFlags && run.impulseFlags[i] < required) continue;
    int index = position - i;
    if (index < 0) index += blockCount;
    if (flags && flags[index] == 0) continue;
    const double* h = run.impulse + static_cast<size_t>(i) * spectrumDoubles;
    const double* x = spectra + static_cast<size_t>(index) * spectrumDoubles;
    SplitRadixFFT::MultiplySpectra(h, x, work, points, any);
    any = true;
  }
  if (!any) std::memset(work, 0, sizeof(double) * spectrumDoubles);
  return any;
}

void ConvolutionEngine::WritePartition(ChannelRun& run, const double* result, int stride) {
  const int half = Half();
  const int halfBytes = half * kSampleBytes;
  // The real parts of the first half of the inverse, then of the second:
  // complex point j at result[2 j stride].
  const size_t step = 2 * static_cast<size_t>(stride);
  const double* first = result;
  const double* second = result + static_cast<size_t>(half) * step;
  // Written straight into the output queues (into the run's scratch when
  // a queue cannot grow: that output is lost, as Add would lose it).
  void* queued = outputQueues[run.ch].Append(halfBytes);
  double* own = queued ? static_cast<double*>(queued) : run.own;
  double* tail = overlap[run.ch].Get();
  if ((run.pairMode || run.mono) && stride == 1) {
    void* nextQueued = outputQueues[run.next].Append(halfBytes);
    double* other = nextQueued ? static_cast<double*>(nextQueued) : run.other;
    PartitionLanes::OverlapAddPair(first, second, tail, overlap[run.next].Get(), own, other, half);
    return;
  }
  for (int j = 0; j < half; ++j) {
    own[j] = first[j * step] + tail[j];
    tail[j] = second[j * step];
  }
  if (run.pairMode || run.mono) {
    // The imaginary parts carry channel ch + 1.
    void* nextQueued = outputQueues[run.next].Append(halfBytes);
    double* other = nextQueued ? static_cast<double*>(nextQueued) : run.other;
    double* nextTail = overlap[run.next].Get();
    for (int j = 0; j < half; ++j) {
      other[j] = first[j * step + stride] + nextTail[j];
      nextTail[j] = second[j * step + stride];
    }
  }
}

void ConvolutionEngine::ProcessChannel(int ch, int want, bool noMonoInput, bool& pairMode) {
  pairMode = false;
  ChannelRun run;
  if (!StartRun(ch, noMonoInput, workBuffer.Get(), run)) return;
  pairMode = run.pairMode;
  const int halfBytes = Half() * kSampleBytes;
  const int64_t wantBytes = static_cast<int64_t>(want) * kSampleBytes;
  while (inputQueues[ch].Available() >= halfBytes && outputQueues[ch].Available() < wantBytes) {
    if (ReadPartition(run)) SplitRadixFFT::RunFFT(run.slot, fftSize, 0);
    if (MultiplyPartition(run)) SplitRadixFFT::RunFFT(run.work, fftSize, 1);
    WritePartition(run, run.work, 1);
  }
}

bool ConvolutionEngine::ChannelsInStep() const {
  return channelLanes && processChannelCount == 2 && impulseChannelCount == 2 && HistoryReady(0) && HistoryReady(1) &&
         inputQueues[0].Available() == inputQueues[1].Available() &&
         outputQueues[0].Available() == outputQueues[1].Available() &&
         laneBuffer.GetSize() == LaneBufferDoubles();
}

void ConvolutionEngine::ProcessBothChannels(int want, bool noMonoInput) {
  ChannelRun a, b;
  double* lanes = laneBuffer.Get();
  double* pairs = lanes + 2 * static_cast<size_t>(fftSize) + static_cast<size_t>(Half());
  if (!StartRun(0, noMonoInput, workBuffer.Get(), a) || !StartRun(1, noMonoInput, lanes, b)) return;
  const int points = fftSize;
  const int halfBytes = Half() * kSampleBytes;
  const int64_t wantBytes = static_cast<int64_t>(want) * kSampleBytes;
  // Both channels' queues move alike, so they meet this test together.
  while (inputQueues[0].Available() >= halfBytes && outputQueues[0].Available() < wantBytes &&
         inputQueues[1].Available() >= halfBytes && outputQueues[1].Available() < wantBytes) {
    const bool forwardA = ReadPartition(a);
    if (a.mono) {
      // One transform serves both channels.
      if (forwardA) SplitRadixFFT::RunFFT(a.slot, points, 0);
      if (MultiplyPartition(a)) SplitRadixFFT::RunFFT(a.work, points, 1);
      WritePartition(a, a.work, 1);
      continue;
    }
    const bool forwardB = ReadPartition(b);
    if (forwardA && forwardB) {
      Interleave(a.slot, b.slot, pairs, 2 * points);
      SplitRadixFFT::RunFFTPair(pairs, points, 0);
      Deinterleave(pairs, a.slot, b.slot, 2 * points);
    } else {
      if (forwardA) SplitRadixFFT::RunFFT(a.slot, points, 0);
      if (forwardB) SplitRadixFFT::RunFFT(b.slot, points, 0);
    }
    const bool inverseA = MultiplyPartition(a);
    const bool inverseB = MultiplyPartition(b);
    if (inverseA && inverseB) {
      Interleave(a.work, b.work, pairs, 2 * points);
      SplitRadixFFT::RunFFTPair(pairs, points, 1);
      WritePartition(a, pairs, 2);
      WritePartition(b, pairs + 1, 2);
    } else {
      if (inverseA) SplitRadixFFT::RunFFT(a.work, points, 1);
      if (inverseB) SplitRadixFFT::RunFFT(b.work, points, 1);
      WritePartition(a, a.work, 1);
      WritePartition(b, b.work, 1);
    }
  }
}

int ConvolutionEngine::Avail(int want, bool noMonoInput) {
  if (fftSize < 1) return outputQueues[0].Available() / kSampleBytes;
  if (processChannelCount < 1) return 0;
  workBuffer.Resize(4 * fftSize, false);
  if (workBuffer.GetSize() == 4 * fftSize) {
    // Two channels in step transform together; whatever is left (a pair
    // out of step, a mono impulse, one channel) goes one channel at a time.
    if (ChannelsInStep()) ProcessBothChannels(want, noMonoInput);
    for (int ch = 0; ch < processChannelCount; ++ch) {
      bool pairMode = false;
      ProcessChannel(ch, want, noMonoInput, pairMode);
      if (pairMode) ++ch;
    }
  }
  int ready = INT_MAX;
  for (int ch = 0; ch < processChannelCount; ++ch) {
    ready = std::min(ready, outputQueues[ch].Available() / kSampleBytes);
  }
  return ready;
}

double** ConvolutionEngine::Get() {
  for (int ch = 0; ch < kMaxChannels; ++ch) {
    outputPointers[ch] =
        ch < processChannelCount ? static_cast<double*>(outputQueues[ch].Get()) : nullptr;
  }
  return outputPointers;
}

void ConvolutionEngine::Advance(int n) {
  if (n <= 0) return;
  const int bytes = n > INT_MAX / kSampleBytes ? INT_MAX : n * kSampleBytes;
  for (int ch = 0; ch < processChannelCount; ++ch) outputQueues[ch].Advance(bytes);
}

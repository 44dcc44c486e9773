#pragma once

#include "dsp/convolution/BlockQueue.h"
#include "dsp/convolution/ByteQueue.h"
#include "dsp/convolution/ImpulseBuffer.h"
#include "framework/containers/WDL_TypedBuf.h"

// Convolves one or two channels of a continuous stream with an impulse
// response, by uniformly partitioned overlap-add FFT convolution (or by
// direct convolution in direct mode). Partitions are half the transform
// size; impulse and input partitions are kept as spectra and multiplied
// and summed in the frequency domain, one inverse transform per partition.
//
// Two channels share one complex transform when the impulse is mono (pair
// mode: left in the real part, right in the imaginary part) or when both
// input channels carry the same signal while the impulse has two channels
// (mono input). Silent partitions are flagged and skipped.
//
// Protocol of one block of n frames:
//   engine.Add(in, n, 2);
//   const int k = std::min(engine.Avail(n), n);
//   double** ready = engine.Get();   // k samples per channel
//   ... copy them out ...
//   engine.Advance(k);
// After SetImpulse, Reset() and Add() of GetLatency() frames of zeros make
// every later block find n samples ready: the output is then the exact
// convolution delayed by GetLatency() samples.
//
// Not thread-safe; all calls come from one thread at a time. SetImpulse,
// and the first Add after a channel-count change or a new transform size,
// allocate; once the queues have reached their working size, Add, Avail,
// Get and Advance do not.
class ConvolutionEngine {
 public:
  static constexpr int kMaxChannels = 2;

  ConvolutionEngine();
  ~ConvolutionEngine();
  ConvolutionEngine(const ConvolutionEngine&) = delete;
  ConvolutionEngine& operator=(const ConvolutionEngine&) = delete;

  // Loads an impulse and returns the latency in samples: fftSize / 2 in
  // transform mode, 0 in direct mode.
  //   fftSize: a power of two from 2 to 2^19; 0 or less chooses one, the
  //     smallest from 32 up that holds twice the impulse, at most 2^19 and
  //     at most -2 x fftSize when fftSize < -15.
  //   offset, maxLength: the impulse used starts at sample offset and is at
  //     most maxLength long when maxLength > 0.
  //   direct: convolve sample by sample (no transform, no latency).
  //   keepChannels: keep two identical impulse channels as two.
  //   clearOnDirect: in direct mode, drop all queued input and output.
  // An fftSize that is neither 0 or less nor a supported power of two is
  // refused: nothing changes and the result is -1.
  // In transform mode the queues are kept; when the transform size or the
  // partition count changes, the next Add rebuilds the input histories.
  int SetImpulse(ImpulseBuffer* impulse, int fftSize = -1, int offset = 0, int maxLength = 0,
                 bool direct = false, bool keepChannels = false, bool clearOnDirect = true);

  // The next Add rebuilds the input histories.
  void ResetChannelCount();
  // Empties every queue and history; the impulse is kept.
  void Reset();

  // Queues frames samples of channels channels (1 or 2). A null in, or a
  // null channel pointer, stands for zeros.
  void Add(const double* const* in, int frames, int channels);
  // Convolves queued input until want samples are ready in every channel or
  // the input runs short, and returns the number ready in every channel (it
  // may exceed want). 0 before any Add.
  int Avail(int want, bool noMonoInput = false);
  // Per channel, the first ready sample (null for a channel with none).
  // Valid until the next Add, Avail or Advance.
  double** Get();
  // Consumes n ready samples of every channel.
  void Advance(int n);

  // Whether two channels with impulses of their own take their transforms
  // together (the default); off, one channel after the other. Both give the
  // same bits: the switch is for tests and benchmarks.
  void SetChannelLanes(bool on) { channelLanes = on; }

  int GetFFTSize() const { return fftSize; }
  int GetLatency() const { return fftSize / 2; }
  int GetImpulseLength() const { return impulseLength; }
  int GetImpulseChannelCount() const { return impulseChannelCount; }

 private:
  int Half() const { return fftSize / 2; }
  int BlockCount() const;
  bool HistoryReady(int channel) const;
  void RebuildHistories(int channels);
  void AddDirect(const double* const* in, int frames, int channels);
  struct ChannelRun;
  static const double* Peek(const BlockQueue& queue, double* spare, int bytes);
  bool StartRun(int ch, bool noMonoInput, double* work, ChannelRun& run);
  // Takes the next partition of the run's channel into its slot; whether
  // the slot then needs its forward transform.
  bool ReadPartition(ChannelRun& run);
  // The partition's products with the impulse into the run's work; whether
  // they need the inverse transform (otherwise the work is silence).
  bool MultiplyPartition(ChannelRun& run);
  // Overlap-adds the inverse transform (double i at result[i * stride]) into
  // the output queue.
  void WritePartition(ChannelRun& run, const double* result, int stride);
  void ProcessChannel(int ch, int want, bool noMonoInput, bool& pairMode);
  // Two channels with impulses of their own whose queues stand alike take
  // their partitions in turn, the transforms of both in one pass
  // (SplitRadixFFT::RunFFTPair): the same results, bit for bit, as
  // ProcessChannel of one channel after the other.
  bool ChannelsInStep() const;
  void ProcessBothChannels(int want, bool noMonoInput);
  // The second channel's work and input (as in workBuffer) and the two
  // channels' data side by side.
  int LaneBufferDoubles() const { return 2 * fftSize + Half() + 4 * fftSize; }

  WDL_TypedBuf<double> impulseSpectra[kMaxChannels];
  WDL_TypedBuf<unsigned char> impulseZeroFlags[kMaxChannels];
  int impulseChannelCount = 1;
  int fftSize = 0;
  int impulseLength = 0;
  int processChannelCount = -1;
  ByteQueue outputQueues[kMaxChannels];
  ByteQueue directHistory[kMaxChannels];
  BlockQueue inputQueues[kMaxChannels];
  int historyPosition[kMaxChannels] = {0, 0};
  WDL_TypedBuf<double> inputSpectra[kMaxChannels];
  WDL_TypedBuf<unsigned char> inputZeroFlags[kMaxChannels];
  WDL_TypedBuf<double> overlap[kMaxChannels];
  WDL_TypedBuf<double> workBuffer;
  WDL_TypedBuf<double> laneBuffer;
  double* outputPointers[kMaxChannels] = {nullptr, nullptr};
  // The sizes the input histories were last built for.
  int historyFFTSize = -1;
  int historyBlockCount = -1;
  bool channelLanes = true;
};

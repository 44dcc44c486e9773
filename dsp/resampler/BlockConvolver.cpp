#include "dsp/resampler/BlockConvolver.h"

#include "dsp/resampler/DirectStage.h"
#include "dsp/resampler/HalfBlockTransform.h"
#include "dsp/resampler/LowPassKernelCache.h"
#include "dsp/resampler/RealFFTPairPasses.h"
#include "dsp/resampler/RealFFTWithTables.h"
#include "dsp/resampler/VectorCopy.h"

#include <algorithm>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__)
#include <immintrin.h>
#endif
#include <utility>

void InitBlockConvolver(BlockConvolver* stage, LowPassKernel* kernel, int32_t mode,
                        double incomingDelay, int32_t paths) {
  std::memset(stage, 0, sizeof(*stage));
  stage->kernel = kernel;
  stage->mode = mode;
  stage->upShift = mode == kConvolveDouble ? 1 : 0;
  stage->workArea = AcquireFFTWorkArea(kernel->log2Block + 1);
  const int32_t b = 1 << kernel->log2Block;
  stage->blockSize = b;
  // An incoming delay counts twice at the doubled rate.
  const double delay = (mode == kConvolveDouble ? 2.0 : 1.0) * incomingDelay + kernel->delay;
  const int32_t whole = static_cast<int32_t>(delay);
  stage->dropCount = kernel->halfLength + b + whole;
  stage->fracDelay = delay - whole;
  if (mode == kConvolveHalve) stage->fracDelay *= 0.5;
  stage->history = new double[b];
  stage->fftBuffer = new double[2 * b];
  stage->lastOutput = new double[2 * b];
  if (paths == kFastestPaths) {
    if (KernelSuitsDirectStage(kernel)) stage->direct = NewDirectStage(stage);
    if (StageSuitsHalfBlockTransform(stage)) stage->half = NewHalfBlockTransform(stage);
  }
  // Only the full-size pair transform works in it, and writes before it reads.
  if (!stage->direct && !stage->half) stage->pairBuffer = new double[8 * b];
  ResetBlockConvolver(stage);
}

void ResetBlockConvolver(BlockConvolver* stage) {
  const int32_t b = stage->blockSize;
  if (stage->history) std::memset(stage->history, 0, b * sizeof(double));
  // Compact blocks swap fftBuffer with the history, so either may be B long.
  const int32_t blockBuffer = HalfBlockKeepsCompactBlocks(stage->half) ? b : 2 * b;
  if (stage->fftBuffer) std::memset(stage->fftBuffer, 0, blockBuffer * sizeof(double));
  if (stage->lastOutput) std::memset(stage->lastOutput, 0, 2 * b * sizeof(double));
  stage->need = b;
  stage->drop = stage->dropCount;
  stage->decimPhase = 0;
  if (stage->direct) ResetDirectStage(stage->direct);
}

void ReleaseBlockConvolver(BlockConvolver* stage) {
  if (stage->kernel) ReleaseLowPassKernel(stage->kernel);
  stage->kernel = nullptr;
  delete[] stage->history;
  delete[] stage->fftBuffer;
  delete[] stage->lastOutput;
  delete[] stage->pairBuffer;
  stage->history = stage->fftBuffer = stage->lastOutput = stage->pairBuffer = nullptr;
  DeleteDirectStage(stage->direct);
  stage->direct = nullptr;
  DeleteHalfBlockTransform(stage->half);
  stage->half = nullptr;
  if (stage->workArea) ReleaseFFTWorkArea(stage->workArea);
  stage->workArea = nullptr;
}

namespace {

// Moves `take` filter-rate samples into the current block at its fill
// position and writes the matching samples of the last block's output.
// All inputs of the chunk are read before any output is written, so *out
// may alias the input.
// The moves of one chunk, two doubles a step: the last block's output out,
// the history into the previous block, the new input (x) into the current
// block and the history. x(i) reads the input, out(i, y) writes the output.
struct ChunkBuffers {
  double* current;
  double* previous;
  double* history;
  const double* last;
};

#if defined(__SSE2__)
inline void MoveHistory(const ChunkBuffers& c, int32_t i) {
  _mm_storeu_pd(c.previous + i, _mm_loadu_pd(c.history + i));
}
#endif

#if defined(__x86_64__)
// The moves of TakeChunk eight doubles a step where the processor has
// AVX-512 (the same copies and the same products by 2); return how many
// samples they did.
__attribute__((target("avx512f"))) int32_t MoveChunkAvx512(const ChunkBuffers& c, const double* x, double* out,
                                                            int32_t take) {
  int32_t i = 0;
  for (; i + 8 <= take; i += 8) {
    // Each step reads its input before it writes the output there.
    const __m512d v = _mm512_loadu_pd(x + i);
    const __m512d y = _mm512_loadu_pd(c.last + i);
    _mm512_storeu_pd(c.previous + i, _mm512_loadu_pd(c.history + i));
    _mm512_storeu_pd(c.current + i, v);
    _mm512_storeu_pd(c.history + i, v);
    _mm512_storeu_pd(out + i, y);
  }
  return i;
}

// Zero-stuffing from an even filter sample on: four inputs make
// (2x, 0.0) pairs, eight filter samples a step.
__attribute__((target("avx512f"))) int32_t StuffChunkAvx512(const ChunkBuffers& c, const double* x, double* out,
                                                             int32_t take) {
  int32_t i = 0;
  const __m256d two = _mm256_set1_pd(2.0);
  for (; i + 8 <= take; i += 8) {
    const __m512d v = _mm512_maskz_expand_pd(0x55, _mm512_castpd256_pd512(_mm256_mul_pd(_mm256_loadu_pd(x + i / 2), two)));
    _mm512_storeu_pd(c.previous + i, _mm512_loadu_pd(c.history + i));
    _mm512_storeu_pd(c.current + i, v);
    _mm512_storeu_pd(c.history + i, v);
    _mm512_storeu_pd(out + i, _mm512_loadu_pd(c.last + i));
  }
  return i;
}

// The same moves four doubles a step where the processor has AVX2.
__attribute__((target("avx2"))) int32_t MoveChunkAvx2(const ChunkBuffers& c, const double* x, double* out,
                                                      int32_t take) {
  int32_t i = 0;
  for (; i + 4 <= take; i += 4) {
    // Each step reads its input before it writes the output there.
    const __m256d v = _mm256_loadu_pd(x + i);
    const __m256d y = _mm256_loadu_pd(c.last + i);
    _mm256_storeu_pd(c.previous + i, _mm256_loadu_pd(c.history + i));
    _mm256_storeu_pd(c.current + i, v);
    _mm256_storeu_pd(c.history + i, v);
    _mm256_storeu_pd(out + i, y);
  }
  return i;
}

// Zero-stuffing from an even filter sample on, four filter samples a step:
// two inputs make (2x, 0.0, 2y, 0.0).
__attribute__((target("avx2"))) int32_t StuffChunkAvx2(const ChunkBuffers& c, const double* x, double* out,
                                                       int32_t take) {
  int32_t i = 0;
  const __m128d two = _mm_set1_pd(2.0);
  for (; i + 4 <= take; i += 4) {
    const __m128d pair = _mm_mul_pd(_mm_loadu_pd(x + i / 2), two);
    // (2x, 2x, 2y, 2y) with zeros blended in, not products by zero.
    const __m256d v = _mm256_blend_pd(_mm256_permute4x64_pd(_mm256_castpd128_pd256(pair), 0x50),
                                      _mm256_setzero_pd(), 0xA);
    _mm256_storeu_pd(c.previous + i, _mm256_loadu_pd(c.history + i));
    _mm256_storeu_pd(c.current + i, v);
    _mm256_storeu_pd(c.history + i, v);
    _mm256_storeu_pd(out + i, _mm256_loadu_pd(c.last + i));
  }
  return i;
}
#endif

// Where a call's outputs go: the start-up samples it discards and the
// decimation phase it starts with, taken before its first chunk.
struct CallOutput {
  double* kept;     // the call's first output after the discard
  int32_t dropped;  // filter-rate samples the call discards
  int32_t phase;    // halving: the decimation phase at the call's start
};

CallOutput StartCall(const BlockConvolver* stage, double* out, int32_t n) {
  const int32_t dropped = stage->drop > 0 ? std::min(stage->drop, n) : 0;
  return {out + dropped, dropped, stage->decimPhase};
}

// TakeChunk of a stage with compact blocks (HalfBlockKeepsCompactBlocks).
// A halving stage's kept results go straight to their places in the call's
// output (the discard and the decimation done here), where all the inputs of
// the chunk are read before any output is written.
void TakeCompactChunk(BlockConvolver* stage, const double* in, int32_t firstFilterSample, int32_t take,
                      double* out, const CallOutput& call) {
  const int32_t pos = stage->blockSize - stage->need;
  if (stage->upShift) {
    // The inputs of the even filter positions, which keep the input's
    // parity (every call brings an even count).
    const int32_t first = (pos + 1) >> 1, end = (pos + take + 1) >> 1;
    CopyDoubles(stage->fftBuffer + first, in + ((firstFilterSample + 1) >> 1), end - first);
    CopyDoubles(out, stage->lastOutput + pos, take);
  } else {
    CopyDoubles(stage->fftBuffer + pos, in + firstFilterSample, take);
    // Call sample t lies at block position pos + t - firstFilterSample; the
    // kept ones past the discard have the block parity of the kept results.
    const int32_t parity = stage->half->keptParity;
    int32_t t = std::max(firstFilterSample, call.dropped);
    if (((pos + t - firstFilterSample - parity) & 1) != 0) ++t;
    const int32_t end = firstFilterSample + take;
    if (t < end) {
      const int32_t count = (end - t + 1) / 2;
      CopyDoubles(call.kept + (t - call.dropped - call.phase) / 2,
                  stage->lastOutput + (pos + t - firstFilterSample - parity) / 2, count);
    }
  }
  stage->need -= take;
}

void TakeChunk(BlockConvolver* stage, const double* in, int32_t firstFilterSample, int32_t take,
               double* out, const CallOutput& call) {
  if (HalfBlockKeepsCompactBlocks(stage->half)) {
    TakeCompactChunk(stage, in, firstFilterSample, take, out, call);
    return;
  }
  const int32_t b = stage->blockSize;
  const int32_t pos = b - stage->need;
  const ChunkBuffers c{stage->fftBuffer + pos, stage->fftBuffer + b + pos, stage->history + pos,
                       stage->lastOutput + pos};
  const int32_t inputs = stage->upShift ? (firstFilterSample + take + 1) >> 1 : firstFilterSample + take;
  const double* inFirst = in + (stage->upShift ? firstFilterSample >> 1 : firstFilterSample);
  const double* inEnd = in + inputs;
  // Read and written in one pass where the output is the input itself at
  // the same place or lies apart from it; anything else the long way.
  const bool apart = out + take <= inFirst || out >= inEnd;
#if defined(__x86_64__)
  static const bool kWide = RealFFTDetail::HasAvx512();
  static const bool kAvx2 = RealFFTDetail::HasAvx2();
#endif
  if (!stage->upShift && (out == inFirst || apart)) {
    int32_t i = 0;
#if defined(__x86_64__)
    if (kWide) {
      i = MoveChunkAvx512(c, inFirst, out, take);
    } else if (kAvx2) {
      i = MoveChunkAvx2(c, inFirst, out, take);
    }
#endif
#if defined(__SSE2__)
    for (; i + 2 <= take; i += 2) {
      // Each step reads its input before it writes the output there.
      const __m128d x = _mm_loadu_pd(inFirst + i);
      const __m128d y = _mm_loadu_pd(c.last + i);
      MoveHistory(c, i);
      _mm_storeu_pd(c.current + i, x);
      _mm_storeu_pd(c.history + i, x);
      _mm_storeu_pd(out + i, y);
    }
#endif
    for (; i < take; ++i) {
      const double x = inFirst[i];
      const double y = c.last[i];
      c.previous[i] = c.history[i];
      c.current[i] = x;
      c.history[i] = x;
      out[i] = y;
    }
  } else if (stage->upShift && apart) {
    // Zero-stuffing: input x becomes (2x, 0); the 2 keeps the passband gain.
    auto one = [&](int32_t i) {
      const int32_t f = firstFilterSample + i;
      const double x = (f & 1) ? 0.0 : 2.0 * in[f >> 1];
      c.previous[i] = c.history[i];
      c.current[i] = x;
      c.history[i] = x;
      out[i] = c.last[i];
    };
    int32_t i = 0;
    if (firstFilterSample & 1) one(i++);
#if defined(__x86_64__)
    if (kWide || kAvx2) {
      const ChunkBuffers from{c.current + i, c.previous + i, c.history + i, c.last + i};
      const double* x = in + ((firstFilterSample + i) >> 1);
      i += kWide ? StuffChunkAvx512(from, x, out + i, take - i) : StuffChunkAvx2(from, x, out + i, take - i);
    }
#endif
#if defined(__SSE2__)
    // From an even filter sample on, pairs (2x, 2 times 0.0 = 0.0).
    const __m128d two = _mm_set1_pd(2.0);
    for (; i + 2 <= take; i += 2) {
      const __m128d x = _mm_mul_pd(_mm_load_sd(in + ((firstFilterSample + i) >> 1)), two);
      MoveHistory(c, i);
      _mm_storeu_pd(c.current + i, x);
      _mm_storeu_pd(c.history + i, x);
      _mm_storeu_pd(out + i, _mm_loadu_pd(c.last + i));
    }
#endif
    for (; i < take; ++i) one(i);
  } else {
    std::memcpy(c.previous, c.history, take * sizeof(double));
    if (stage->upShift) {
      for (int32_t i = 0; i < take; ++i) {
        const int32_t f = firstFilterSample + i;
        c.current[i] = (f & 1) ? 0.0 : 2.0 * in[f >> 1];
      }
    } else {
      std::memcpy(c.current, in + firstFilterSample, take * sizeof(double));
    }
    std::memcpy(c.history, c.current, take * sizeof(double));
    std::memmove(out, c.last, take * sizeof(double));
  }
  stage->need -= take;
}

void TransformBlock(BlockConvolver* stage) {
  if (stage->half) {
    // The result goes straight to lastOutput; the block buffer is refilled.
    TransformHalfBlock(stage);
    return;
  }
  const int32_t n = 2 * stage->blockSize;
  double* a = stage->fftBuffer;
  FFTWorkArea* area = stage->workArea;
  RealFFTWithTables(n, 1, a, area->ip, area->w, area->bitReverse);
  MultiplyPackedSpectrum(n, a, stage->kernel->spectrum);
  RealFFTWithTables(n, -1, a, area->ip, area->w, area->bitReverse);
  // The first half is the filtered current block; the next block refills
  // the other buffer.
  std::swap(stage->fftBuffer, stage->lastOutput);
}

// TransformBlock of two stages in step, through a's pair buffer. Only the
// first half of a result is ever output, so the other needs no stores.
void TransformBlockPair(BlockConvolver* a, BlockConvolver* b) {
  if (a->half && b->half) {
    TransformHalfBlockPair(a, b);
    return;
  }
  FFTWorkArea* area = a->workArea;
  FilterPairWithTables(2 * a->blockSize, a->fftBuffer, b->fftBuffer, a->kernel->spectrum, area->ip, area->w,
                       area->bitReverse, a->pairBuffer, true);
  std::swap(a->fftBuffer, a->lastOutput);
  std::swap(b->fftBuffer, b->lastOutput);
}

}  // namespace

namespace {

// The discard of the start-up samples and the halving, once the chunks of
// a call are in: `taken` samples at *out. Returns the valid count.
int32_t FinishCall(BlockConvolver* stage, double** out, int32_t taken, const CallOutput& call) {
  if (stage->mode == kConvolveHalve && HalfBlockKeepsCompactBlocks(stage->half)) {
    // The chunks put the kept samples in place already.
    stage->drop -= call.dropped;
    const int32_t produced = taken - call.dropped;
    if (produced <= 0) return 0;
    *out = call.kept;
    stage->decimPhase = (call.phase + produced) & 1;
    return (produced + 1 - call.phase) / 2;
  }
  double* dst = *out;
  int32_t produced = taken;
  if (stage->drop > 0) {
    if (stage->drop >= produced) {
      stage->drop -= produced;
      return 0;
    }
    dst += stage->drop;
    produced -= stage->drop;
    stage->drop = 0;
    *out = dst;
  }

  if (stage->mode == kConvolveHalve) {
    const int32_t kept = (produced + 1 - stage->decimPhase) / 2;
    for (int32_t i = 0; i < kept; ++i) dst[i] = dst[2 * i + stage->decimPhase];
    stage->decimPhase = (stage->decimPhase + produced) & 1;
    produced = kept;
  }
  return produced;
}

}  // namespace

int32_t ConvolveBlock(BlockConvolver* stage, const double* in, double** out, int32_t count) {
  if (count <= 0) return 0;
  if (stage->direct) return ConvolveDirect(stage, in, out, count);
  double* dst = *out;
  const int32_t n = count << stage->upShift;
  const CallOutput call = StartCall(stage, dst, n);
  int32_t taken = 0;
  while (n - taken >= stage->need) {
    const int32_t take = stage->need;
    TakeChunk(stage, in, taken, take, dst + taken, call);
    taken += take;
    TransformBlock(stage);
    stage->need = stage->blockSize;
  }
  if (n > taken) {
    const int32_t take = n - taken;
    TakeChunk(stage, in, taken, take, dst + taken, call);
    taken += take;
  }
  return FinishCall(stage, out, taken, call);
}

bool BlockConvolversInStep(const BlockConvolver* a, const BlockConvolver* b) {
  // Both on the full-size transform (with a's pair buffer) or both on
  // half-size transforms of one kind.
  const bool compact = HalfBlockKeepsCompactBlocks(a->half);
  const bool samePath =
      a->half ? b->half && compact == HalfBlockKeepsCompactBlocks(b->half) : !b->half && a->pairBuffer;
  return a->kernel == b->kernel && a->mode == b->mode && a->blockSize == b->blockSize && a->need == b->need &&
         a->drop == b->drop && a->decimPhase == b->decimPhase && samePath && a->workArea && !a->direct && !b->direct;
}

int32_t ConvolveBlockPair(BlockConvolver* a, BlockConvolver* b, const double* inA, const double* inB, double** outA,
                          double** outB, int32_t count, int32_t* producedB) {
  if (!BlockConvolversInStep(a, b)) {
    const int32_t produced = ConvolveBlock(a, inA, outA, count);
    *producedB = ConvolveBlock(b, inB, outB, count);
    return produced;
  }
  if (count <= 0) {
    *producedB = 0;
    return 0;
  }
  double* dstA = *outA;
  double* dstB = *outB;
  const int32_t n = count << a->upShift;
  const CallOutput callA = StartCall(a, dstA, n), callB = StartCall(b, dstB, n);
  int32_t taken = 0;
  while (n - taken >= a->need) {
    const int32_t take = a->need;
    TakeChunk(a, inA, taken, take, dstA + taken, callA);
    TakeChunk(b, inB, taken, take, dstB + taken, callB);
    taken += take;
    TransformBlockPair(a, b);
    a->need = b->need = a->blockSize;
  }
  if (n > taken) {
    const int32_t take = n - taken;
    TakeChunk(a, inA, taken, take, dstA + taken, callA);
    TakeChunk(b, inB, taken, take, dstB + taken, callB);
    taken += take;
  }
  *producedB = FinishCall(b, outB, taken, callB);
  return FinishCall(a, outA, taken, callA);
}

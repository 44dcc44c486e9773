#include "tools/AlignedRender.h"

#include <algorithm>

#include "dsp/resampler/VectorCopy.h"

AlignedRender::AlignedRender(BlockProcessor& processor, int channels, int blockSize, bool compensateLatency,
                             Sink sink)
    : mProcessor(processor),
      mSink(std::move(sink)),
      mChannels(std::max(channels, 1)),
      mBlockSize(std::max(blockSize, 1)),
      mCompensate(compensateLatency) {
  const size_t c = static_cast<size_t>(mChannels), n = static_cast<size_t>(mBlockSize);
  mIn.assign(c, std::vector<float>(n, 0.0f));
  mOut.assign(c, std::vector<float>(n, 0.0f));
  mOutDouble.assign(c, std::vector<double>(n, 0.0));
  for (size_t i = 0; i < c; ++i) {
    mInPtrs.push_back(mIn[i].data());
    mOutPtrs.push_back(mOut[i].data());
    mSinkPtrs.push_back(nullptr);
  }
}

bool AlignedRender::Push(const float* const* input, size_t frames) {
  if (mFailed) return false;
  if (frames == 0) return true;
  if (!RunPreRoll()) return false;
  mFramesIn += frames;
  return Append(input, 0, frames, false);
}

bool AlignedRender::RunPreRoll() {
  if (mPreRollDone || !mCompensate) return true;
  mPreRollDone = true;
  // The first block tells the latency; RunBlock then sizes the pre-roll.
  const size_t block = static_cast<size_t>(mBlockSize);
  mPreRoll = block;
  if (!Append(nullptr, 0, block, true)) return false;
  return Append(nullptr, 0, static_cast<size_t>(mPreRoll - block), true);
}

bool AlignedRender::Append(const float* const* input, size_t offset, size_t frames, bool silence) {
  while (frames > 0 && !mFailed) {
    const size_t n = std::min(frames, static_cast<size_t>(mBlockSize - mFill));
    for (int c = 0; c < mChannels; ++c) {
      float* to = mIn[static_cast<size_t>(c)].data() + mFill;
      if (silence) {
        std::fill(to, to + n, 0.0f);
      } else {
        CopyFloats(to, input[c] + offset, static_cast<std::ptrdiff_t>(n));
      }
    }
    mFill += static_cast<int>(n);
    offset += n;
    frames -= n;
    if (mFill == mBlockSize && !RunBlock()) mFailed = true;
  }
  return !mFailed;
}

bool AlignedRender::RunBlock() {
  const int n = mFill;
  mFill = 0;
  if (n == 0) return true;
  mProcessor.ProcessBlock(mInPtrs.data(), mOutPtrs.data(), n);
  if (!mLatencyKnown) {
    mLatencyKnown = true;
    mLatency = mCompensate ? std::max(mProcessor.Latency(), 0) : 0;
    if (mCompensate) {
      // The latency rounded up to whole blocks, and never less than the
      // block that told it.
      const uint64_t block = static_cast<uint64_t>(mBlockSize);
      const uint64_t blocks = (static_cast<uint64_t>(mLatency) + block - 1) / block;
      mPreRoll = std::max<uint64_t>(blocks, 1) * block;
    }
    mToDrop = mPreRoll + static_cast<uint64_t>(mLatency);
  }
  const uint64_t skip = std::min<uint64_t>(mToDrop, static_cast<uint64_t>(n));
  mToDrop -= skip;
  // Never past the input's length: the tail of silence only flushes what
  // the plug-in still holds.
  const uint64_t wanted = mFramesIn > mFramesOut ? mFramesIn - mFramesOut : 0;
  const size_t count = static_cast<size_t>(std::min<uint64_t>(static_cast<uint64_t>(n) - skip, wanted));
  if (count == 0) return true;
  for (int c = 0; c < mChannels; ++c) {
    const float* from = mOut[static_cast<size_t>(c)].data() + skip;
    std::vector<double>& to = mOutDouble[static_cast<size_t>(c)];
    std::copy(from, from + count, to.begin());
    mSinkPtrs[static_cast<size_t>(c)] = to.data();
  }
  mFramesOut += count;
  return mSink(mSinkPtrs.data(), count);
}

bool AlignedRender::Finish() {
  if (mFailed) return false;
  if (mFramesIn == 0) return true;  // nothing to line up
  // Without a pre-roll a stream shorter than one block has not run yet: its
  // block runs now, which tells the latency. Otherwise the silence
  // continues the partial block, as a host that keeps playing would.
  if (!mLatencyKnown && !RunBlock()) return false;
  if (mCompensate && !Append(nullptr, 0, static_cast<size_t>(mLatency), true)) return false;
  if (!RunBlock()) return false;
  // Only a latency that grew during the run leaves the output short; it
  // keeps the input's length all the same.
  while (mFramesOut < mFramesIn) {
    const size_t n = static_cast<size_t>(std::min<uint64_t>(mFramesIn - mFramesOut, static_cast<uint64_t>(mBlockSize)));
    for (int c = 0; c < mChannels; ++c) {
      std::vector<double>& to = mOutDouble[static_cast<size_t>(c)];
      std::fill(to.begin(), to.begin() + static_cast<std::ptrdiff_t>(n), 0.0);
      mSinkPtrs[static_cast<size_t>(c)] = to.data();
    }
    mFramesOut += n;
    if (!mSink(mSinkPtrs.data(), n)) return false;
  }
  return true;
}

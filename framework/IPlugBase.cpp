#include "framework/IPlugBase.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "framework/LatencyDelayLine.h"
#include "framework/Utilities.h"
#include "graphics/IGraphics.h"

namespace {

// Parses "1-1 2-2": pairs of "%d-%d" separated by one blank each.
void ParseChannelIO(const char* text, WDL_PtrList<ChannelIO>& records, int& maxIn, int& maxOut) {
  maxIn = maxOut = 0;
  if (!text) return;
  const char* piece = text;
  while (true) {
    ChannelIO* io = new ChannelIO;
    if (std::sscanf(piece, "%d-%d", &io->mIn, &io->mOut) < 2) {
      // A piece with fewer numbers than a pair keeps the missing counts at 0.
      int in = 0;
      io->mIn = std::sscanf(piece, "%d", &in) == 1 ? in : 0;
      io->mOut = 0;
    }
    io->mIn = std::max(io->mIn, 0);
    io->mOut = std::max(io->mOut, 0);
    maxIn = std::max(maxIn, io->mIn);
    maxOut = std::max(maxOut, io->mOut);
    if (!records.Add(io)) delete io;
    const char* blank = std::strchr(piece, ' ');
    if (!blank) break;
    piece = blank + 1;
  }
}

}  // namespace

IPlugBase::IPlugBase(int nParams, const char* channelIOText, int nPresets, const char* effectName,
                     const char* productName, const char* makerName, int version, int uniqueId, int makerId,
                     int latency, bool, bool, bool, int apiId)
    : mUniqueID(uniqueId), mMakerID(makerId), mVersion(version), mAPI(apiId), mLatency(latency) {
  Trace("IPlugBase", __LINE__, "%s:%s", effectName, CurrentTime());

  for (int i = 0; i < nParams; ++i) {
    IParam* param = new IParam;
    if (!mParams.Add(param)) delete param;
  }
  for (int i = 0; i < nPresets; ++i) {
    IPreset* preset = new IPreset;
    std::snprintf(preset->mName, sizeof preset->mName, "%s %d", "empty", i);
    if (!mPresets.Add(preset)) delete preset;
  }

  CopyText(mEffectName, effectName);
  CopyText(mProductName, productName);
  CopyText(mMakerName, makerName);

  int maxIn = 0, maxOut = 0;
  ParseChannelIO(channelIOText, mChannelIO, maxIn, maxOut);

  mInputPtrs.Resize(maxIn);
  mOutputPtrs.Resize(maxOut);
  for (int i = 0; i < mInputPtrs.GetSize(); ++i) {
    InChannel* channel = new InChannel;
    channel->mSlot = mInputPtrs.Get() + i;
    *channel->mSlot = nullptr;
    if (!mInChannels.Add(channel)) delete channel;
  }
  for (int i = 0; i < mOutputPtrs.GetSize(); ++i) {
    OutChannel* channel = new OutChannel;
    channel->mSlot = mOutputPtrs.Get() + i;
    *channel->mSlot = nullptr;
    if (!mOutChannels.Add(channel)) delete channel;
  }
}

IPlugBase::~IPlugBase() {
  DeleteGraphics();
  mParams.Empty(true);
  mPresets.Empty(true);
  mInChannels.Empty(true);
  mOutChannels.Empty(true);
  mChannelIO.Empty(true);
  delete mDelayLine;
  mDelayLine = nullptr;
}

void IPlugBase::DeleteGraphics() {
  IGraphics* graphics = mGraphics;
  mGraphics = nullptr;
  delete graphics;
}

void IPlugBase::SetLatencyDelayLine(LatencyDelayLine* delayLine) {
  delete mDelayLine;
  mDelayLine = delayLine;
}

// ---- Defaults of the overridable operations ----------------------------------

void IPlugBase::Reset() { WDL_MutexLock lock(&mMutex); }

void IPlugBase::OnParamChange(int) { WDL_MutexLock lock(&mMutex); }

bool IPlugBase::IsStateAccessAllowed(int) { return true; }

void IPlugBase::ProcessBlock(double** inputs, double** outputs, int nFrames) {
  const int common = std::min(NInChannels(), NOutChannels());
  for (int i = 0; i < NOutChannels(); ++i) {
    if (!outputs[i]) continue;
    if (i < common && inputs[i]) {
      if (outputs[i] != inputs[i]) std::memcpy(outputs[i], inputs[i], static_cast<size_t>(nFrames) * sizeof(double));
    } else {
      std::memset(outputs[i], 0, static_cast<size_t>(nFrames) * sizeof(double));
    }
  }
}

// ---- Editor entry points --------------------------------------------------------

void IPlugBase::SetParameterFromGUI(int paramIdx, double normalized) {
  Trace("SetParameterFromGUI", __LINE__, "%d:%f", paramIdx, normalized);
  IParam* param = GetParam(paramIdx);
  if (!param) return;
  WDL_MutexLock lock(&mMutex);
  param->SetNormalized(normalized);
  NotifyHostParamValue(paramIdx, normalized);
  OnParamChange(paramIdx);
}

void IPlugBase::SetParameterFromGUI1(int paramIdx, double value, bool isNormalized) {
  IParam* param = GetParam(paramIdx);
  if (!param) return;
  const double normalized = isNormalized ? value : param->ToNormalizedParam(value);
  Trace("SetParameterFromGUI1", __LINE__, "%d:%f", paramIdx, normalized);
  WDL_MutexLock lock(&mMutex);
  param->SetNormalized(normalized);
  NotifyHostParamValue(paramIdx, normalized);
}

void IPlugBase::NotifyHostAllParamValues() {
  WDL_MutexLock lock(&mMutex);
  for (int i = 0; i < NParams(); ++i) NotifyHostParamValue(i, GetParam(i)->GetNormalized());
}

void IPlugBase::AttachGraphics(IGraphics* graphics) {
  if (!graphics) return;
  WDL_MutexLock lock(&mMutex);
  graphics->PrepDraw();
  for (int i = 0; i < NParams(); ++i) graphics->SetParameterFromPlug(i, GetParam(i)->GetNormalized(), true);
  mGraphics = graphics;
}

void IPlugBase::RedrawParamControls() {
  if (!mGraphics) return;
  for (int i = 0; i < NParams(); ++i) mGraphics->SetParameterFromPlug(i, GetParam(i)->Value(), false);
}

// ---- Buffers --------------------------------------------------------------------

void IPlugBase::SetLatency(int samples) {
  WDL_MutexLock lock(&mMutex);
  mLatency = samples;
  if (mDelayLine) mDelayLine->SetLength(samples);
}

void IPlugBase::SetBlockSize(int blockSize) {
  if (blockSize < 0) blockSize = 0;
  WDL_MutexLock lock(&mMutex);
  if (blockSize == mBlockSize) return;
  // The block frame writes up to the stored size into every scratch buffer,
  // so the size is taken only when all of them hold it; otherwise (too large
  // for a buffer, or no memory) the old size and buffers stay.
  const auto resizeAll = [this](int size) {
    bool held = true;
    for (int i = 0; i < NInChannels(); ++i) {
      WDL_TypedBuf<double>& scratch = mInChannels.Get(i)->mScratch;
      scratch.Resize(size, true);
      held = held && scratch.GetSize() == size;
    }
    for (int i = 0; i < NOutChannels(); ++i) {
      WDL_TypedBuf<double>& scratch = mOutChannels.Get(i)->mScratch;
      scratch.Resize(size, true);
      held = held && scratch.GetSize() == size;
    }
    return held;
  };
  const bool held = resizeAll(blockSize);
  if (!held) resizeAll(mBlockSize);  // shrinking back to what they held cannot fail
  // A buffer may have moved either way; inputs are always read from their scratch.
  for (int i = 0; i < NInChannels(); ++i) *mInChannels.Get(i)->mSlot = mInChannels.Get(i)->mScratch.Get();
  for (int i = 0; i < NOutChannels(); ++i) *mOutChannels.Get(i)->mSlot = mOutChannels.Get(i)->mScratch.Get();
  if (!held) return;
  mBlockSize = blockSize;
  ZeroScratchBuffers();
}

namespace {

void Zero(WDL_TypedBuf<double>& buffer) {
  if (buffer.Get()) std::memset(buffer.Get(), 0, static_cast<size_t>(buffer.GetSize()) * sizeof(double));
}

}  // namespace

void IPlugBase::ZeroScratchBuffers() {
  for (int i = 0; i < NInChannels(); ++i) Zero(mInChannels.Get(i)->mScratch);
  for (int i = 0; i < NOutChannels(); ++i) Zero(mOutChannels.Get(i)->mScratch);
}

void IPlugBase::SetInputChannelConnections(int idx, int n, bool connected) {
  const int end = static_cast<int>(std::min<long long>(static_cast<long long>(idx) + n, NInChannels()));
  for (int i = std::max(idx, 0); i < end; ++i) {
    InChannel* channel = mInChannels.Get(i);
    channel->mConnected = connected;
    if (!connected) {
      // A disconnected input reads its own scratch, which must not keep the
      // audio it last held.
      channel->mHostSource = nullptr;
      *channel->mSlot = channel->mScratch.Get();
      Zero(channel->mScratch);
    }
  }
}

void IPlugBase::SetOutputChannelConnections(int idx, int n, bool connected) {
  const int end = static_cast<int>(std::min<long long>(static_cast<long long>(idx) + n, NOutChannels()));
  for (int i = std::max(idx, 0); i < end; ++i) {
    OutChannel* channel = mOutChannels.Get(i);
    channel->mConnected = connected;
    if (!connected) {
      channel->mHostDestination = nullptr;
      *channel->mSlot = channel->mScratch.Get();
    }
  }
}

bool IPlugBase::IsInChannelConnected(int idx) const {
  const InChannel* channel = mInChannels.Get(idx);
  return channel && channel->mConnected;
}

bool IPlugBase::IsOutChannelConnected(int idx) const {
  const OutChannel* channel = mOutChannels.Get(idx);
  return channel && channel->mConnected;
}

void IPlugBase::AttachInputBuffers(int idx, int n, float** hostBuffers, int) {
  // The samples are converted block by block in ProcessBuffers, so a host
  // block longer than the announced block size never overruns the scratch.
  const int end = static_cast<int>(std::min<long long>(static_cast<long long>(idx) + n, NInChannels()));
  for (int i = std::max(idx, 0); i < end; ++i) {
    InChannel* channel = mInChannels.Get(i);
    if (!channel->mConnected) continue;
    channel->mHostSource = *hostBuffers++;
    *channel->mSlot = channel->mScratch.Get();
  }
}

void IPlugBase::AttachOutputBuffers(int idx, int n, float** hostBuffers) {
  const int end = static_cast<int>(std::min<long long>(static_cast<long long>(idx) + n, NOutChannels()));
  for (int i = std::max(idx, 0); i < end; ++i) {
    OutChannel* channel = mOutChannels.Get(i);
    if (!channel->mConnected) continue;
    *channel->mSlot = channel->mScratch.Get();
    channel->mHostDestination = *hostBuffers++;
  }
}

void IPlugBase::ConvertInputs(int offset, int nFrames) {
  for (int i = 0; i < NInChannels(); ++i) {
    InChannel* channel = mInChannels.Get(i);
    if (!channel->mConnected || !channel->mHostSource) continue;
    double* dst = channel->mScratch.Get();
    const float* src = channel->mHostSource + offset;
    for (int s = 0; s < nFrames; ++s) dst[s] = src[s];
  }
}

void IPlugBase::ConvertOutputs(int offset, int nFrames) {
  for (int i = 0; i < NOutChannels(); ++i) {
    OutChannel* channel = mOutChannels.Get(i);
    if (!channel->mConnected || !channel->mHostDestination) continue;
    const double* src = *channel->mSlot;
    float* dst = channel->mHostDestination + offset;
    for (int s = 0; s < nFrames; ++s) dst[s] = static_cast<float>(src[s]);
  }
}

template <class Frame>
void IPlugBase::RunInSlices(int nFrames, Frame frame) {
  if (nFrames <= 0) return;
  if (mBlockSize <= 0) SetBlockSize(nFrames);  // never announced: size once
  if (mBlockSize <= 0) {
    // No scratch could be had for any slice: nothing runs, the host hears silence.
    for (int i = 0; i < NOutChannels(); ++i) {
      OutChannel* channel = mOutChannels.Get(i);
      if (channel->mConnected && channel->mHostDestination) {
        std::memset(channel->mHostDestination, 0, sizeof(float) * static_cast<size_t>(nFrames));
      }
    }
    return;
  }
  for (int offset = 0; offset < nFrames; offset += mBlockSize) {
    const int n = std::min(mBlockSize, nFrames - offset);
    ConvertInputs(offset, n);
    frame(n);
    ConvertOutputs(offset, n);
  }
}

void IPlugBase::ProcessBuffers(int nFrames) {
  RunInSlices(nFrames, [this](int n) { ProcessDoubleBuffers(n); });
}

void IPlugBase::PassThroughBuffers(int nFrames) {
  RunInSlices(nFrames, [this](int n) { PassThroughDoubleBuffers(n); });
}

void IPlugBase::ProcessDoubleBuffers(int nFrames) {
  if (mLatency && mDelayLine) mDelayLine->Record(mInputPtrs.Get(), nFrames);
  ProcessBlock(mInputPtrs.Get(), mOutputPtrs.Get(), nFrames);
}

void IPlugBase::PassThroughDoubleBuffers(int nFrames) {
  if (mLatency && mDelayLine) {
    mDelayLine->Run(mInputPtrs.Get(), mOutputPtrs.Get(), nFrames);
  } else {
    IPlugBase::ProcessBlock(mInputPtrs.Get(), mOutputPtrs.Get(), nFrames);
  }
}

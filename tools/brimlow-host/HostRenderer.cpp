#include "tools/brimlow-host/HostRenderer.h"

#include <algorithm>
#include <cstring>

#include "platform/hitoolbox/Events.h"
#include "tools/CommandError.h"
#include "tools/brimlow-host/StandInHost.h"

namespace {

// The routine's own frame count when the host gives none.
constexpr int kFixedFrames = 32;
// Words of the custom data block the host reads: the ports' counts and
// whether the render record carries a frame count.
constexpr size_t kDataFrameCountFlag = hostwords::kPortDescriptorHasFrameCount;
constexpr size_t kRenderRecordWords = 32;

}  // namespace

HostRenderer::HostRenderer(StandInHost& host, uint32_t typeID, int32_t instance, int channels, Between between)
    : mHost(host), mTypeID(typeID), mInstance(instance), mChannels(channels), mBetween(std::move(between)) {
  const StructureRegistry::Instance* found = host.Registry().FindInstance(typeID, instance);
  if (!found || !found->routine || !found->dataBlock) {
    throw CommandError("the instance registered no render routine with the host");
  }
  mRoutine = reinterpret_cast<Routine>(found->routine);
  mDataBlock = reinterpret_cast<HostWord>(found->dataBlock);
  mInputPorts = found->inputs;
  mOutputPorts = found->outputs;
  const HostWord* data = static_cast<const HostWord*>(found->dataBlock);
  mHostCountsFrames = data[kDataFrameCountFlag] != 0;
  mPieceFrames = mHostCountsFrames ? std::max(host.Quantum(), 1) : kFixedFrames;
  // Every port has a buffer of a whole piece, so a routine rendering more
  // than it is given never writes past one.
  const size_t frames = static_cast<size_t>(std::max(mPieceFrames, kFixedFrames));
  mInScratch.assign(mInputPorts, std::vector<float>(frames, 0.0f));
  mOutScratch.assign(mOutputPorts, std::vector<float>(frames, 0.0f));
  mFailureBuffer.assign(frames, 0.0f);
  mCells.assign(mInputPorts + mOutputPorts, nullptr);
  mCallBlock.assign(hostwords::kCallBlockFirstBufferCell + mCells.size(), 0);
  mRenderRecord.assign(kRenderRecordWords, 0);
}

void HostRenderer::RenderPiece(int offset, int frames, float** inputs, float** outputs) {
  for (size_t p = 0; p < mInputPorts; ++p) {
    std::vector<float>& scratch = mInScratch[p];
    std::fill(scratch.begin(), scratch.end(), 0.0f);
    if (static_cast<int>(p) < mChannels) std::memcpy(scratch.data(), inputs[p] + offset, frames * sizeof(float));
    mCells[p] = scratch.data();
  }
  for (size_t p = 0; p < mOutputPorts; ++p) mCells[mInputPorts + p] = mOutScratch[p].data();
  mCallBlock[hostwords::kCallBlockPortDescriptor] = mDataBlock;
  for (size_t c = 0; c < mCells.size(); ++c) {
    mCallBlock[hostwords::kCallBlockFirstBufferCell + c] = reinterpret_cast<HostWord>(&mCells[c]);
  }
  std::fill(mFailureBuffer.begin(), mFailureBuffer.end(), 0.0f);
  mRenderRecord[hostwords::kRenderRecordFailureBuffer] = reinterpret_cast<HostWord>(mFailureBuffer.data());
  mRenderRecord[hostwords::kRenderRecordFrameCount] = static_cast<HostWord>(mHostCountsFrames ? frames : 0);
  mRoutineFrames.push_back(mHostCountsFrames ? frames : kFixedFrames);
  mRoutine(mCallBlock.data(), mRenderRecord.data());

  bool failed = false;
  for (size_t p = 0; p < mOutputPorts; ++p) {
    // The plug-in may point an output at the failure buffer instead.
    const float* rendered = mCells[mInputPorts + p];
    failed = failed || rendered == mFailureBuffer.data();
    if (static_cast<int>(p) < mChannels) std::memcpy(outputs[p] + offset, rendered, frames * sizeof(float));
  }
  if (failed) ++mFailedCalls;
}

void HostRenderer::ProcessBlock(float** inputs, float** outputs, int nFrames) {
  for (int offset = 0; offset < nFrames; offset += mPieceFrames) {
    RenderPiece(offset, std::min(mPieceFrames, nFrames - offset), inputs, outputs);
  }
  mHost.Call<uint32_t, int32_t, EventRecord*>(3, mTypeID, mInstance, nullptr);
  if (mBetween) mBetween(nFrames);
}

int HostRenderer::Latency() {
  int32_t latency = 0;
  mHost.Call<uint32_t, int32_t, int32_t*>(145, mTypeID, mInstance, &latency);
  return latency;
}

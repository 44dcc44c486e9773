#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/protools/HostWords.h"
#include "tools/BlockProcessor.h"

class StandInHost;

// One instance's audio as the host renders it: each block through the
// render routine the instance's worker registered, with the call block
// (its data structure, then one cell per input and output port holding
// the buffer) and the render record (the failure buffer, the frame count)
// laid out in words. When the plug-in's data says the host gives no frame
// count, the routine renders 32 frames a call, so the host renders in
// pieces of 32. Between blocks it gives the instance its idle call and
// lets `between` run (the editor's timer).
class HostRenderer : public BlockProcessor {
 public:
  using Between = std::function<void(int frames)>;

  // Throws CommandError when the instance registered no render routine.
  HostRenderer(StandInHost& host, uint32_t typeID, int32_t instance, int channels, Between between = nullptr);

  void ProcessBlock(float** inputs, float** outputs, int nFrames) override;
  // Selector 145.
  int Latency() override;

  // The block the host renders in: its quantum, or 32 when the routine
  // renders 32 frames a call.
  int BlockFrames() const { return mPieceFrames; }
  // Frames of every routine call so far, in order.
  const std::vector<int32_t>& RoutineFrames() const { return mRoutineFrames; }
  // Calls whose outputs came back as the failure buffer.
  int FailedCalls() const { return mFailedCalls; }

 private:
  using Routine = int32_t (*)(HostWord* callBlock, HostWord* renderRecord);
  void RenderPiece(int offset, int frames, float** inputs, float** outputs);

  StandInHost& mHost;
  uint32_t mTypeID;
  int32_t mInstance;
  int mChannels;
  Between mBetween;
  Routine mRoutine = nullptr;
  HostWord mDataBlock = 0;
  size_t mInputPorts = 0, mOutputPorts = 0;
  bool mHostCountsFrames = true;
  int mPieceFrames;
  std::vector<std::vector<float>> mInScratch, mOutScratch;
  std::vector<float> mFailureBuffer;
  std::vector<float*> mCells;
  std::vector<HostWord> mCallBlock;
  std::vector<HostWord> mRenderRecord;
  std::vector<int32_t> mRoutineFrames;
  int mFailedCalls = 0;
};

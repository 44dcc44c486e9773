#pragma once

#include "framework/IPlugBase.h"

class ProcessInterface;

// The framework's wrapper between IPlugBase and a plug-in for the RTAS
// host format. It reaches the host only through the library process that
// owns the plug-in (AttachProcess); without one (the command-line host,
// tests) host notifications go nowhere and the transport reads as stopped.
//
// Parameter p is the process's control p + 2 (control 1 is the master
// bypass). Audio blocks and host parameter changes run under the plug
// mutex; it is recursive because an editor change echoes back through the
// process into SetParameterFromHost on the same thread.
class IPlugRTAS : public IPlugBase {
 public:
  IPlugRTAS(int nKeptParams, int nParams, const char* channelIOText, int nPresets, const char* effectName,
            const char* productName, const char* makerName, int version, int uniqueId, int makerId, int latency,
            bool flag1, bool flag2, bool flag3, int plugDoesMidi);
  ~IPlugRTAS() override;

  // Keeps the process, drops the preset records nothing filled and sizes
  // the buffers for the host's largest block.
  void AttachProcess(ProcessInterface* process);
  ProcessInterface* GetProcess() const { return mProcess; }
  // The process is going: nothing reaches it any more.
  void DetachProcess() { mProcess = nullptr; }

  // Inputs 0 to inputs + side-chain - 1 and outputs 0 to outputs - 1
  // connected, the rest disconnected.
  void ConnectChannels(int inputs, int outputs);
  void SetSideChainConnected(bool connected);
  bool IsSideChainConnected() const { return mSideChain; }

  // One host block on the audio thread, any length (the base slices it to
  // the block size): processed, or passed through the latency delay.
  void ProcessAudio(float** inputs, float** outputs, int nFrames);
  void ProcessAudioBypassed(float** inputs, float** outputs, int nFrames);

  // The process stored a value in the control: the parameter follows. The
  // editor shows the unclamped value; the parameter keeps it clamped. A
  // value that only echoes the parameter's own leaves it exact.
  void SetParameterFromHost(int control);

  void NotifyHostParamBegin(int paramIdx) override;
  // The control value comes from the parameter's own value, so the
  // normalised value is not used.
  void NotifyHostParamValue(int paramIdx, double normalized) override;
  void NotifyHostParamValue(int paramIdx);
  void NotifyHostParamEnd(int paramIdx) override;
  void NotifyHostAllParams() override;
  int GetSamplePos() override;
  double GetTempo() override;
  void GetTimeSig(int* numerator, int* denominator) override;
  void GetTime(ITimeInfo* timeInfo) override;
  // The process closes, rebuilds and asks the host for a window; false
  // without a process, whose plug-in then sees to the resize itself.
  bool ResizeGraphics(int width, int height, bool keepControls) override;
  // Identifies the host on first use: Pro Tools, at the process's version
  // or 10 without a process.
  int GetHost() override;
  void MarkStateChanged() override;

  // Whether the state bytes equal the current state: as the base's
  // comparison of parameter values when the bytes hold that many doubles,
  // or byte for byte against the state serialised now.
  bool CompareStateBytes(const uint8_t* data, int length);

 private:
  bool mSideChain = false;
  int mNKeptParams;
  ProcessInterface* mProcess = nullptr;
};

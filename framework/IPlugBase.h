#pragma once

#include <cstdint>

#include "framework/ChannelIO.h"
#include "framework/IParam.h"
#include "framework/IPreset.h"
#include "framework/containers/ChunkBuffer.h"
#include "framework/containers/WDL_Mutex.h"
#include "framework/containers/WDL_PtrList.h"
#include "framework/containers/WDL_String.h"
#include "framework/containers/WDL_TypedBuf.h"

class IGraphics;

// The host's transport, filled by the binding's GetTime.
struct ITimeInfo {
  double mTempo = 0.0;
  double mSamplePos = 0.0;
  double mPPQPos = 0.0;
  double mLastBar = 0.0;
  double mCycleStart = 0.0;
  double mCycleEnd = 0.0;
  int mNumerator = 4;
  int mDenominator = 4;
  bool mTransportIsRunning = false;
  bool mTransportLoopEnabled = false;
};
class LatencyDelayLine;

// The host-independent base of every plug-in object. It owns the parameters,
// the preset records, the channel configuration and the double-precision
// work buffers, and the plug mutex that serialises the audio thread, the GUI
// thread and the host's calls. The mutex is recursive because the locked
// paths call virtual operations that take it again.
class IPlugBase {
 public:
  enum EAPI { kAPIVST2 = 0, kAPIVST3 = 1, kAPIAU = 2, kAPIRTAS = 3, kAPIAAX = 4, kAPISA = 5 };
  // Kinds asked of IsStateAccessAllowed.
  enum EStateAccess { kXMLLoad = 1, kBinaryLoad = 2, kXMLSave = 3, kBinarySave = 4 };

  IPlugBase(int nParams, const char* channelIOText, int nPresets, const char* effectName, const char* productName,
            const char* makerName, int version, int uniqueId, int makerId, int latency, bool, bool, bool, int apiId);
  virtual ~IPlugBase();

  IPlugBase(const IPlugBase&) = delete;
  IPlugBase& operator=(const IPlugBase&) = delete;

  // ---- Operations a plug-in overrides ------------------------------------
  virtual void Reset();
  virtual void OnParamChange(int paramIdx);
  virtual bool IsStateAccessAllowed(int kind);
  virtual void ProcessBlock(double** inputs, double** outputs, int nFrames);
  virtual void ResizeGUIToScale() {}
  virtual void OnIdle() {}
  virtual void OnGUIIdle() {}
  // The graphics idle thread calls this about every 10 ms.
  virtual void OnIdleThreadTick() {}
  virtual void RebuildGUI() {}
  virtual void OnControlsCleared() {}
  virtual void OnPresetRestored() {}
  virtual void MarkStateChanged() {}

  // ---- Editor entry points ------------------------------------------------
  // Under the plug mutex: set from the normalised value, tell the host the
  // value as given, then OnParamChange. Bad indices are ignored.
  virtual void SetParameterFromGUI(int paramIdx, double normalized);
  // As above but without OnParamChange.
  virtual void SetParameterFromGUI1(int paramIdx, double value, bool isNormalized);
  void NotifyHostAllParamValues();
  virtual void AttachGraphics(IGraphics* graphics);
  virtual void RedrawParamControls();
  IGraphics* GetGUI() const { return mGraphics; }

  // ---- Host binding --------------------------------------------------------
  virtual void NotifyHostParamBegin(int paramIdx) = 0;
  virtual void NotifyHostParamValue(int paramIdx, double normalized) = 0;
  virtual void NotifyHostParamEnd(int paramIdx) = 0;
  virtual void NotifyHostAllParams() = 0;
  virtual bool IsDisplayRefreshSuspended() { return false; }
  virtual int GetSamplePos() = 0;
  virtual double GetTempo() = 0;
  virtual void GetTimeSig(int* numerator, int* denominator) = 0;
  virtual void GetTime(ITimeInfo* timeInfo) = 0;
  virtual bool ResizeGraphics(int width, int height, bool keepControls) = 0;
  virtual int GetHost();
  virtual int GetAPI() const { return mAPI; }
  virtual void SetLatency(int samples);
  virtual void SetBlockSize(int blockSize);

  // ---- Host identification -------------------------------------------------
  static int LookUpHost(const char* name);
  // buf must hold 24 bytes.
  static char* GetHostNameStr(int hostId, char* buf);
  void SetHost(const char* name, int version);
  WDL_String GetHostName();
  int GetHostVersion() const { return mHostVersion; }
  const char* GetAPIString();
  const char* GetArchString() const;

  // ---- Channels and the float-to-double block frame ------------------------
  void SetInputChannelConnections(int idx, int n, bool connected);
  void SetOutputChannelConnections(int idx, int n, bool connected);
  bool IsInChannelConnected(int idx) const;
  bool IsOutChannelConnected(int idx) const;
  void AttachInputBuffers(int idx, int n, float** hostBuffers, int nFrames);
  void AttachOutputBuffers(int idx, int n, float** hostBuffers);
  void ProcessBuffers(int nFrames);
  void PassThroughBuffers(int nFrames);
  void ZeroScratchBuffers();
  void SetSampleRate(double sampleRate) { mSampleRate = sampleRate; }

  // ---- Parameters, presets, identity ---------------------------------------
  int NParams() const { return mParams.GetSize(); }
  IParam* GetParam(int idx) const { return mParams.Get(idx); }
  int NPresets() const { return mPresets.GetSize(); }
  IPreset* GetPreset(int idx) const { return mPresets.Get(idx); }
  int GetCurrentPresetIdx() const { return mCurrentPresetIdx; }
  WDL_Mutex* GetMutex() { return &mMutex; }

  int NInChannels() const { return mInChannels.GetSize(); }
  int NOutChannels() const { return mOutChannels.GetSize(); }
  int NChannelIOs() const { return mChannelIO.GetSize(); }
  const ChannelIO* GetChannelIO(int idx) const { return mChannelIO.Get(idx); }
  double GetSampleRate() const { return mSampleRate; }
  int GetBlockSize() const { return mBlockSize; }
  int GetLatency() const { return mLatency; }
  LatencyDelayLine* GetLatencyDelayLine() const { return mDelayLine; }
  const char* GetEffectName() const { return mEffectName; }
  const char* GetProductName() const { return mProductName; }
  const char* GetMakerName() const { return mMakerName; }
  int GetUniqueID() const { return mUniqueID; }
  int GetMakerID() const { return mMakerID; }
  int GetEffectVersion() const { return mVersion; }

 protected:
  // The host binding creates the delay line when the plug-in has inputs.
  void SetLatencyDelayLine(LatencyDelayLine* delayLine);
  // Deletes the graphics object, which first stops its idle thread. A
  // derived destructor whose members the idle tick or the controls touch
  // calls this before anything of its own is destroyed.
  void DeleteGraphics();

  void ProcessDoubleBuffers(int nFrames);
  void PassThroughDoubleBuffers(int nFrames);

  WDL_Mutex mMutex;
  char mEffectName[128] = {};
  char mProductName[128] = {};
  char mMakerName[128] = {};
  int mUniqueID;
  int mMakerID;
  int mVersion;
  int mAPI;
  int mHost = -1;
  int mHostVersion = 0;
  bool mIsXML = false;
  WDL_String mVendorText;
  WDL_String mProductText;
  WDL_String mVersionText;
  int mCurrentPresetIdx = 0;
  // Set by the host binding for each block: true while bypassed.
  bool mIsBypassed = false;
  double mSampleRate = 44100.0;
  int mBlockSize = 0;
  int mLatency;
  LatencyDelayLine* mDelayLine = nullptr;
  IGraphics* mGraphics = nullptr;
  WDL_PtrList<IParam> mParams;
  WDL_PtrList<IPreset> mPresets;

 private:
  template <class Frame>
  void RunInSlices(int nFrames, Frame frame);
  void ConvertInputs(int offset, int nFrames);
  void ConvertOutputs(int offset, int nFrames);

  WDL_PtrList<ChannelIO> mChannelIO;
  WDL_TypedBuf<double*> mInputPtrs{4096};
  WDL_TypedBuf<double*> mOutputPtrs{4096};
  WDL_PtrList<InChannel> mInChannels;
  WDL_PtrList<OutChannel> mOutChannels;
};

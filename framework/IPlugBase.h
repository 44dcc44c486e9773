#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "framework/ChannelIO.h"
#include "framework/IParam.h"
#include "framework/IParamValue.h"
#include "framework/IPreset.h"
#include "framework/containers/ChunkBuffer.h"
#include "framework/containers/WDL_Mutex.h"
#include "framework/containers/WDL_PtrList.h"
#include "framework/containers/WDL_String.h"
#include "framework/containers/WDL_TypedBuf.h"

class IGraphics;
class PresetXML;

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
  // The graphics idle thread calls this about every 10 ms, but only while
  // idle ticks are enabled (below).
  virtual void OnIdleThreadTick() {}
  // mode: the keep-controls flag of the resize that asks for the rebuild.
  virtual void RebuildGUI(int mode) { (void)mode; }
  virtual void OnControlsCleared() {}
  virtual void OnPresetRestored() {}
  virtual void MarkStateChanged() {}

  // The idle thread starts while the plug-in is still being built, and a
  // virtual call from it then (or once destruction has begun) would read a
  // vtable the main thread is rewriting. So it reaches OnIdleThreadTick only
  // after a plug-in that overrides the hook has enabled it, once complete;
  // such a plug-in disables it first thing in its destructor.
  void EnableIdleThreadTicks(bool enable) { mIdleThreadTicks.store(enable, std::memory_order_release); }
  bool IdleThreadTicksEnabled() const { return mIdleThreadTicks.load(std::memory_order_acquire); }

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

  // ---- Parameter payloads and state ----------------------------------------
  // The payload is one little-endian double per parameter, or in XML mode a
  // 32-bit length and the "PresetXMLTree" text. Both take the plug mutex
  // for their whole run, the nested XML slot and every OnParamChange
  // included. Readers return the position after the payload; failure is -1
  // for the binary form and 0 for the XML form, so success is always > 0
  // for a payload at position 0.
  bool SerializeParams(ChunkBuffer* chunk);
  int UnserializeParams(const ChunkBuffer* chunk, int startPos, bool flaggedOnly);
  // The XML slots take no lock: they run inside the two above or from the
  // preset code on the main thread.
  virtual bool SerializePresetParam2XMLString(const double* values, ChunkBuffer* chunk, const char* presetName);
  virtual bool SerializeParams2XMLString(ChunkBuffer* chunk);
  virtual int UnSerializeXMLString2Params(const ChunkBuffer* chunk, int startPos, bool flaggedOnly);
  // What the host saves and restores, and what a preset record holds. A
  // plug-in that wraps the payload in a format of its own replaces these.
  virtual bool SerializeState(ChunkBuffer* chunk);
  virtual int UnserializeStateAll(const ChunkBuffer* chunk, int startPos);
  virtual int UnserializeState(const ChunkBuffer* chunk, int startPos, bool flaggedOnly);
  // Binary mode only: true when every parameter equals data[startIndex + i]
  // in single precision (within 0.00001). data must hold that many doubles.
  virtual bool CompareState(const double* data, int startIndex);

  bool IsXMLMode() const { return mIsXML; }
  void SetXMLMode(bool xml) { mIsXML = xml; }
  // What the XML payload and the preset files carry and require.
  void SetPluginTexts(const char* vendor, const char* product, const char* version);
  const char* GetVendorText() const { return mVendorText.Get(); }
  const char* GetProductText() const { return mProductText.Get(); }
  const char* GetVersionText() const { return mVersionText.Get(); }

  // ---- Preset list -----------------------------------------------------------
  IPreset* GetNextUninitializedPreset();
  // Deletes every record that holds no payload, keeping the order of the
  // rest; the current index follows its record (0 when it was deleted).
  void PruneUninitializedPresets();
  // "" when idx names no record.
  const char* GetPresetName(int idx) const;
  // Names are cut to fit the 256-byte field.
  void SetPresetName(int idx, const char* name);
  // Stores the current state in the current record (renaming it when name
  // is not empty). A failed store keeps the record's earlier payload.
  void ModifyCurrentPreset(const char* name = nullptr);
  // An initialised record is loaded; an uninitialised one captures the
  // current state under the name "user preset N". On success the record
  // becomes current and the controls are redrawn. flaggedOnly sets only the
  // parameters flagged for presets, as a preset the user picks must; false
  // sets every parameter the record holds.
  bool RestorePreset(int idx, bool flaggedOnly = false);

  // ---- Preset makers ---------------------------------------------------------
  // Each fills a record with a name and a payload of one value per
  // parameter and returns true, or returns false having changed nothing
  // (no target record, or the payload could not be stored).
  //
  // values in index order; parameters past its end take their current value.
  virtual bool MakePreset(const char* name, const std::vector<double>& values);
  // The named-parameter makers take (index, value) pairs; indices outside
  // the table are ignored and parameters not named keep their current value.
  // A value of exactly kUnsetPresetValue counts as not named.
  virtual bool MakeNextPresetFromNamedParams(const char* name, const std::vector<IParamValue>& values);
  virtual bool MakeDefaultPreset(const char* name);
  virtual bool MakePresetFromNamedParamsAt(int idx, const char* name, const std::vector<IParamValue>& values);
  virtual bool FillPresetFromNamedParams(IPreset* preset, const char* name, const std::vector<IParamValue>& values);
  virtual bool FillPresetFromDefaults(IPreset* preset, const char* name);
  // Appends a new record (first named "empty N" after the count, then name).
  virtual bool MakePresetFromNamedParams(const char* name, const std::vector<IParamValue>& values);
  // Appends the payload of a value array to a preset chunk: the XML form
  // through SerializePresetParam2XMLString in XML mode, else the binary
  // form. Every maker and LoadPresetFromXML store through this, so a
  // plug-in whose presets hold a wrapped format replaces only this.
  virtual bool SerializePresetValues(const double* values, ChunkBuffer* chunk, const char* presetName);

  // The marker the named-parameter makers start from (bits 0x3E7AD742AEBDA37D).
  static constexpr double kUnsetPresetValue = 9.999e-08;

  // ---- XML preset files --------------------------------------------------------
  // The path is directory + fileName + extension, joined as they stand, so
  // a directory ends in a separator. A document of another vendor or
  // product, or of another shape, is rejected before anything changes.
  //
  // Writes the current values (only the flagged ones when flaggedOnly) and,
  // when withData, a "Data" element. An empty presetName becomes the current
  // record's name; directory holds the full path afterwards.
  virtual bool WritePresetXMLFile(const WDL_String& vendor, const WDL_String& product, const WDL_String& version,
                                  WDL_String& directory, const WDL_String& fileName, const WDL_String& extension,
                                  WDL_String& presetName, bool flaggedOnly, bool withData, const WDL_String& data);
  // True when the file opens and parses as XML; the texts are not consulted.
  virtual bool TestPresetXMLFile(const WDL_String& vendor, const WDL_String& product, const WDL_String& version,
                                 const WDL_String& directory, const WDL_String& fileName, const WDL_String& extension);
  // Sets the live parameters (clamped) from the file, with its preset name
  // in presetName and, when withData and the file has one, its "Data" text
  // in data. It takes no lock and calls no OnParamChange: callers hold the
  // plug mutex and announce the changes themselves.
  virtual bool LoadPresetFromXMLWithData(const WDL_String& vendor, const WDL_String& product,
                                         const WDL_String& version, const WDL_String& directory,
                                         const WDL_String& fileName, const WDL_String& extension,
                                         WDL_String& presetName, bool flaggedOnly, bool withData, WDL_String& data);
  // Fills a record from the file: its name, and a payload of the defaults
  // overlaid by the file's values (not clamped), stored through
  // SerializePresetValues.
  virtual bool LoadPresetFromXML(const WDL_String& vendor, const WDL_String& product, const WDL_String& version,
                                 IPreset* preset, const WDL_String& directory, const WDL_String& fileName,
                                 const WDL_String& extension, bool flaggedOnly);

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
  std::atomic<bool> mIdleThreadTicks{false};

  // Both payload writers and the file writer build their document here;
  // values null means the current ones.
  void BuildPresetXML(PresetXML* doc, const char* vendor, const char* product, const char* version, const char* data,
                      const char* presetName, const double* values, bool flaggedOnly) const;
  // Fills a preset record; on failure the record is left as it was.
  bool StorePreset(IPreset* preset, const char* name, const double* values);
  // The value array of the named-parameter makers.
  std::vector<double> NamedValues(const std::vector<IParamValue>& values) const;

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

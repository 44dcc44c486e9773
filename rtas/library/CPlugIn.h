#pragma once

#include <cstdint>
#include <memory>

#include "platform/protools/HostWords.h"
#include "rtas/library/CPlugInData.h"
#include "rtas/library/CSet.h"

class CPlugIn;
class CProcess;

// The host's native plug-in model, through which a host-based process is
// rendered: a plug-in with numbered input and output ports, workers (a
// render routine with the data, inputs and outputs it works on) and shared
// data. Every object registers with the host's structure registry and
// describes itself there as an array of words; a publish pass sends the
// whole plug-in inside an update bracket.

// The host's call of a worker: the call block (word 2 the worker's data
// block, from word 3 the host's buffer-pointer cells) and the host's render
// record. Answers a host code.
typedef int32_t (*PlugInRenderRoutine)(HostWord* callBlock, HostWord* hostRecord);

// Something a plug-in may own; released with the plug-in.
class CPlugInObject {
 public:
  virtual ~CPlugInObject() = default;
};

class CPlugInPort {
 public:
  CPlugInPort(CPlugIn* owner, int32_t number) : mOwner(owner), mPortNumber(number) {}
  virtual ~CPlugInPort() = default;
  CPlugInPort(const CPlugInPort&) = delete;
  CPlugInPort& operator=(const CPlugInPort&) = delete;

  virtual bool IsConnected() { return mConnection != 0; }
  virtual int32_t Connect(int32_t connection) {
    mConnection = connection;
    return 0;
  }
  virtual int32_t Disconnect() {
    mConnection = 0;
    return 0;
  }
  // 1; the owner, the port number, the format word.
  virtual void DescribeToHost();

  CPlugIn* GetOwner() const { return mOwner; }
  int32_t GetPortNumber() const { return mPortNumber; }
  int32_t GetConnection() const { return mConnection; }

 private:
  int32_t mConnection = 0;
  CPlugIn* mOwner;
  int32_t mPortNumber;
  int32_t mFormatWord = 0;
};

// Added to the owner's inputs and registered as kind 4.
class CPlugInInput : public CPlugInPort {
 public:
  static constexpr uint8_t kRegistryKind = 4;
  CPlugInInput(CPlugIn* owner, int32_t number);
  ~CPlugInInput() override;
};

// Added to the owner's outputs and registered as kind 5.
class CPlugInOutput : public CPlugInPort {
 public:
  static constexpr uint8_t kRegistryKind = 5;
  CPlugInOutput(CPlugIn* owner, int32_t number);
  ~CPlugInOutput() override;
};

// A render routine with what it works on; registered as kind 7 and added
// to the owner's workers.
class CPlugInWorker {
 public:
  static constexpr uint8_t kRegistryKind = 7;
  CPlugInWorker(CPlugIn* owner, PlugInRenderRoutine routine, const void* context);
  virtual ~CPlugInWorker();
  CPlugInWorker(const CPlugInWorker&) = delete;
  CPlugInWorker& operator=(const CPlugInWorker&) = delete;

  // 6; the routine; 4; the data, the inputs, the outputs, the fourth set;
  // the context; the last word.
  virtual void DescribeToHost();

  CSet<CPlugInData>& Data() { return mData; }
  CSet<CPlugInPort>& Inputs() { return mInputs; }
  CSet<CPlugInPort>& Outputs() { return mOutputs; }
  PlugInRenderRoutine GetRoutine() const { return mRoutine; }
  void SetRoutine(PlugInRenderRoutine routine) { mRoutine = routine; }
  const void* GetContext() const { return mContext; }

 private:
  CSet<CPlugInData> mData;
  CSet<CPlugInPort> mInputs;
  CSet<CPlugInPort> mOutputs;
  CSet<void> mFourthSet;
  CPlugIn* mOwner;
  PlugInRenderRoutine mRoutine;
  const void* mContext;
  int32_t mLastWord = 0;
};

// The plug-in: its identification record, its ports and workers.
// Registered as kind 3 for its whole life.
class CPlugIn {
 public:
  static constexpr uint8_t kRegistryKind = 3;

  explicit CPlugIn(const SInstanceIdentification& identification);
  virtual ~CPlugIn();
  CPlugIn(const CPlugIn&) = delete;
  CPlugIn& operator=(const CPlugIn&) = delete;

  virtual int32_t GetIdentification(SInstanceIdentification* identification);
  virtual int32_t CountInputs() { return mInputs.GetCount(); }
  // A negative count: 0 and no change. Another count than the current:
  // -7152 (-7153 for outputs), since the counts may not change. The current
  // count: published again, 0.
  virtual int32_t SetInputCount(int32_t count);
  // Position from 1; a missing one throws the plain code -9060.
  virtual CPlugInInput* GetInput(int32_t n);
  virtual int32_t CountOutputs() { return mOutputs.GetCount(); }
  virtual int32_t SetOutputCount(int32_t count);
  virtual CPlugInOutput* GetOutput(int32_t n);
  virtual int32_t CountThirdSet() { return mThirdSet.GetCount(); }
  virtual void* GetThirdSetEntry(int32_t n);
  // Without one, throws the plain code -9060.
  virtual CPlugInObject* GetOwnedObject();
  // The bracket opens, every input, output, worker and (once each) every
  // worker's data describe themselves, then the plug-in; the bracket closes.
  virtual void PublishToHost();
  // The bracket's description: 2 to open, 3 to close.
  virtual void DescribeUpdate(bool opening);
  virtual bool CanChangeInputCount() { return false; }
  // A new input with that number, or count + 1 for 0.
  virtual CPlugInInput* CreateInput(int32_t number);
  virtual bool CanChangeOutputCount() { return false; }
  virtual CPlugInOutput* CreateOutput(int32_t number);
  // 1; the identification record; the inputs; the outputs; the workers.
  virtual void DescribeToHost();

  CSet<CPlugInInput>& Inputs() { return mInputs; }
  CSet<CPlugInOutput>& Outputs() { return mOutputs; }
  CSet<CPlugInWorker>& Workers() { return mWorkers; }

 private:
  SInstanceIdentification mIdentification;
  CSet<CPlugInInput> mInputs;
  CSet<CPlugInOutput> mOutputs;
  CSet<void> mThirdSet;
  std::unique_ptr<CPlugInObject> mOwned;
  CSet<CPlugInWorker> mWorkers;
};

// One port of the process as the default render routines fill it.
struct SProcessPortRecord {
  float* mBuffer = nullptr;
  int32_t mFrameCount = 0;
};

// What the render routine needs to reach the process: seven pointer-sized
// fields, in this order.
class S_RTASP_CustomDataAdmin : public CPlugInData {
 public:
  CSmartField<void*> mProcess;       // the process's CProcess part
  CSmartField<void*> mInputs;        // the process's input port array
  CSmartField<void*> mOutputs;       // the process's output port array
  CSmartField<void*> mInputCount;    // regular inputs
  CSmartField<void*> mOutputCount;   // outputs
  CSmartField<void*> mSideChain;     // the side-chain port number, 0 for none
  CSmartField<void*> mHostFrames;    // whether the host's record counts frames
};

// The plug-in of one process instance: ports sized from the process, one
// worker carrying the render routine, and the custom data. The creator
// publishes it (slot PublishToHost); its destruction publishes once more.
class CAdaptorPlugIn : public CPlugIn {
 public:
  // A failure destroys what was built and passes the exception on.
  CAdaptorPlugIn(const SInstanceIdentification& identification, CProcess* process, void* inputs, void* outputs,
                 PlugInRenderRoutine routine);
  ~CAdaptorPlugIn() override;

  int16_t GetInputPortCount() const { return mInputPortCount; }
  int16_t GetOutputPortCount() const { return mOutputPortCount; }
  CPlugInWorker& GetWorker() { return mWorker; }
  S_RTASP_CustomDataAdmin& GetCustomData() { return mCustomData; }
  const char* GetName() const { return mName; }

  static constexpr int kNameBytes = 64;

 private:
  void BuildPorts(CProcess* process, void* inputs, void* outputs, PlugInRenderRoutine routine);
  void DeletePorts();

  int16_t mInputPortCount = 0;
  int16_t mOutputPortCount = 0;
  char mName[kNameBytes + 1] = {};
  CPlugInWorker mWorker;
  S_RTASP_CustomDataAdmin mCustomData;
};

CAdaptorPlugIn* CreateAdaptorPlugIn(const SInstanceIdentification* identification, CProcess* process, void* inputs,
                                    void* outputs, PlugInRenderRoutine routine);

// The routines of an adaptor made without one (AudioSuite processes).
// Field 2 and 3 of the custom data are arrays of SProcessPortRecord
// pointers. The second one passes over missing records, gives the outputs
// the frame count too and hands the process the host's render argument.
int32_t DefaultRenderRoutine(HostWord* callBlock, HostWord* hostRecord);
int32_t DefaultRenderRoutineWithArgument(HostWord* callBlock, HostWord* hostRecord);

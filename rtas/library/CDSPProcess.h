#pragma once

#include <cstdint>

#include "rtas/library/CProcess.h"
#include "rtas/library/CUnknown.h"

class CDSPProcessType;
class CProcessDSP;

// The engine's interface on a process: what the DSP manager calls to
// connect and disconnect it. Its first three operations forward to the
// process's reference counting.
class IProcess2 : public DOA::IUnknown {
 public:
  virtual CDSPProcessType* GetCreatingType() = 0;
  virtual CProcessDSP* GetDSPObject() = 0;
  virtual int32_t Disconnect() = 0;
  // Never throws: any failure is its code, anything else -7401.
  virtual int32_t Connect(CProcessDSP* chip) = 0;
  virtual uint8_t GetConnectedFlag() = 0;
  virtual int32_t GetZero() = 0;
  virtual int32_t GetTypeAnswer26() = 0;
  virtual int32_t GetTypeChipAttribute() = 0;
  virtual int32_t ClearSettableWord() = 0;
  virtual int32_t SetSettableWord(HostWord word) = 0;
  virtual HostWord GetStoredValue() = 0;
  virtual HostWord GetSettableWord() = 0;
  virtual int16_t GetProcessingPrecision() = 0;

 protected:
  ~IProcess2() = default;
};

// A process the host's engine can connect: a reference-counted object
// that answers for IProcess2, holds the DSP chip a connection attaches
// (none in host-based use, where every forwarding operation answers 0)
// and the type that created it, and performs the engine's connect and
// disconnect handshakes.
class CDSPProcess : public DOA::CUnknown, public IProcess2, public CProcess {
 public:
  // The two identifiers of IProcess2, as stored in memory.
  static const DOA::SIID kIID_IProcess2;
  static const DOA::SIID kIID_IProcess2Alternate;

  CDSPProcess();
  ~CDSPProcess() override;

  // 0 to 2, and the interface's three.
  int32_t QueryInterface(const DOA::SIID& iid, void** object) override;
  int32_t AddRef() override;
  int32_t Release() override;
  int32_t NonDelegatingQueryInterface(const DOA::SIID& iid, void** object) override;

  // 8 to 20
  CDSPProcessType* GetCreatingType() override { return mCreatingType; }
  CProcessDSP* GetDSPObject() override { return mDSPObject; }
  int32_t Disconnect() override;
  int32_t Connect(CProcessDSP* chip) override;
  uint8_t GetConnectedFlag() override { return IsConnected() ? 1 : 0; }
  int32_t GetZero() override { return 0; }
  int32_t GetTypeAnswer26() override;
  int32_t GetTypeChipAttribute() override;
  int32_t ClearSettableWord() override;
  int32_t SetSettableWord(HostWord word) override;
  HostWord GetStoredValue() override { return mStoredValue; }
  HostWord GetSettableWord() override { return mSettableWord; }
  // The engine's processing-precision routine ('prec'), 0 without one.
  int16_t GetProcessingPrecision() override;

  // 21: lets the chip go, then the process's own release. Idempotent.
  void ReleaseProcess() override;
  // 22 to 25: the chip's messages for this process (its type index and
  // slot on the chip first); 0, and nothing without a chip.
  virtual int32_t SendToDSP3(int16_t a, int16_t b);
  virtual int32_t SendToDSP4(int16_t a, int16_t b);
  virtual int32_t SendToDSP1(int16_t value);
  virtual int32_t SendToDSP2(int16_t value);
  // 26, 27: the process's share of its chip.
  virtual int32_t GetLoadPercent() { return 100; }
  virtual double GetLoad() { return GetLoadPercent(); }
  // 29: the connection to a chip, with the engine's preparation and the
  // port handshakes; undone on failure. Answers the failure's code.
  virtual int32_t ConnectDSPObject(CProcessDSP* chip);
  // 30, 31
  virtual void SetDSPSlotNumber(int16_t slot) { mDSPSlotNumber = slot; }
  virtual int16_t GetDSPSlotNumber() const { return mDSPSlotNumber; }
  // 32: holds one user of the chip (none for null) with its value.
  virtual void AttachDSPObject(HostWord value, CProcessDSP* chip);
  // 33 to 36: the port handshakes, each through the DSP side's routines.
  virtual int32_t DeactivateOutputs();
  virtual int32_t DeactivateInputs();
  virtual int32_t ReactivateOutputs();
  virtual int32_t ReactivateInputs();
  // 37, 38: where the output and input ranges start.
  virtual int32_t FirstOutputPort() { return 1; }
  virtual int32_t FirstInputPort() { return 1; }

  // The type that created the instance, given when it is made.
  void SetCreatingType(CDSPProcessType* type) { mCreatingType = type; }
  IProcess2* GetProcessInterface() { return this; }

 private:
  // Step 1 of a connection undone: no chip, no type words.
  void Detach();

  CProcessDSP* mDSPObject = nullptr;
  CDSPProcessType* mCreatingType = nullptr;
  HostWord mStoredValue = 0;
  HostWord mSettableWord = 0;
  int16_t mDSPSlotNumber = -1;
};

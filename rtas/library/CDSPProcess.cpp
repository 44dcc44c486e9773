#include "rtas/library/CDSPProcess.h"

#include "rtas/library/CDAEError.h"
#include "rtas/library/CDSPProcessType.h"
#include "rtas/library/CProcessDSP.h"
#include "rtas/library/DAEFunctions.h"
#include "rtas/library/ErrorThrowers.h"
#include "rtas/library/ResultCodes.h"
#include "rtas/library/SConversantInfoFromCDSPProcess.h"

namespace {

// The code of the exception being handled: the library's error's own,
// -7401 for anything else.
int32_t CurrentExceptionCode() {
  try {
    throw;
  } catch (const CDAEError& error) {
    return error.Code();
  } catch (...) {
    return DAEResult::kUnexpected;
  }
}

// Whether the engine wants its connections prepared ('cmvc').
bool EngineWantsPreparation() {
  intptr_t answer = 0;
  return FicGestalt(ficgestalt::kConnections, &answer) == 0 && answer != 0;
}

}  // namespace

const DOA::SIID CDSPProcess::kIID_IProcess2 = {
    {0x60, 0x57, 0x7f, 0x29, 0x66, 0x23, 0xd2, 0x11, 0x81, 0x7a, 0x00, 0x60, 0x08, 0x9a, 0x89, 0x16}};
const DOA::SIID CDSPProcess::kIID_IProcess2Alternate = {
    {0x61, 0x57, 0x7f, 0x29, 0x66, 0x23, 0xd2, 0x11, 0x81, 0x7a, 0x00, 0x60, 0x08, 0x9a, 0x89, 0x16}};

CDSPProcess::CDSPProcess() = default;

CDSPProcess::~CDSPProcess() { ReleaseProcess(); }

int32_t CDSPProcess::QueryInterface(const DOA::SIID& iid, void** object) {
  return GetControllingUnknown()->NonDelegatingQueryInterface(iid, object);
}

int32_t CDSPProcess::AddRef() { return GetControllingUnknown()->NonDelegatingAddRef(); }

int32_t CDSPProcess::Release() { return GetControllingUnknown()->NonDelegatingRelease(); }

int32_t CDSPProcess::NonDelegatingQueryInterface(const DOA::SIID& iid, void** object) {
  if (object && (iid == kIID_IProcess2 || iid == kIID_IProcess2Alternate)) {
    return GetInterface(static_cast<IProcess2*>(this), object);
  }
  return DOA::CUnknown::NonDelegatingQueryInterface(iid, object);
}

int32_t CDSPProcess::GetTypeAnswer26() {
  if (!mCreatingType) return 0;
  try {
    return mCreatingType->GetTypeAnswer26();
  } catch (...) {
    return 0;
  }
}

int32_t CDSPProcess::GetTypeChipAttribute() {
  if (!mCreatingType) return 0;
  try {
    return mCreatingType->GetChipAttribute();
  } catch (...) {
    return 0;
  }
}

int32_t CDSPProcess::ClearSettableWord() {
  mSettableWord = 0;
  return 0;
}

int32_t CDSPProcess::SetSettableWord(HostWord word) {
  mSettableWord = word;
  return 0;
}

int16_t CDSPProcess::GetProcessingPrecision() {
  intptr_t routine = 0;
  if (FicGestalt(ficgestalt::kPrecision, &routine) != 0 || routine == 0) return 0;
  return reinterpret_cast<int16_t (*)()>(routine)();
}

void CDSPProcess::AttachDSPObject(HostWord value, CProcessDSP* chip) {
  // One user per process: attaching the chip it already holds counts
  // nothing, and a different chip lets the old one go.
  if (chip != mDSPObject) {
    if (chip) chip->AddUser();
    if (mDSPObject) mDSPObject->RemoveUser();
  }
  mStoredValue = value;
  mDSPObject = chip;
}

void CDSPProcess::ReleaseProcess() {
  // The chip belongs to the group's chip list, which deletes it once no
  // process uses it; releasing the last user must not delete it under
  // the list.
  if (mDSPObject) mDSPObject->RemoveUser();
  mDSPObject = nullptr;
  CProcess::ReleaseProcess();
}

int32_t CDSPProcess::SendToDSP3(int16_t a, int16_t b) {
  if (mDSPObject) mDSPObject->SendMessage3(GetTypeIndex(), mDSPSlotNumber, a, b);
  return 0;
}

int32_t CDSPProcess::SendToDSP4(int16_t a, int16_t b) {
  if (mDSPObject) mDSPObject->SendMessage4(GetTypeIndex(), mDSPSlotNumber, a, b);
  return 0;
}

int32_t CDSPProcess::SendToDSP1(int16_t value) {
  if (mDSPObject) mDSPObject->SendMessage1(GetTypeIndex(), mDSPSlotNumber, value);
  return 0;
}

int32_t CDSPProcess::SendToDSP2(int16_t value) {
  if (mDSPObject) mDSPObject->SendMessage2(GetTypeIndex(), mDSPSlotNumber, value);
  return 0;
}

int32_t CDSPProcess::DeactivateOutputs() {
  SConversantInfoFromCDSPProcess info(*this);
  return DeactivateTalkers(&info);
}

int32_t CDSPProcess::DeactivateInputs() {
  SConversantInfoFromCDSPProcess info(*this);
  return DeactivateListeners(&info);
}

int32_t CDSPProcess::ReactivateOutputs() {
  SConversantInfoFromCDSPProcess info(*this);
  return ReactivateTalkers(&info);
}

int32_t CDSPProcess::ReactivateInputs() {
  SConversantInfoFromCDSPProcess info(*this);
  return ReactivateListeners(&info);
}

void CDSPProcess::Detach() {
  SetTypeWord1(0);
  SetTypeWord2(0);
  if (mCreatingType) mCreatingType->NumberInstances();
  AttachDSPObject(0, nullptr);
}

int32_t CDSPProcess::Connect(CProcessDSP* chip) {
  try {
    return ConnectDSPObject(chip);
  } catch (...) {
    return CurrentExceptionCode();
  }
}

int32_t CDSPProcess::ConnectDSPObject(CProcessDSP* chip) {
  bool attached = false;
  bool began = false;
  try {
    const HostWord dsp = chip ? reinterpret_cast<HostWord>(chip->GetDSP()) : 0;
    const HostWord userWord = chip ? chip->GetUserWord() : 0;
    SetTypeWord1(userWord);
    SetTypeWord2(dsp);
    if (mCreatingType) mCreatingType->NumberInstances();
    AttachDSPObject(dsp, chip);
    attached = true;
    if (EngineWantsPreparation() && !FicPrepareForConnectionsStatus(0)) {
      ThrowIfError(FicPrepareForConnections(0, 1));
      began = true;
    }
    if (const int32_t result = ReactivateInputs()) ThrowDAEError(static_cast<int16_t>(result));
    if (const int32_t result = ReactivateOutputs()) {
      DeactivateInputs();
      ThrowDAEError(static_cast<int16_t>(result));
    }
    if (began) {
      began = false;
      ThrowIfError(FicPrepareForConnections(0, 0));
    }
    SetConnected(true);
    return 0;
  } catch (...) {
    const int32_t code = CurrentExceptionCode();
    // Whatever failed, the process does not stay half attached: a chip
    // it still counted as a user of would never be given back.
    if (attached) Detach();
    if (began) FicPrepareForConnections(0, 0);
    return code;
  }
}

int32_t CDSPProcess::Disconnect() {
  bool answered = false;
  bool began = false;
  int32_t kept = 0;
  try {
    if (EngineWantsPreparation()) {
      answered = true;
      if (!FicPrepareForConnectionsStatus(0)) {
        kept = FicPrepareForConnections(0, 1);
        began = true;
      }
      if (const int32_t result = DeactivateOutputs()) ThrowDAEError(static_cast<int16_t>(result));
      if (const int32_t result = DeactivateInputs()) ThrowDAEError(static_cast<int16_t>(result));
    }
    SetConnected(false);
    if (began) {
      began = false;
      ThrowIfError(FicPrepareForConnections(0, 0));
    }
    AttachDSPObject(0, nullptr);
    SetTypeWord1(0);
    SetTypeWord2(0);
    if (mCreatingType) mCreatingType->NumberInstances();
    return kept;
  } catch (...) {
    const int32_t code = CurrentExceptionCode();
    if (answered) ReactivateOutputs();
    if (began) FicPrepareForConnections(0, 0);
    return code;
  }
}

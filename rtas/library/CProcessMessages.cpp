// A process's exchange with the host's audio engine: its names in the
// engine's shared name space, three listeners per control, the tokens it
// posts and the idle poll that receives the engine's.
#include <cstdio>
#include <cstring>
#include <string>

#include "rtas/library/CProcess.h"
#include "rtas/library/CProcessGroup.h"
#include "rtas/library/ControlToken.h"
#include "rtas/library/DAEFunctions.h"
#include "rtas/library/FourCC.h"
#include "rtas/library/PString.h"
#include "rtas/library/ResultCodes.h"

namespace {

// The engine's object type of control-message listeners.
constexpr int16_t kListenerObjectType = 56;
constexpr int32_t kControlNameLength = 31;
constexpr uint32_t kControlNameTag = FourCC("PcTL");
// The poll's budget per idle call, in ticks.
constexpr uint32_t kPollTicks = 2;

void ToPascal(const std::string& text, unsigned char* name) { CToPString(text.c_str(), name); }

}  // namespace

int16_t CProcess::Post(const void* token) { return FicSDSDispatchToken(token); }

int32_t CProcess::ControlNameID(int32_t n) const { return HasMessagesFor(n) ? mMessages->mNameIDs[n] : 0; }

int32_t CProcess::GetTouchCount(int32_t n) const { return HasMessagesFor(n) ? mMessages->mTouchCounts[n] : 0; }

int32_t CProcess::GetInstanceNameID(void** nameID) {
  if (nameID) *nameID = reinterpret_cast<void*>(static_cast<intptr_t>(mInstanceNameID));
  return 0;
}

int32_t CProcess::GetControlNameID(int32_t n, void** nameID) {
  if (nameID) *nameID = reinterpret_cast<void*>(static_cast<intptr_t>(ControlNameID(n)));
  return 0;
}

int32_t CProcess::ReserveInstanceName(int32_t parentNameID) {
  if (mInstanceNameID != 0) {
    FreeControlNames();
    FreeInstanceName();
  }
  char base[256] = {0};
  GetBaseName(base);
  base[255] = 0;
  const std::string name = std::string(base) + "/Inst" + std::to_string(CProcessGroup::GetCreationCount());
  unsigned char pascal[256];
  ToPascal(name, pascal);
  int32_t id = 0;
  const int16_t status = FicSDSReserveName(parentNameID, pascal, &id);
  if (status == 0) mInstanceNameID = id;
  return status;
}

int32_t CProcess::ReserveControlNames() {
  if (!mMessages) return 0;
  for (int32_t n = 1; n <= CountControls() && HasMessagesFor(n); ++n) {
    char text[kControlNameLength + 1] = {0};
    GetControl(n)->GetNameOfLength(text, kControlNameLength, kControlNameTag);
    unsigned char pascal[256];
    ToPascal(text, pascal);
    int32_t id = 0;
    if (const int16_t status = FicSDSReserveName(mInstanceNameID, pascal, &id)) return status;
    mMessages->mNameIDs[n] = id;
  }
  const unsigned char empty[1] = {0};
  int32_t root = 0;
  const int16_t status = FicSDSGetNameId(0, empty, &root);
  if (status == 0) mRootNameID = root;
  return status;
}

int32_t CProcess::CreateControlMessageObjects() {
  if (!mMessages) return 0;
  const FicRef server = CProcessGroup::GetDAEServer();
  const FicRef task = CProcessGroup::GetDAEObject();
  const FicRef type = FicFindStandardType(server, kListenerObjectType);
  struct SListenerKind {
    std::vector<FicRef> SControlMessages::*mList;
    uint32_t mType, mSubType;
  };
  static const SListenerKind kKinds[] = {
      {&SControlMessages::mCurrentListeners, controltoken::kCurrentValue, controltoken::kControlValue},
      {&SControlMessages::mGetListeners, controltoken::kGetValue, controltoken::kControlValue},
      {&SControlMessages::mSetListeners, controltoken::kSetValue, controltoken::kHighlight},
  };
  int16_t firstFailure = 0;
  const auto note = [&](int16_t status) {
    if (firstFailure == 0) firstFailure = status;
  };
  for (int32_t n = 1; n <= CountControls() && HasMessagesFor(n); ++n) {
    mMessages->mTasks[n] = SMessageTask{this, n};
    const HostWord taskValue = reinterpret_cast<HostWord>(&mMessages->mTasks[n]);
    for (const SListenerKind& kind : kKinds) {
      const FicRef listener = FicNewObject(server, type);
      if (!listener) return DAEResult::kMissingObject;
      (mMessages.get()->*kind.mList)[n] = listener;
      note(FicSDSSetListenerName(listener, mMessages->mNameIDs[n], 0));
      note(FicSDSSetListenerType(listener, kind.mType));
      note(FicSDSSetListenerSubType(listener, kind.mSubType));
      note(FicSDSSetListenerGoal(listener, 0));
      note(FicSDSSetListenerCriticalFlag(listener, 0));
      // A listener keeps only the newest token: a stale value is worth
      // nothing once a newer one has arrived.
      note(FicSDSSetListenerLatestFlag(listener, 1));
      note(FicSDSSetListenerTaskVal(listener, taskValue));
      note(FicSDSSetListenerTask(listener, task));
      note(FicSDSSetListenerProtocol(listener, controltoken::kProtocol));
      note(FicSDSSetListenerManufacturer(listener, controltoken::kManufacturer));
    }
  }
  return firstFailure;
}

int32_t CProcess::DeleteControlMessageObjects() {
  if (!mMessages) return 0;
  for (auto list : {&SControlMessages::mCurrentListeners, &SControlMessages::mGetListeners,
                    &SControlMessages::mSetListeners}) {
    for (FicRef& listener : mMessages.get()->*list) {
      if (listener) FicDelete(listener);
      listener = 0;
    }
  }
  return 0;
}

int32_t CProcess::FreeControlNames() {
  if (!mMessages) return 0;
  for (int32_t& id : mMessages->mNameIDs) {
    if (id) FicSDSFreeName(mInstanceNameID, id);
    id = 0;
  }
  return 0;
}

int32_t CProcess::FreeInstanceName() {
  if (mInstanceNameID) FicSDSFreeName(0, mInstanceNameID);
  mInstanceNameID = 0;
  return 0;
}

int32_t CProcess::TouchControl(int32_t n) {
  if (!IsLinkedToEngine() || !HasMessagesFor(n)) return 0;
  int32_t& count = mMessages->mTouchCounts[n];
  int16_t status = 0;
  if (count == 0) {
    status = Post(CControlToken::Touch(ControlNameID(n), 1).Bytes());
    Post(CControlToken::GestureBoundary(mRootNameID).Bytes());
  }
  ++count;
  return status;
}

int32_t CProcess::ReleaseControl(int32_t n) {
  if (!IsLinkedToEngine() || !HasMessagesFor(n)) return 0;
  int32_t& count = mMessages->mTouchCounts[n];
  // A release without its touch would leave the count below zero, and
  // the next touch would then never reach the engine.
  if (count <= 0) return 0;
  if (--count == 0) return Post(CControlToken::Touch(ControlNameID(n), 0).Bytes());
  return 0;
}

void CProcess::PollControlMessages() {
  if (!IsLinkedToEngine()) return;
  const uint32_t deadline = mClock() + kPollTicks;
  while (!TickReached(mClock(), deadline)) {
    void* token = nullptr;
    HostWord taskValue = 0;
    HostWord listener = 0;
    if (FicSDSGetTokenAndTaskVal(CProcessGroup::GetDAEObject(), &token, &taskValue, &listener) != 0 || !token) break;
    // Each listener's task value is its control's entry of the task
    // array: the process it belongs to and the control number.
    const SMessageTask none{nullptr, 0};
    DispatchToken(token, taskValue ? *reinterpret_cast<const SMessageTask*>(taskValue) : none);
    FicSDSDoneWithToken(token);
  }
  FicPersonalityDoIdle();
}

void CProcess::DispatchToken(const void* token, const SMessageTask& task) {
  const uint32_t type = TokenWord(token, hostwords::kTokenType);
  const uint32_t subType = TokenWord(token, hostwords::kTokenSubType);
  CProcess* process = task.mProcess;
  const int32_t n = task.mControl;
  if (!process) {
    HandleOtherToken(token);
  } else if (type == controltoken::kSetValue && subType == controltoken::kHighlight) {
    const uint8_t* data = static_cast<const uint8_t*>(token) + controltoken::kHighlightData;
    const bool whole = TokenLength(token) >= controltoken::kHighlightTokenBytes;
    process->HighlightControl(n, TokenShort(token, controltoken::kPayload),
                              TokenShort(token, controltoken::kHighlightValueB),
                              TokenShort(token, controltoken::kHighlightValueA), whole ? data : nullptr);
  } else if (type == controltoken::kGetValue && subType == controltoken::kControlValue) {
    int32_t value = 0;
    process->GetControlValue(n, &value);
    Post(CControlToken::Value(process->ControlNameID(n), controltoken::kCurrentValue, value).Bytes());
  } else if (type == controltoken::kCurrentValue && subType == controltoken::kControlValue) {
    process->UpdateControlView(n);
  } else {
    HandleOtherToken(token);
  }
}

#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/protools/DAE.h"
#include "rtas/library/CPluginControlVector.h"
#include "rtas/library/CProcessView.h"
#include "rtas/library/HostRecords.h"
#include "rtas/library/TickClock.h"

class CProcessType;

// One plug-in instance as the host sees it (one per insert): it owns the
// instance's host-visible controls and its editor view, answers the host's
// questions about the controls, counts changes for the host's saved state
// and, while the library is linked to the host's audio engine, exchanges
// control messages with the engine.
//
// Linked, a value set through SetControlValue is posted to the engine and
// comes back later through UpdateControlValue; unlinked it is applied at
// once. Either way UpdateControlValue is where a value lands: it stores
// the value, runs the ControlValueChanged hook and counts the change.
//
// The virtual operations are the host library's process slots; a comment
// gives each one's slot number where the type reaches it by number.
// Questions about a control number that has no control get a neutral
// answer and 0; only GetControl throws.
class CProcess {
 public:
  // The stored record of slots 131 and 132: six doubles and a word.
  static constexpr size_t kStoredRecordBytes = 52;

  CProcess();
  virtual ~CProcess();
  CProcess(const CProcess&) = delete;
  CProcess& operator=(const CProcess&) = delete;

  // 0, 1: the view; with the engine link the names, the per-control
  // arrays and the listeners. Failures throw; ReleaseProcess undoes what
  // was done, and may run any number of times.
  virtual void InitProcess();
  virtual void ReleaseProcess();
  // 2
  virtual void SetProcessType(CProcessType* type) { mType = type; }
  // 3: DoIdle; 4: the control-message poll (the binding adds its own).
  virtual int32_t Idle(EventRecord* event);
  virtual void DoIdle() { PollControlMessages(); }

  // 5 to 10: the view. Without one they do nothing and answer 0.
  virtual int32_t DrawView(Rect* area);
  virtual int32_t ClickView(EventRecord* event);
  virtual int32_t GetViewState(EventRecord* event, uint8_t* handled);
  virtual int32_t GetViewRect(Rect* frame);
  // Also binds every control view to its control, or unbinds them all
  // when the port goes.
  virtual int32_t SetViewPort(OpaqueGrafPtr* port);
  virtual int32_t SetViewPosition(const Point& where);
  // 11: the rate the host runs at, kept for whoever renders.
  virtual int32_t SetSampleRate(int32_t sampleRateHz);
  // 12, 13
  virtual int32_t SetSharedValue(int32_t) { return 0; }
  virtual int32_t SetBypass(int32_t, uint8_t) { return 0; }
  // 14: the time code's two values.
  virtual int32_t SetTimeCodeInfo(SFicTimeCodeInfo* info);
  // 17 to 24
  virtual void SetTypeIndex(int16_t index) { mTypeIndex = index; }
  virtual int16_t GetTypeIndex() const { return mTypeIndex; }
  virtual void SetInstanceNumber(int16_t number) { mInstanceNumber = number; }
  virtual int16_t GetInstanceNumber() const { return mInstanceNumber; }
  virtual int32_t SetTypeWord1(HostWord word);
  virtual int32_t GetTypeWord1(HostWord* word);
  virtual int32_t SetTypeWord2(HostWord word);
  virtual int32_t GetTypeWord2(HostWord* word);
  // 25, 26: the effect classes answer them.
  virtual int32_t GetNumInputs(int16_t* count) = 0;
  virtual int32_t GetNumOutputs(int16_t* count) = 0;
  // 27, 28: only while the readiness queries (155, 156) allow it.
  virtual int32_t SetInputCount(int16_t count);
  virtual int32_t SetOutputCount(int16_t count);
  // 29 to 35: the port model's defaults.
  virtual int32_t IsInputPortConnected(int32_t port, uint8_t* connected);
  virtual int32_t IsOutputPortFree(int32_t port, uint8_t* isFree);
  virtual int32_t IsOutputPortConnected(int32_t port, uint8_t* connected);
  virtual int32_t ConnectInputPortSlot(int32_t, int32_t) { return 0; }
  virtual int32_t ConnectOutputPortSlot(int32_t, int32_t) { return 0; }
  virtual int32_t DisconnectInputPortSlot(int32_t) { return 0; }
  virtual int32_t DisconnectOutputPortSlot(int32_t) { return 0; }

  // 36 to 51: the controls.
  virtual int32_t GetControlCount(int16_t* count);
  virtual int32_t GetMasterBypassControl(int32_t* control);
  virtual int32_t GetControlAutomatable(int32_t n, int16_t* automatable);
  virtual int32_t GetNumSteps(int32_t n, int32_t* steps);
  virtual int32_t ConvertControlString(int32_t n, int32_t* value, char* text);
  virtual int32_t IsControlKeyAcceptable(int32_t n, char key, uint8_t* acceptable);
  // A Pascal string of at most maxLength (at most 255) characters; the
  // buffer holds maxLength + 1 bytes.
  virtual int32_t GetControlValueString(int32_t n, int32_t value, char* text, int32_t maxLength);
  // Names as Pascal strings: 31 characters here, `length` in the other.
  virtual int32_t GetControlName(int32_t n, char* text);
  virtual int32_t GetControlNameOfLength(int32_t n, char* text, int32_t length, uint32_t tag, int16_t* unused);
  virtual int32_t GetControlLabel(int32_t n, char* text) { return GetControlName(n, text); }
  virtual int32_t GetControlValue(int32_t n, int32_t* value);
  virtual int32_t SetControlValue(int32_t n, int32_t value);
  virtual int32_t AddToControlValue(int32_t n, int32_t delta);
  virtual int32_t GetControlDefaultValue(int32_t n, int32_t* value);
  virtual int32_t SetControlDefaultValue(int32_t n, int32_t value);
  virtual int32_t HostCall156(int32_t, int32_t, int32_t, int32_t*);
  // 52 to 54
  virtual int32_t HostCall049(int32_t, SFicAutoTimeRampData*) { return 0; }
  virtual SFicTDMAutoElem** HostCall073(int32_t) { return nullptr; }
  virtual void* HostCall074(int32_t) { return nullptr; }
  // 55 to 57: control-surface pages of the surface kind (a 16-bit number
  // where 65535 and -1 are the same) from the type's page table for the
  // tag. -1 when there is no usable table.
  virtual int32_t CountSurfacePages(uint32_t tag, int16_t kind);
  virtual int32_t GetSurfacePageEntry(uint32_t tag, int16_t kind, int16_t page, int16_t position);
  virtual int32_t HasSurfacePages(uint32_t tag, int16_t kind);
  // 58 to 61
  virtual int32_t IsBypassed(int32_t, uint8_t* bypassed);
  virtual int32_t HostCall050(int32_t, uint8_t) { return 0; }
  virtual int32_t HostCall052(int32_t, uint8_t* out);
  // The master bypass control, when the type's category shares a bit
  // with `flags`; the type's answer.
  virtual int32_t GetFlaggedControl(uint32_t flags, uint32_t* control);
  // 62 to 75: meters and their neighbours; the effect classes answer.
  virtual int32_t GetProcessMeterCount(int32_t* count);
  virtual int32_t GetMeterValues(int32_t, int32_t* values);
  virtual int32_t HostCall055(int32_t, char*) { return 0; }
  virtual int32_t GetMeterEntryFlag(int32_t, char* flag);
  virtual int32_t GetMeterCountOfKind(char, int32_t* count);
  virtual int32_t GetNthMeterOfKind(char, int32_t, int32_t* index);
  virtual int32_t IsClipped(uint8_t* clipped);
  virtual int32_t ClearClipIndicators() { return 0; }
  virtual int32_t HostCall160(int32_t, int32_t, uint8_t) { return 0; }
  virtual int32_t HostCall161(uint8_t* out);
  virtual int32_t HostCall162(int32_t, void*, uint8_t* out);
  virtual int32_t HostCall163() { return 0; }
  virtual int32_t HostCall164(int32_t, int32_t) { return 0; }
  // 76 to 82: there is no chunk here; the effect classes add them.
  virtual int32_t CountChunks(int32_t* count);
  virtual int32_t GetChunkIdAt(int32_t index, uint32_t* id);
  virtual int32_t GetChunkName(uint32_t id, uint8_t* name);
  virtual int32_t GetChunkSize(uint32_t id, int32_t* size);
  virtual int32_t GetChunk(uint32_t id, SFicPlugInChunk* chunk);
  virtual int32_t SetChunk(uint32_t id, SFicPlugInChunk* chunk);
  virtual int32_t CompareChunk(SFicPlugInChunk* chunk, uint8_t* equal);
  // 83: left alone while the counter is negative.
  virtual int32_t GetChangeCount(int32_t* count);
  // 84 to 90
  virtual int32_t HostCall165(char* text);
  virtual int32_t HostCall171(void*) { return 0; }
  virtual int32_t HostCall069(uint8_t) { return 0; }
  virtual int32_t HostCall071(int32_t, uint8_t) { return 0; }
  virtual int32_t HostCall072(uint8_t) { return 0; }
  virtual int32_t GetLatency16(int16_t* samples);
  virtual int32_t GetLatency(int32_t* samples);
  // 91, 92
  virtual int32_t ActivateView();
  virtual int32_t DeactivateView();
  // 93 to 101
  virtual int32_t HostCall094(int16_t, int16_t, char* text);
  virtual int32_t HostCall095(int16_t, int16_t, char* text);
  virtual int32_t HostCall096(int16_t, int16_t, int16_t, int16_t* out);
  virtual int32_t HostCall097(int16_t, int16_t, int16_t, int16_t, char* text);
  virtual int32_t HostCall101();
  virtual int32_t HostCall102(int32_t, int32_t) { return 0; }
  virtual int32_t HostCall103(int16_t, int32_t, int32_t* out);
  virtual int32_t HostCall104(int32_t* out);
  virtual int32_t HostCall105(int32_t* out);
  // 102 to 107: the engine's names and listeners.
  virtual int32_t ReserveInstanceName(int32_t parentNameID);
  virtual int32_t ReserveControlNames();
  virtual int32_t CreateControlMessageObjects();
  virtual int32_t FreeInstanceName();
  virtual int32_t FreeControlNames();
  virtual int32_t DeleteControlMessageObjects();
  // 108: a highlight the engine sent for control n: its state, the two
  // values the token carries at 54 and 40, and its text block (or null).
  virtual int32_t HighlightControl(int32_t n, int16_t state, int16_t first, int16_t second, const uint8_t* data);
  // 109: control n's editors show its value again.
  virtual int32_t UpdateControlView(int32_t n);
  // 110, 111, 112
  virtual int32_t UpdateControlValue(int32_t n, int32_t value);
  virtual void ControlValueChanged(int32_t) {}
  virtual int32_t AddToUpdatedControlValue(int32_t n, int32_t delta);
  // 113 to 121
  virtual int32_t GetControlAttribute1(int32_t n, int32_t* value);
  virtual int32_t IsControlContinuous(int32_t n, int32_t* continuous);
  virtual int32_t GetControlAttribute2(int32_t n, int32_t* value);
  virtual int32_t GetInstanceNameID(void** nameID);
  virtual int32_t GetControlNameID(int32_t n, void** nameID);
  // A C string of at most `length` characters; a length above 99 is the
  // host's way of asking for length - 100.
  virtual int32_t GetControlValueText(int32_t n, int32_t value, char* text, int32_t length);
  virtual int32_t ConvertControlText(int32_t n, char* text, int32_t* value) {
    return ConvertControlString(n, value, text);
  }
  virtual int32_t GetControlHighlight(int32_t n, int16_t* state, int16_t* colour);
  virtual int32_t SetControlHighlight(int32_t n, int16_t state, int16_t colour);
  // 122, 123: the host's touch begin and end around a gesture.
  virtual int32_t TouchControl(int32_t n);
  virtual int32_t ReleaseControl(int32_t n);
  // 124: the control under the point, 0 for none.
  virtual int32_t GetFocusedControl(const Point& where, int32_t* control);
  // 125: the engine name's base (a C string, at most 255 bytes).
  virtual void GetBaseName(char* text);
  // 126 to 134
  virtual int32_t GetStemFormatName(int32_t, uint8_t*);
  virtual int32_t SetSharedPair(int32_t a, int32_t b);
  // The page id of control n: its id; for a number without a control,
  // the id of a view in the tree that shows that control number. -7300
  // when there is none.
  virtual int32_t GetControlPageID(int32_t n, uint32_t* pageID);
  virtual int32_t HostCall130(int32_t word);
  virtual int32_t HandleOtherToken(const void*) { return 0; }
  virtual int32_t GetStoredRecord(void* record);
  virtual int32_t StoreRecord(void* record);
  virtual int32_t HostCall141(SFicPlugInSpec*, int32_t, int32_t* out);
  virtual int32_t HostCall142(SFicPlugInSpec*, int32_t, int32_t* out);
  // 135 to 148: the effect classes answer them.
  virtual int32_t HostCall143(int32_t, uint8_t) { return 0; }
  virtual int32_t CountChunkDescriptors(int32_t* count);
  virtual int32_t GetChunkDescriptor(int32_t, SFicPlugInStemInfo*) { return 0; }
  virtual int32_t HostCall172(IACFUnknown** out);
  virtual int32_t HostCall151(int32_t, int32_t) { return 0; }
  virtual int32_t HostCall152(int32_t, int32_t* out);
  virtual int32_t HostCall153(int32_t* out);
  virtual int32_t HostCall154(int32_t, int32_t) { return 0; }
  virtual int32_t HostCall155(int32_t, int32_t* out);
  virtual int32_t HostCall157(int32_t, uint8_t) { return 0; }
  virtual int32_t HostCall168(void*) { return 0; }
  virtual int32_t HostCall169(SFileList*, SFileList*) { return 0; }
  virtual int32_t HostCall170(SFileList*, SFileList*, uint8_t) { return 0; }
  virtual int32_t HostCall173() { return 0; }
  // 149: before the instance is removed.
  virtual int32_t CloseProcess() { return 0; }
  // 150, 151
  virtual void SetProcessFlag(uint8_t flag) { mProcessFlag = flag; }
  virtual void ClearProcessFlag() { mProcessFlag = 0; }
  // 154: the editor's root view. The library's views are built on this
  // library, so the base has no view class to make and answers null,
  // which fails the initialisation with -7053; the effect layer makes
  // its dialog view here.
  virtual CProcessView* CreateView();
  // 155, 156
  virtual bool CanSetInputCount() { return false; }
  virtual bool CanSetOutputCount() { return false; }
  // 157: the page table the type keeps for the tag; null without one.
  virtual const std::vector<uint8_t>* GetPageTable(uint32_t tag);
  // The render slot the port model's default routines call once their
  // port records are set (the argument points at the render argument).
  virtual int32_t RenderPorts(int32_t*) { return 0; }

  // Takes ownership; CDAEError -7053 for null.
  void AddControl(CPluginControl* control) { mControls.AddControl(control); }
  // Throws CDAEError -7300 for a bad number.
  CPluginControl* GetControl(int32_t n) const { return mControls.GetControl(n); }
  bool IsValidControlIndex(int32_t n) const { return mControls.IsValidControlIndex(n); }
  int32_t CountControls() const { return mControls.GetControlCount(); }

  // The counts of slots 25 and 26; a non-zero answer throws as CDAEError.
  int16_t InputCount();
  int16_t OutputCount();

  // The engine's tokens, drained for up to 2 ticks. Only with the link.
  void PollControlMessages();

  CProcessType* GetProcessType() const { return mType; }
  CProcessView* GetView() const { return mView.get(); }
  int32_t GetSampleRate() const { return mSampleRate; }
  int32_t GetChangeCounter() const { return mChangeCount; }
  void BumpChangeCounter() { ++mChangeCount; }
  int32_t InstanceNameID() const { return mInstanceNameID; }
  int32_t RootNameID() const { return mRootNameID; }
  int16_t GetTimeCodeCode() const { return mTimeCodeCode; }
  int32_t GetTimeCodeValue() const { return mTimeCodeValue; }
  int32_t GetSharedPairValue() const { return mSharedPair; }
  int32_t GetHostWord130() const { return mWord130; }
  uint8_t GetProcessFlag() const { return mProcessFlag; }
  // Read and cleared by the meter set.
  int16_t GetMeterRefreshFlag() const { return mMeterRefreshFlag; }
  void SetMeterRefreshFlag(int16_t flag) { mMeterRefreshFlag = flag; }
  // Set by the engine's connection handshakes.
  bool IsConnected() const { return mConnected != 0; }
  void SetConnected(bool connected) { mConnected = connected ? 1 : 0; }
  // Whether the per-control message arrays exist (made with the link).
  bool HasControlMessages() const { return mMessages != nullptr; }
  int32_t GetTouchCount(int32_t n) const;
  // Set after each block the host's render routine completed.
  bool IsRendered() const { return mRendered != 0; }
  void SetRendered(bool rendered) { mRendered = rendered ? 1 : 0; }

  // The clock of the idle poll's 2-tick budget.
  void SetTickClock(TickClock clock) { mClock = clock; }

 protected:
  static bool IsLinkedToEngine();

 private:
  // What one listener's task value names.
  struct SMessageTask {
    CProcess* mProcess;
    int32_t mControl;
  };
  // One entry per control number 0 to count; entry 0 stays empty.
  struct SControlMessages {
    explicit SControlMessages(size_t entries)
        : mNameIDs(entries),
          mCurrentListeners(entries),
          mGetListeners(entries),
          mSetListeners(entries),
          mTouchCounts(entries),
          mTasks(entries) {}
    std::vector<int32_t> mNameIDs;
    std::vector<FicRef> mCurrentListeners, mGetListeners, mSetListeners;
    std::vector<int32_t> mTouchCounts;
    std::vector<SMessageTask> mTasks;
  };

  // Posts a token; the engine's status.
  static int16_t Post(const void* token);
  int32_t ControlNameID(int32_t n) const;
  bool HasMessagesFor(int32_t n) const { return mMessages && n >= 1 && n < static_cast<int32_t>(mMessages->mNameIDs.size()); }
  int32_t AddWithSaturation(int32_t n, int32_t delta) const;
  // The view whose id is control n's page id, or null.
  CProcessView* FindControlView(int32_t n);
  void DispatchToken(const void* token, const SMessageTask& task);

  CProcessType* mType = nullptr;
  int16_t mTypeIndex = -1;
  int16_t mInstanceNumber = -1;
  HostWord mTypeWord1 = 0;
  HostWord mTypeWord2 = 0;
  std::unique_ptr<CProcessView> mView;
  int16_t mInputs = 0;
  int16_t mOutputs = 0;
  int32_t mSampleRate;
  int32_t mSharedPair = 0;
  int32_t mChangeCount = 0;
  uint8_t mProcessFlag = 0;
  int16_t mTimeCodeCode;
  int32_t mTimeCodeValue;
  int16_t mMeterRefreshFlag = 1;
  int32_t mInstanceNameID = 0;
  int32_t mRootNameID = 0;
  std::unique_ptr<SControlMessages> mMessages;
  int32_t mWord130 = 0;
  uint8_t mConnected = 0;
  uint8_t mRendered = 0;
  uint8_t mStoredRecord[kStoredRecordBytes] = {};
  CPluginControlVector mControls;
  TickClock mClock = SystemTickCount;
};

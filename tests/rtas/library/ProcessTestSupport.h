#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/carboncore/MacTypes.h"
#include "rtas/library/CDSPProcess.h"
#include "rtas/library/CDAEError.h"
#include "rtas/library/CDSPProcessType.h"
#include "rtas/library/CPluginControl_Discrete.h"
#include "rtas/library/CPluginControl_Linear.h"
#include "rtas/library/CProcessGroup.h"
#include "rtas/library/CProcessView.h"
#include "rtas/library/FourCC.h"

// A view of a test's editor tree: it answers as the test set it up and
// writes every request into a shared log ("id:Operation").
class FakeView : public CProcessView {
 public:
  FakeView(uint32_t id, std::vector<std::string>* log) : mID(id), mLog(log) {}
  ~FakeView() override {
    for (FakeView* child : mChildren) delete child;
  }

  FakeView* Add(FakeView* child) {
    child->mParent = this;
    mChildren.push_back(child);
    return child;
  }

  void Realize() override {
    Note("Realize");
    if (mRealizeThrows) throw std::runtime_error("tree");
  }
  CProcessView* FindViewAt(const Point&) override { return mHit; }
  void DeactivateView() override { Note("DeactivateView"); }
  void ActivateView() override { Note("ActivateView"); }
  void AttachPort(OpaqueGrafPtr* port) override { Note(port ? "AttachPort" : "AttachPort(null)"); }
  void GetFrameRect(Rect* frame) override { *frame = mFrame; }
  void DoKey(const EventRecord*, bool* handled) override {
    Note("DoKey");
    *handled = mKeyHandled;
  }
  int32_t DoClick(const EventRecord*) override {
    Note("DoClick");
    return 0;
  }
  void DrawRect(const Rect*) override { Note("DrawRect"); }
  bool IsEnabled() override { return mEnabled; }
  void GetControlIndex(int32_t* index) override { *index = mControlIndex; }
  bool IsProcessControl() override { return mProcessControl; }
  bool HasControlHighlight() override { return mHighlighted; }
  void GetControlHighlight(uint16_t* colour, int16_t* second, std::string* text) override {
    *colour = mColour;
    *second = mSecond;
    *text = mText;
  }
  void MoveViewTo(const Point& where) override {
    mMovedTo = where;
    Note("MoveViewTo");
  }
  CProcessView* GetParentView() override { return mParent; }
  CProcessView* GetFirstChild() override { return mChildren.empty() ? nullptr : mChildren.front(); }
  CProcessView* GetNextSibling() override {
    if (!mParent) return nullptr;
    auto& siblings = mParent->mChildren;
    for (size_t i = 0; i + 1 < siblings.size(); ++i) {
      if (siblings[i] == this) return siblings[i + 1];
    }
    return nullptr;
  }
  uint32_t GetViewID() override { return mID; }
  CProcessView* FindViewByID(uint32_t id) override {
    if (id == FourCC("NONE")) return nullptr;
    for (FakeView* child : mChildren) {
      if (child->mID == id) return child;
    }
    for (FakeView* child : mChildren) {
      if (CProcessView* found = child->FindViewByID(id)) return found;
    }
    return nullptr;
  }
  void SetHighlighted(bool highlighted) override {
    mHighlighted = highlighted;
    Note("SetHighlighted");
  }
  void SetHighlight(uint16_t colour, int16_t second, const std::string& text) override {
    mColour = colour;
    mSecond = second;
    mText = text;
    Note("SetHighlight");
  }
  void UpdateEditors() override { Note("UpdateEditors"); }
  void AttachToControl(CProcess* process, int32_t index, bool update) override {
    mAttachedProcess = process;
    mAttachedIndex = index;
    Note(update ? "AttachToControl" : "AttachToControl(off)");
  }

  uint32_t mID;
  bool mRealizeThrows = false;
  bool mEnabled = false;
  bool mProcessControl = false;
  bool mKeyHandled = false;
  int32_t mControlIndex = 0;
  bool mHighlighted = false;
  uint16_t mColour = 0;
  int16_t mSecond = 0;
  std::string mText;
  Rect mFrame{0, 0, 0, 0};
  Point mMovedTo{0, 0};
  CProcessView* mHit = nullptr;
  CProcess* mAttachedProcess = nullptr;
  int32_t mAttachedIndex = 0;
  FakeView* mParent = nullptr;
  std::vector<FakeView*> mChildren;

 private:
  void Note(const std::string& what) {
    if (mLog) mLog->push_back(std::string(1, static_cast<char>(mID >> 24)) + ":" + what);
  }
  std::vector<std::string>* mLog;
};

// What a test wants of the processes it makes, and what they did.
struct SProcessScript {
  int32_t controls = 3;
  bool initThrows = false;
  bool closeThrows = false;
  // The editor tree each process builds; a bare root when unset.
  std::function<FakeView*(std::vector<std::string>* log)> makeView;
  std::vector<std::string> log;
  int16_t inputs = 2, outputs = 2;
};

// A process with discrete controls 'ct01', 'ct02', ... (0 to 10, default
// 5), whose hooks write into the script's log.
class TestProcess : public CDSPProcess {
 public:
  explicit TestProcess(SProcessScript* script) : mScript(script) {
    for (int32_t n = 1; n <= script->controls; ++n) {
      const uint32_t id = FourCC("ct00") + static_cast<uint32_t>(n / 10 * 256 + n % 10);
      const std::string name = "Control " + std::to_string(n) + "\nC" + std::to_string(n);
      AddControl(new CPluginControl_Discrete(id, name.c_str(), 0, 10, 5, true));
    }
  }
  ~TestProcess() override { mScript->log.push_back("deleted " + std::to_string(GetInstanceNumber())); }

  int32_t GetNumInputs(int16_t* count) override {
    *count = mScript->inputs;
    return 0;
  }
  int32_t GetNumOutputs(int16_t* count) override {
    *count = mScript->outputs;
    return 0;
  }
  CProcessView* CreateView() override {
    if (mScript->makeView) return mScript->makeView(&mScript->log);
    return new FakeView(FourCC("root"), &mScript->log);
  }
  void InitProcess() override {
    CDSPProcess::InitProcess();
    if (mScript->initThrows) throw CDAEError(-7999);
  }
  int32_t CloseProcess() override {
    mScript->log.push_back("close " + std::to_string(GetInstanceNumber()));
    if (mScript->closeThrows) throw std::runtime_error("close");
    return 0;
  }
  void ControlValueChanged(int32_t n) override { mScript->log.push_back("changed " + std::to_string(n)); }

  SProcessScript* mScript;
};

// A type that makes TestProcesses.
class TestProcessType : public CDSPProcessType {
 public:
  TestProcessType(uint32_t typeID, SProcessScript* script) : mTypeID(typeID), mScript(script) {}
  int32_t GetTypeID(uint32_t* typeID) override {
    *typeID = mTypeID;
    return 0;
  }
  int32_t GetTypeInputCount(int32_t, int16_t* count) override {
    *count = mScript->inputs;
    return 0;
  }
  int32_t GetTypeOutputCount(int32_t, int16_t* count) override {
    *count = mScript->outputs;
    return 0;
  }
  CProcess* CallProcessCreator() override { return mMakesNothing ? nullptr : new TestProcess(mScript); }

  bool mMakesNothing = false;

 private:
  uint32_t mTypeID;
  SProcessScript* mScript;
};

// The instance numbers of a type in list order.
inline std::vector<int32_t> InstanceNumbers(const CProcessType& type) {
  std::vector<int32_t> numbers;
  for (CProcess* process : type.GetInstances()) numbers.push_back(process->GetInstanceNumber());
  return numbers;
}

#include "rtas/library/CProcess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "ProcessTestSupport.h"
#include "rtas/library/CPluginControl_List.h"
#include "rtas/library/PString.h"

// The process on its own, without the engine link: controls, values,
// texts, the view and the defaults. The engine exchange has a test file
// of its own.

namespace {

std::string PascalText(const char* text) { return PStringToString(reinterpret_cast<const unsigned char*>(text)); }

// A root with a control view for each of the given control ids.
std::function<FakeView*(std::vector<std::string>*)> TreeWithControlViews(std::vector<uint32_t> ids) {
  return [ids](std::vector<std::string>* log) {
    auto* root = new FakeView(FourCC("root"), log);
    for (uint32_t id : ids) root->Add(new FakeView(id, log));
    return root;
  };
}

FakeView* ViewOf(TestProcess& process, uint32_t id) {
  return static_cast<FakeView*>(process.GetView()->FindViewByID(id));
}

class ProcessTest : public ::testing::Test {
 protected:
  TestProcess& MakeProcess() {
    process = std::make_unique<TestProcess>(&script);
    process->InitProcess();
    script.log.clear();
    return *process;
  }

  SProcessScript script;
  std::unique_ptr<TestProcess> process;
};

}  // namespace

TEST_F(ProcessTest, UnlinkedSetAppliesTheValueAtOnceAndCountsOneChange) {
  script.makeView = TreeWithControlViews({FourCC("ct02")});
  TestProcess& p = MakeProcess();
  ASSERT_FALSE(p.HasControlMessages());
  EXPECT_EQ(p.SetControlValue(2, 123456), 0);
  EXPECT_EQ(p.GetControl(2)->GetValue(), 123456);
  EXPECT_EQ(script.log, (std::vector<std::string>{"changed 2", "c:UpdateEditors"}));
  EXPECT_EQ(p.GetChangeCounter(), 1);
  for (int set = 0; set < 3; ++set) p.SetControlValue(1, set);
  EXPECT_EQ(p.GetChangeCounter(), 4);
  int32_t count = -1;
  p.GetChangeCount(&count);
  EXPECT_EQ(count, 4);
  // The host's value update lands the same way, without a view refresh.
  script.log.clear();
  EXPECT_EQ(p.UpdateControlValue(3, 77), 0);
  EXPECT_EQ(p.GetControl(3)->GetValue(), 77);
  EXPECT_EQ(script.log, (std::vector<std::string>{"changed 3"}));
  EXPECT_EQ(p.GetChangeCounter(), 5);
}

TEST_F(ProcessTest, ANumberWithoutAControlGetsNeutralAnswers) {
  TestProcess& p = MakeProcess();
  for (int32_t n : {0, -1, 4, INT32_MAX}) {
    SCOPED_TRACE(n);
    const int32_t changes = p.GetChangeCounter();
    EXPECT_EQ(p.SetControlValue(n, 9), 0);
    EXPECT_EQ(p.AddToControlValue(n, 9), 0);
    EXPECT_EQ(p.GetChangeCounter(), changes);
    EXPECT_TRUE(script.log.empty());

    int32_t word = -5;
    int16_t half = -5;
    uint8_t byte = 9;
    EXPECT_EQ(p.GetControlValue(n, &word), 0);
    EXPECT_EQ(word, 0);
    word = -5;
    EXPECT_EQ(p.GetControlDefaultValue(n, &word), 0);
    EXPECT_EQ(word, 0);
    word = -5;
    EXPECT_EQ(p.GetNumSteps(n, &word), 0);
    EXPECT_EQ(word, 0);
    EXPECT_EQ(p.GetControlAutomatable(n, &half), 0);
    EXPECT_EQ(half, 0);
    word = -5;
    EXPECT_EQ(p.IsControlContinuous(n, &word), 0);
    EXPECT_EQ(word, 1);
    word = -5;
    EXPECT_EQ(p.GetControlAttribute1(n, &word), 0);
    EXPECT_EQ(word, 0);
    EXPECT_EQ(p.IsControlKeyAcceptable(n, '5', &byte), 0);
    EXPECT_EQ(byte, 0);
    char text[] = "7";
    word = -5;
    EXPECT_EQ(p.ConvertControlString(n, &word, text), 0);
    EXPECT_EQ(word, 0);
    char name[64];
    std::memset(name, 'x', sizeof name);
    EXPECT_EQ(p.GetControlName(n, name), 0);
    EXPECT_EQ(name[0], 0);
    std::memset(name, 'x', sizeof name);
    EXPECT_EQ(p.GetControlValueText(n, 0, name, 20), 0);
    EXPECT_STREQ(name, "");
    uint32_t page = 0;
    EXPECT_EQ(p.GetControlPageID(n, &page), -7300);
    EXPECT_EQ(page, FourCC("NONE"));
    void* nameID = &word;
    EXPECT_EQ(p.GetControlNameID(n, &nameID), 0);
    EXPECT_EQ(nameID, nullptr);
  }
  // An update for a number without a control still counts a change, as
  // the host saves whenever the counter moved.
  EXPECT_EQ(p.UpdateControlValue(9, 1), 0);
  EXPECT_EQ(p.GetChangeCounter(), 1);
  EXPECT_TRUE(script.log.empty());
}

TEST_F(ProcessTest, DeltasSaturateAtTheEndsOfTheRange) {
  struct Row {
    int32_t start, delta, expected;
  };
  const Row rows[] = {
      {2147483600, 100, INT32_MAX},  {-2147483600, -100, INT32_MIN}, {INT32_MAX, 1, INT32_MAX},
      {INT32_MIN, -1, INT32_MIN},    {10, -20, -10},                 {INT32_MAX, INT32_MIN, -1},
      {INT32_MIN, INT32_MAX, -1},    {-5, 0, -5},
  };
  TestProcess& p = MakeProcess();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.start);
    p.GetControl(1)->SetValue(row.start);
    EXPECT_EQ(p.AddToControlValue(1, row.delta), 0);
    EXPECT_EQ(p.GetControl(1)->GetValue(), row.expected);
    p.GetControl(2)->SetValue(row.start);
    EXPECT_EQ(p.AddToUpdatedControlValue(2, row.delta), 0);
    EXPECT_EQ(p.GetControl(2)->GetValue(), row.expected);
  }
}

TEST_F(ProcessTest, NamesAreThePascalFormThatFitsAndValueTextsAreCut) {
  TestProcess& p = MakeProcess();
  const std::string longItem(40, 'L');
  p.AddControl(new CPluginControl_List(FourCC("list"), "List", {"short", longItem}, 1, true));

  char text[256];
  EXPECT_EQ(p.GetControlName(2, text), 0);
  EXPECT_EQ(PascalText(text), "Control 2");
  int16_t unused = -1;
  EXPECT_EQ(p.GetControlNameOfLength(2, text, 3, FourCC("PcTL"), &unused), 0);
  EXPECT_EQ(PascalText(text), "C2");
  EXPECT_EQ(unused, 0);
  EXPECT_EQ(p.GetControlNameOfLength(2, text, 1, FourCC("PcTL"), nullptr), 0);
  EXPECT_EQ(PascalText(text), "C");

  int32_t value = 0;
  p.GetControlValue(4, &value);
  // 131 is the host's way of asking for 31 characters.
  std::memset(text, 'x', sizeof text);
  EXPECT_EQ(p.GetControlValueText(4, value, text, 131), 0);
  EXPECT_EQ(std::string(text), longItem.substr(0, 31));
  EXPECT_EQ(p.GetControlValueText(4, value, text, 12), 0);
  EXPECT_EQ(std::string(text), longItem.substr(0, 12));
  EXPECT_EQ(p.GetControlValueString(4, value, text, 20), 0);
  EXPECT_EQ(PascalText(text), longItem.substr(0, 20));
  // A request past what a length byte can count still gives a Pascal
  // string the host can read.
  EXPECT_EQ(p.GetControlNameOfLength(4, text, 400, 0, nullptr), 0);
  EXPECT_EQ(PascalText(text), "List");

  int32_t converted = -1;
  char typed[] = "short";
  EXPECT_EQ(p.ConvertControlText(4, typed, &converted), 0);
  EXPECT_EQ(converted, p.GetControl(4)->ConvertStringToValue("short"));
}

TEST_F(ProcessTest, TheViewIsMadeRealizedAndGoneWithTheRelease) {
  TestProcess& p = MakeProcess();
  ASSERT_NE(p.GetView(), nullptr);
  // Released twice, as the type and then the effect process's destructor
  // do: the second finds nothing left.
  p.ReleaseProcess();
  EXPECT_EQ(p.GetView(), nullptr);
  p.ReleaseProcess();
  EXPECT_EQ(p.GetView(), nullptr);

  script.log.clear();
  script.makeView = [](std::vector<std::string>* log) {
    auto* root = new FakeView(FourCC("root"), log);
    root->mRealizeThrows = true;
    return root;
  };
  TestProcess failing(&script);
  EXPECT_THROW(failing.InitProcess(), std::runtime_error);
  EXPECT_EQ(failing.GetView(), nullptr);
  EXPECT_EQ(script.log, (std::vector<std::string>{"r:Realize"}));

  script.makeView = [](std::vector<std::string>*) { return nullptr; };
  TestProcess viewless(&script);
  try {
    viewless.InitProcess();
    ADD_FAILURE() << "a process without a view";
  } catch (const CDAEError& error) {
    EXPECT_EQ(error.Code(), -7053);
  }
}

TEST_F(ProcessTest, HostRequestsReachTheRootView) {
  TestProcess& p = MakeProcess();
  auto* root = static_cast<FakeView*>(p.GetView());
  root->mFrame = Rect{1, 2, 3, 4};
  root->mKeyHandled = true;
  Rect frame{};
  EventRecord* noEvent = nullptr;
  EXPECT_EQ(p.DrawView(&frame), 0);
  EXPECT_EQ(p.ClickView(noEvent), 0);
  uint8_t handled = 0;
  EXPECT_EQ(p.GetViewState(noEvent, &handled), 0);
  EXPECT_EQ(handled, 1);
  EXPECT_EQ(p.GetViewRect(&frame), 0);
  EXPECT_EQ(frame.bottom, 3);
  EXPECT_EQ(p.SetViewPosition(Point{20, 10}), 0);
  EXPECT_EQ(root->mMovedTo.v, 20);
  EXPECT_EQ(p.ActivateView(), 0);
  EXPECT_EQ(p.DeactivateView(), 0);
  EXPECT_EQ(script.log, (std::vector<std::string>{"r:DrawRect", "r:DoClick", "r:DoKey", "r:MoveViewTo",
                                                  "r:ActivateView", "r:DeactivateView"}));

  p.ReleaseProcess();
  handled = 1;
  EXPECT_EQ(p.GetViewState(noEvent, &handled), 0);
  EXPECT_EQ(handled, 0);
  EXPECT_EQ(p.DrawView(&frame), 0);
  EXPECT_EQ(p.SetViewPort(nullptr), 0);
}

TEST_F(ProcessTest, APortChangeBindsAndUnbindsTheControlViews) {
  script.makeView = [](std::vector<std::string>* log) {
    auto* root = new FakeView(FourCC("root"), log);
    root->Add(new FakeView(FourCC("ct01"), log));
    root->Add(new FakeView(FourCC("grup"), log))->Add(new FakeView(FourCC("ct03"), log));
    return root;
  };
  TestProcess& p = MakeProcess();
  auto* port = reinterpret_cast<OpaqueGrafPtr*>(&script);
  EXPECT_EQ(p.SetViewPort(port), 0);
  EXPECT_EQ(script.log, (std::vector<std::string>{"r:AttachPort", "c:AttachToControl", "c:AttachToControl"}));
  EXPECT_EQ(ViewOf(p, FourCC("ct01"))->mAttachedIndex, 1);
  EXPECT_EQ(ViewOf(p, FourCC("ct03"))->mAttachedIndex, 3);
  EXPECT_EQ(ViewOf(p, FourCC("ct03"))->mAttachedProcess, &p);
  script.log.clear();
  EXPECT_EQ(p.SetViewPort(nullptr), 0);
  EXPECT_EQ(script.log,
            (std::vector<std::string>{"r:AttachPort(null)", "c:AttachToControl(off)", "c:AttachToControl(off)"}));
  EXPECT_EQ(ViewOf(p, FourCC("ct01"))->mAttachedProcess, nullptr);
}

TEST_F(ProcessTest, TheFocusedControlIsTheFirstEnabledViewUpTheChain) {
  script.makeView = [](std::vector<std::string>* log) {
    auto* root = new FakeView(FourCC("root"), log);
    FakeView* editor = root->Add(new FakeView(FourCC("edit"), log));
    editor->mEnabled = true;
    editor->mControlIndex = 4;
    root->mHit = editor->Add(new FakeView(FourCC("knob"), log));
    return root;
  };
  TestProcess& p = MakeProcess();
  int32_t control = -1;
  EXPECT_EQ(p.GetFocusedControl(Point{5, 5}, &control), 0);
  EXPECT_EQ(control, 4);
  static_cast<FakeView*>(p.GetView())->mHit = nullptr;
  EXPECT_EQ(p.GetFocusedControl(Point{5, 5}, &control), 0);
  EXPECT_EQ(control, 0);
}

TEST_F(ProcessTest, PageIDsAndHighlightsGoThroughTheControlsViews) {
  script.makeView = [](std::vector<std::string>* log) {
    auto* root = new FakeView(FourCC("root"), log);
    root->Add(new FakeView(FourCC("ct02"), log))->mText = "label";
    FakeView* spare = root->Add(new FakeView(FourCC("sp07"), log));
    spare->mProcessControl = true;
    spare->mControlIndex = 7;
    return root;
  };
  TestProcess& p = MakeProcess();
  uint32_t page = 0;
  EXPECT_EQ(p.GetControlPageID(2, &page), 0);
  EXPECT_EQ(page, FourCC("ct02"));
  // A number without a control is found by the process control view
  // that shows it.
  EXPECT_EQ(p.GetControlPageID(7, &page), 0);
  EXPECT_EQ(page, FourCC("sp07"));

  EXPECT_EQ(p.SetControlHighlight(2, 0x0101, 9), 0);
  FakeView* view = ViewOf(p, FourCC("ct02"));
  EXPECT_TRUE(view->mHighlighted);
  EXPECT_EQ(view->mColour, 9);
  EXPECT_EQ(view->mText, "label");
  int16_t state = -1, colour = -1;
  EXPECT_EQ(p.GetControlHighlight(2, &state, &colour), 0);
  EXPECT_EQ(state, 1);
  EXPECT_EQ(colour, 9);
  // Only the state's low byte counts.
  EXPECT_EQ(p.SetControlHighlight(2, 0x0100, 3), 0);
  EXPECT_FALSE(view->mHighlighted);
  EXPECT_EQ(p.GetControlHighlight(1, &state, &colour), 0);
  EXPECT_EQ(state, 0);
  EXPECT_EQ(colour, 0);
}

TEST_F(ProcessTest, DefaultsSayThereIsNothingOfTheKind) {
  TestProcess& p = MakeProcess();
  uint32_t id = 0;
  EXPECT_EQ(p.GetChunkIdAt(0, &id), -7157);
  EXPECT_EQ(id, 0x20202020u);
  int32_t size = -1;
  EXPECT_EQ(p.GetChunkSize(FourCC("elck"), &size), -7157);
  EXPECT_EQ(size, 0);
  uint8_t name[4] = {9, 9, 9, 9};
  EXPECT_EQ(p.GetChunkName(FourCC("elck"), name), -7157);
  EXPECT_EQ(name[0], 0);
  EXPECT_EQ(p.GetChunk(FourCC("elck"), nullptr), -7157);
  EXPECT_EQ(p.SetChunk(FourCC("elck"), nullptr), -7157);
  uint8_t equal = 1;
  EXPECT_EQ(p.CompareChunk(nullptr, &equal), 0);
  EXPECT_EQ(equal, 0);
  EXPECT_EQ(p.SetInputCount(1), -7152);
  EXPECT_EQ(p.SetOutputCount(1), -7153);
  uint8_t flag = 0;
  EXPECT_EQ(p.IsInputPortConnected(1, &flag), 0);
  EXPECT_EQ(flag, 1);
  EXPECT_EQ(p.IsOutputPortFree(1, &flag), 0);
  EXPECT_EQ(flag, 0);
  EXPECT_EQ(p.HostCall156(0, 0, 0, nullptr), -7304);
  EXPECT_EQ(p.HostCall101(), -7000);
  EXPECT_EQ(p.GetStemFormatName(0, nullptr), -7000);
  int32_t latency = -1;
  EXPECT_EQ(p.GetLatency(&latency), 0);
  EXPECT_EQ(latency, 0);
  EXPECT_EQ(p.InputCount(), 2);
  EXPECT_EQ(p.OutputCount(), 2);
}

TEST_F(ProcessTest, TheStoredRecordIsFiftyTwoBytesBothWays) {
  TestProcess& p = MakeProcess();
  uint8_t in[64], out[64];
  for (int i = 0; i < 64; ++i) in[i] = static_cast<uint8_t>(i + 1);
  std::memset(out, 0xEE, sizeof out);
  EXPECT_EQ(p.StoreRecord(in), 0);
  EXPECT_EQ(p.GetStoredRecord(out), 0);
  EXPECT_EQ(std::memcmp(in, out, 52), 0);
  for (int i = 52; i < 64; ++i) EXPECT_EQ(out[i], 0xEE) << i;
}

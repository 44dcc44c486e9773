#include <gtest/gtest.h>

#include "framework/IParam.h"
#include "platform/hitoolbox/EditText.h"
#include "tests/graphics/mac/MacWindowFixture.h"

namespace {

using platform::PointerInput;

// A control that keeps what an entry without a parameter hands it.
class TextTaker : public ProbeControl {
 public:
  using ProbeControl::ProbeControl;
  void TextFromTextEntry(const char* text) override { mTaken.push_back(text); }
  std::vector<std::string> mTaken;
};

class CarbonTextEntry : public MacWindowFixture {
 protected:
  void SetUp() override {
    graphics->AttachPanelBackground(&kColorBlack);
    freq = Add(IRECT(10, 10, 90, 30), GraphicsTestPlug::kFreq);
    taker = new TextTaker(&plug, IRECT(100, 10, 190, 30));
    graphics->AttachControl(taker);
    OpenCarbon();
  }
  // An entry over the frequency control, as its value prompt opens it.
  void OpenFreqEntry() {
    IRECT where(20, 12, 80, 28);
    graphics->PromptUserInput(freq, plug.GetParam(GraphicsTestPlug::kFreq), &where);
  }
  void OpenEntry(IControl* control, IParam* param, const char* text = "") {
    IRECT where(20, 12, 80, 28);
    graphics->CreateTextEntry(control, control->GetIText(), &where, text, param);
  }
  ControlRef Field() {
    ControlRef field = nullptr;
    GetKeyboardFocus(window, &field);
    return field;
  }
  std::string FieldText() {
    platform::EditFieldInfo info;
    return platform::GetEditFieldInfo(Field(), &info) ? info.text : "(none)";
  }
  double Freq() { return plug.GetParam(GraphicsTestPlug::kFreq)->Value(); }

  ProbeControl* freq = nullptr;
  TextTaker* taker = nullptr;
};

TEST_F(CarbonTextEntry, OpensOverTheControlWithTheValueSelectedAndReturnTakesTheText) {
  OpenFreqEntry();
  ControlRef field = Field();
  ASSERT_NE(field, nullptr);
  platform::EditFieldInfo info;
  ASSERT_TRUE(platform::GetEditFieldInfo(field, &info));
  char display[64];
  IParam* param = plug.GetParam(GraphicsTestPlug::kFreq);
  param->GetDisplayForHost(param->Value(), false, display, sizeof display, false);
  EXPECT_EQ(info.text, display);
  EXPECT_EQ(info.selStart, 0);
  EXPECT_EQ(info.selEnd, static_cast<int>(info.text.size()));
  EXPECT_TRUE(info.singleLine);
  EXPECT_EQ(info.style.flags, 0x45);
  EXPECT_EQ(info.style.size, freq->GetIText()->mSize);
  EXPECT_EQ(info.style.just, 1);  // centred
  EXPECT_EQ(Log().openTextFields, 1);

  Type("2500");
  EXPECT_EQ(FieldText(), "2500");
  const int cursorSets = Log().cursorSets;
  Key(platform::kKeyReturn, '\r');
  EXPECT_EQ(Freq(), 2500.0);
  EXPECT_EQ(Field(), nullptr);
  EXPECT_EQ(Log().openTextFields, 0);
  EXPECT_EQ(Log().cursorSets, cursorSets + 1);
  EXPECT_EQ(Log().cursor, platform::CursorKind::kArrow);
}

struct FilterCase {
  int param;  // -1: an entry without a parameter
  const char* typed;
  const char* expected;
};

class CarbonTextFilters : public CarbonTextEntry, public ::testing::WithParamInterface<FilterCase> {};

TEST_P(CarbonTextFilters, CharactersTheParameterCannotTakeAreSwallowed) {
  const FilterCase c = GetParam();
  if (c.param < 0) OpenEntry(taker, nullptr);
  else OpenEntry(freq, plug.GetParam(c.param));
  Type(c.typed);
  EXPECT_EQ(FieldText(), c.expected);
}

// kFreq is a double, kMode an enumeration, kLink a two-state parameter.
INSTANTIATE_TEST_SUITE_P(
    Table, CarbonTextFilters,
    ::testing::Values(FilterCase{GraphicsTestPlug::kFreq, "1e3", "13"}, FilterCase{GraphicsTestPlug::kFreq, "2k5", "25"},
                      FilterCase{GraphicsTestPlug::kFreq, "-1.5+", "-1.5+"},
                      FilterCase{GraphicsTestPlug::kMode, "1.5", "15"}, FilterCase{GraphicsTestPlug::kLink, "+1x", "+1"},
                      // Seven characters at most, whatever the parameter.
                      FilterCase{GraphicsTestPlug::kFreq, "123456789", "1234567"},
                      FilterCase{-1, "a b.c", "a b.c"}, FilterCase{-1, "abcdefghij", "abcdefg"}));

TEST_F(CarbonTextEntry, BackspaceWorksAtTheLimitAndASelectedValueCanBeTypedOver) {
  OpenEntry(freq, plug.GetParam(GraphicsTestPlug::kFreq), "1234567");
  // All selected: the first digit replaces the seven.
  Type("9");
  EXPECT_EQ(FieldText(), "9");
  Type("876543");
  EXPECT_EQ(FieldText(), "9876543");
  Type("2");
  EXPECT_EQ(FieldText(), "9876543");
  Key(platform::kKeyBackspace, 8);
  EXPECT_EQ(FieldText(), "987654");
  Type("1");
  EXPECT_EQ(FieldText(), "9876541");
}

// A control that asks for no limit on what is typed.
class Unlimited : public TextTaker {
 public:
  Unlimited(IPlugBase* plug, const IRECT& rect) : TextTaker(plug, rect) { mTextEntryLength = 0; }
};

TEST_F(CarbonTextEntry, ALimitOfZeroIsNoLimit) {
  auto* unlimited = new Unlimited(&plug, IRECT(0, 40, 50, 60));
  graphics->AttachControl(unlimited);
  OpenEntry(unlimited, nullptr);
  Type("twelve chars");
  EXPECT_EQ(FieldText(), "twelve chars");
}

TEST_F(CarbonTextEntry, AnEntryWithoutAParameterHandsItsTextToTheControl) {
  OpenEntry(taker, nullptr, "old");
  Type("new");
  Key(platform::kKeyReturn, '\r');
  EXPECT_EQ(taker->mTaken, std::vector<std::string>{"new"});
}

TEST_F(CarbonTextEntry, DeactivatingTheWindowOrTheWheelEndsTheEntryWithoutItsText) {
  const double before = Freq();
  OpenFreqEntry();
  Type("77");
  Screen()->Sink()->Deactivated();
  EXPECT_EQ(Field(), nullptr);
  EXPECT_EQ(Freq(), before);

  OpenFreqEntry();
  Type("77");
  Wheel(50, 50, 1, 1);
  EXPECT_EQ(Field(), nullptr);
  EXPECT_EQ(Freq(), before);
}

TEST_F(CarbonTextEntry, AClickInTheFieldIsTheFieldsAndAClickElsewhereTakesTheText) {
  OpenFreqEntry();
  Type("440");
  freq->mEvents.clear();
  Pointer(PointerInput::kDown, 30, 20);  // inside the field
  EXPECT_NE(Field(), nullptr);
  EXPECT_TRUE(freq->mEvents.empty());
  // Drags belong to the field while it is open.
  Pointer(PointerInput::kDragged, 40, 20);
  EXPECT_TRUE(freq->mEvents.empty());

  Pointer(PointerInput::kDown, 150, 60);
  EXPECT_EQ(Field(), nullptr);
  EXPECT_EQ(Freq(), 440.0);
}

TEST_F(CarbonTextEntry, OnlyOneEntryOpensAndNoneInANonCompositingWindow) {
  OpenFreqEntry();
  ControlRef first = Field();
  OpenEntry(taker, nullptr);
  EXPECT_EQ(Field(), first);
  graphics->EndUserInput();
  EXPECT_EQ(Field(), nullptr);

  graphics->CloseWindow();
  DisposeWindow(window);
  OpenCarbon(false);
  OpenFreqEntry();
  EXPECT_EQ(Field(), nullptr);
  EXPECT_EQ(Log().openTextFields, 0);
}

TEST_F(CarbonTextEntry, TheScriptedUserTypesIntoTheFieldOnTheNextPassOfTheLoop) {
  OpenFreqEntry();
  platform::ScriptAnswer(platform::TypedText("880"));
  EXPECT_NE(Freq(), 880.0);
  platform::RunLoopPass();
  EXPECT_EQ(Freq(), 880.0);
}

TEST_F(CarbonTextEntry, TextTypedAfterTheEditorClosedChangesNothing) {
  const double before = Freq();
  OpenFreqEntry();
  platform::ScriptedAnswer answer = platform::TypedText("880");
  answer.before = [this] { graphics->CloseWindow(); };
  platform::ScriptAnswer(answer);
  platform::ClearHostEvents();
  platform::RunLoopPass();
  EXPECT_EQ(Freq(), before);
  EXPECT_EQ(Log().openTextFields, 0);
  // The keys went to the host's window, whose editor had gone.
  EXPECT_EQ(HostEventCount(kEventClassKeyboard, kEventRawKeyDown), 4);
}

}  // namespace

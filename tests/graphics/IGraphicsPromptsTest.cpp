#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/graphics/GraphicsFixtures.h"

namespace {

using Items = std::vector<std::string>;

class Prompt : public GraphicsFixture {
 protected:
  // A control bound to the parameter, showing its current value.
  ProbeControl* Bound(int paramIdx) {
    ProbeControl* c = Add(IRECT(10, 10, 50, 30), paramIdx);
    plug.RedrawParamControls();
    return c;
  }
  double Value(int paramIdx) const { return plug.GetParam(paramIdx)->Value(); }
};

TEST_F(Prompt, AChoiceParameterGetsAPopupOfItsDisplayTexts) {
  ProbeControl* mode = Bound(GraphicsTestPlug::kMode);
  IRECT area(1, 2, 3, 4);
  graphics->PromptUserInput(mode, plug.GetParam(GraphicsTestPlug::kMode), &area);
  EXPECT_EQ(graphics->mPopupItems, (Items{"Low", "Mid*", "High"}));
  EXPECT_EQ(graphics->mPopupArea, area);
  // Closed without a choice: nothing changes.
  EXPECT_EQ(Value(GraphicsTestPlug::kMode), 1.0);
  EXPECT_TRUE(plug.mChanged.empty());

  graphics->mPopupChoice = 2;
  graphics->PromptUserInput(mode, plug.GetParam(GraphicsTestPlug::kMode), &area);
  EXPECT_EQ(Value(GraphicsTestPlug::kMode), 2.0);
  EXPECT_EQ(mode->GetValue(), 1.0);

  ProbeControl* bypass = Bound(GraphicsTestPlug::kBypass);
  graphics->PromptUserInput(bypass, plug.GetParam(GraphicsTestPlug::kBypass), &area);
  EXPECT_EQ(graphics->mPopupItems, (Items{"Off*", "On"}));
  EXPECT_EQ(graphics->mEntryControl, nullptr);
}

TEST_F(Prompt, OtherParametersGetATextEntryWithTheirNumber) {
  ProbeControl* freq = Bound(GraphicsTestPlug::kFreq);
  IRECT area(1, 2, 3, 4);
  graphics->PromptUserInput(freq, plug.GetParam(GraphicsTestPlug::kFreq), &area);
  EXPECT_EQ(graphics->mEntryControl, freq);
  EXPECT_EQ(graphics->mEntryParam, plug.GetParam(GraphicsTestPlug::kFreq));
  EXPECT_EQ(graphics->mEntryText, "1000");
  EXPECT_EQ(graphics->mEntryRect, area);

  // Two states without display texts: typed, not chosen.
  ProbeControl* link = Bound(GraphicsTestPlug::kLink);
  graphics->PromptUserInput(link, plug.GetParam(GraphicsTestPlug::kLink), &area);
  EXPECT_EQ(graphics->mEntryControl, link);
  EXPECT_TRUE(graphics->mPopupItems.empty());

  graphics->PromptUserInput(nullptr, plug.GetParam(GraphicsTestPlug::kFreq), &area);
  graphics->PromptUserInput(freq, nullptr, &area);
  graphics->PromptUserInput(freq, plug.GetParam(GraphicsTestPlug::kFreq), nullptr);
  EXPECT_EQ(graphics->mEntryControl, link);
}

struct TypedCase {
  int paramIdx;
  const char* text;
  double expected;  // the parameter's plain value afterwards
};

class TypedText : public Prompt, public ::testing::WithParamInterface<TypedCase> {};

TEST_P(TypedText, SetsTheParameter) {
  const TypedCase c = GetParam();
  ProbeControl* control = Bound(c.paramIdx);
  graphics->SetFromStringAfterPrompt(control, plug.GetParam(c.paramIdx), c.text);
  EXPECT_EQ(Value(c.paramIdx), c.expected) << '"' << c.text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TypedText,
    ::testing::Values(
        // A k (or else a K) stands for the decimal point of thousands.
        TypedCase{GraphicsTestPlug::kFreq, "2k5", 2500.0}, TypedCase{GraphicsTestPlug::kFreq, "1.5k", 1500.0},
        TypedCase{GraphicsTestPlug::kFreq, "2K", 2000.0}, TypedCase{GraphicsTestPlug::kFreq, "k5", 500.0},
        TypedCase{GraphicsTestPlug::kFreq, " 750 Hz", 750.0}, TypedCase{GraphicsTestPlug::kFreq, "-5", 0.0},
        TypedCase{GraphicsTestPlug::kFreq, "99999", 20000.0},
        // No number at all: the value stays where it was.
        TypedCase{GraphicsTestPlug::kFreq, "", 1000.0}, TypedCase{GraphicsTestPlug::kFreq, "abc", 1000.0},
        TypedCase{GraphicsTestPlug::kFreq, "k", 1000.0}, TypedCase{GraphicsTestPlug::kFreq, "nan", 1000.0},
        TypedCase{GraphicsTestPlug::kFreq, nullptr, 1000.0},
        // Display texts map to their value; any other text selects 0.
        TypedCase{GraphicsTestPlug::kMode, "High", 2.0}, TypedCase{GraphicsTestPlug::kMode, "Loud", 0.0},
        TypedCase{GraphicsTestPlug::kMode, "", 0.0}, TypedCase{GraphicsTestPlug::kBypass, "On", 1.0},
        TypedCase{GraphicsTestPlug::kLink, "1", 1.0}));

TEST_F(Prompt, TypedTextWithoutAParameterIsIgnored) {
  ProbeControl* freq = Bound(GraphicsTestPlug::kFreq);
  graphics->SetFromStringAfterPrompt(freq, nullptr, "5");
  graphics->SetFromStringAfterPrompt(nullptr, plug.GetParam(GraphicsTestPlug::kFreq), "5");
  EXPECT_TRUE(plug.mChanged.empty());
}

TEST_F(Prompt, APopupOpenedByAClickEndsTheEditAfterTheChoice) {
  ProbeControl* mode = Bound(GraphicsTestPlug::kMode);
  mode->SetPromptDisabled(false);
  graphics->mPopupChoice = 0;
  // The platform delivers the click's mouse-up while its menu is open,
  // somewhere else: the capture is gone by then.
  graphics->mDuringPopup = [this] {
    IMouseMod up;
    graphics->OnMouseUp(150, 90, &up);
  };
  IMouseMod right(false, true);
  graphics->OnMouseDown(20, 20, &right);
  EXPECT_EQ(plug.mEdits, (std::vector<std::string>{"B0", "V0", "E0"}));
  EXPECT_EQ(Value(GraphicsTestPlug::kMode), 0.0);

  // And a mouse-up after the menu closed ends nothing more.
  graphics->mDuringPopup = nullptr;
  graphics->mPopupChoice = -1;
  graphics->OnMouseDown(20, 20, &right);
  IMouseMod up;
  graphics->OnMouseUp(20, 20, &up);
  EXPECT_TRUE(plug.EditsBalanced());
  EXPECT_EQ(plug.mEdits.size(), 5u);
}

}  // namespace

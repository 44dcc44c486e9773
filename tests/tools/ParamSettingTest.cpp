#include "tools/ParamSetting.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/framework/TestParams.h"
#include "tests/framework/TestPlug.h"
#include "tools/CommandError.h"
#include "tools/HostSession.h"

namespace {

// The mixed table of the framework tests (switches, integers 0..99,
// enumerations 0..6, doubles -100..20000), with texts on one enumeration.
class MixedPlug : public TestPlug {
 public:
  MixedPlug() : TestPlug(kTestParams, "2-2") {
    DefineMixedParams(*this);
    IParam* e = GetParam(2);  // "Param 2", an enumeration of 7
    const char* texts[] = {" 6 dB", "12 dB", "Peak", "peak", "D - Peak", "Off", "Lo=Hi"};
    for (int i = 0; i < 7; ++i) e->SetDisplayText(i, texts[i]);
  }
};

TEST(ParamSetting, FindsParametersByNameExactlyThenLoosely) {
  MixedPlug plug;
  EXPECT_EQ(FindParamByName(plug, "Param 3"), 3);
  EXPECT_EQ(FindParamByName(plug, "param 137"), 137);
  EXPECT_EQ(FindParamByName(plug, "  PARAM 7 "), 7);
  EXPECT_EQ(FindParamByName(plug, "Param 138"), -1);
  EXPECT_EQ(FindParamByName(plug, "Param"), -1);
  EXPECT_EQ(FindParamByName(plug, ""), -1);
  EXPECT_EQ(FindParamByName(plug, " "), -1);  // never the nameless parameter
}

struct ValueCase {
  const char* setting;
  int paramIdx;
  double value;
};

TEST(ParamSetting, ReadsDisplayTextsAndNumbers) {
  MixedPlug plug;
  const ValueCase cases[] = {
      {"Param 2=D - Peak", 2, 4}, {"Param 2= 6 dB", 2, 0},  {"Param 2=6 dB", 2, 0},  // loose: blanks
      {"Param 2=Peak", 2, 2},     {"Param 2=peak", 2, 3},   // exact texts first
      {"Param 2=off", 2, 5},      {"Param 2=Lo=Hi", 2, 6},  {"Param 2=3", 2, 3},
      {"Param 3=1200", 3, 1200},  {"Param 3=-100", 3, -100}, {"Param 3=20000", 3, 20000},
      {"Param 3=0.125", 3, 0.125}, {"Param 1=99", 1, 99},   {"Param 0=1", 0, 1},
      {"param 3 = 5 ", 3, 5},
  };
  for (const ValueCase& c : cases) {
    const ParamSetting s = ResolveParamSetting(plug, c.setting);
    EXPECT_EQ(s.paramIdx, c.paramIdx) << c.setting;
    EXPECT_EQ(s.value, c.value) << c.setting;
  }
}

TEST(ParamSetting, RefusesWhatTheParameterDoesNotTake) {
  MixedPlug plug;
  struct Bad {
    const char* setting;
    const char* message;
  };
  const Bad cases[] = {
      {"Param 3=20000.01", "Param 3: 20000.01 is out of range (it takes -100 to 20000)"},
      {"Param 3=-100.5", "out of range"},
      {"Param 1=100", "Param 1: 100 is out of range (it takes 0 to 99)"},
      {"Param 2=7", "out of range"},
      {"Param 1=2.5", "Param 1: 2.5 is not a whole number"},
      {"Param 0=0.5", "not a whole number"},
      {"Param 2=Notch", "Param 2: \"Notch\" is not a value of this parameter (it takes 0 to 6 or one of \" 6 dB\""},
      {"Param 3=1,5", "\"1,5\" is not a value"},
      {"Param 3=", "\"\" is not a value"},
      {"Param 3=inf", "is not a value"},
      {"Param 999=1", "unknown parameter \"Param 999\""},
      {"Gain=1", "unknown parameter \"Gain\" (see brimlow params)"},
      {"=1", "--set needs NAME=VALUE"},
  };
  for (const Bad& c : cases) {
    try {
      ResolveParamSetting(plug, c.setting);
      ADD_FAILURE() << c.setting << " accepted";
    } catch (const CommandError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
    }
  }
}

// The equaliser's own names and texts, as the help and the README use them.
TEST(ParamSetting, TheEqualisersTable) {
  HostSession session;
  const IPlugBase& plug = session.Plug();
  const int type3 = FindParamByName(plug, "Type 3");
  ASSERT_GE(type3, 0);
  EXPECT_STREQ(plug.GetParam(type3)->GetDisplayText(9), "D - Peak");
  const ParamSetting type = ResolveParamSetting(plug, "Type 3=D - Peak");
  EXPECT_EQ(type.paramIdx, type3);
  EXPECT_EQ(type.value, 9);
  const ParamSetting freq = ResolveParamSetting(plug, "Freq 3=1200");
  EXPECT_STREQ(plug.GetParam(freq.paramIdx)->GetNameForHost(), "Freq 3");
  EXPECT_EQ(freq.value, 1200);
  EXPECT_EQ(ResolveParamSetting(plug, "Slope 1=12 dB").value, 1);
  EXPECT_EQ(ResolveParamSetting(plug, "Filter Mode=LinearPhase Eco").value, 4);
  EXPECT_EQ(ResolveParamSetting(plug, "Analyzer Speed=AVG").value, 9999);
  EXPECT_THROW(ResolveParamSetting(plug, "Freq 3=50000"), CommandError);
  EXPECT_THROW(ResolveParamSetting(plug, "Gain 12=48.5"), CommandError);
}

}  // namespace

#include "tools/PresetChoice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/CommandError.h"

namespace {

const std::vector<std::string> kNames = {"Init", "Master:Side:Cut Low,Lift High", "Master:Brickwall 20k",
                                         "Master:Telephone", "Track:Hum 50Hz"};

TEST(PresetChoice, ByNumberByNameAndByLooseName) {
  EXPECT_EQ(FindPreset(kNames, "0"), 0);
  EXPECT_EQ(FindPreset(kNames, "4"), 4);
  EXPECT_EQ(FindPreset(kNames, " 3 "), 3);
  EXPECT_EQ(FindPreset(kNames, "Master:Telephone"), 3);
  EXPECT_EQ(FindPreset(kNames, "master:telephone "), 3);
  EXPECT_EQ(FindPreset(kNames, "Master:Side:Cut Low,Lift High"), 1);
}

TEST(PresetChoice, ExactNamesWinOverLooseOnesAndAmbiguityIsRefused) {
  const std::vector<std::string> names = {"Vocal", "vocal", "VOCAL "};
  EXPECT_EQ(FindPreset(names, "vocal"), 1);
  EXPECT_THROW(FindPreset(names, "Vocal "), CommandError);
}

TEST(PresetChoice, Failures) {
  struct Bad {
    std::vector<std::string> names;
    const char* text;
    const char* message;
  };
  const Bad cases[] = {
      {kNames, "5", "no preset number 5 (the presets are 0 to 4)"},
      {kNames, "-1", "no preset number -1"},
      {kNames, "Master:Telefone", "unknown preset \"Master:Telefone\""},
      {kNames, "", "unknown preset"},
      {{}, "0", "the plug-in has no presets"},
      {{}, "Init", "the plug-in has no presets"},
  };
  for (const Bad& c : cases) {
    try {
      FindPreset(c.names, c.text);
      ADD_FAILURE() << c.text << " accepted";
    } catch (const CommandError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
      EXPECT_EQ(e.ExitCode(), CommandError::kFailed);
    }
  }
}

}  // namespace

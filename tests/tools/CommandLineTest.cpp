#include "tools/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/CommandError.h"

namespace {

using Args = std::vector<std::string>;

TEST(CommandLine, ReadsEveryProcessOption) {
  const CommandLine line = ParseCommandLine(
      {"process", "in.wav", "--preset", "Master:Telephone", "out.wav", "--preset-file=a.tps", "--state-in", "s1",
       "--state-out", "s2", "--set", "Type 3=D - Peak", "--set=Freq 3=1200", "--block", "137", "--bits", "24",
       "--bypass", "--no-latency-compensation"});
  EXPECT_EQ(line.command, Command::kProcess);
  EXPECT_EQ(line.files, (Args{"in.wav", "out.wav"}));
  const ProcessOptions& o = line.options;
  EXPECT_EQ(o.preset.value_or(""), "Master:Telephone");
  EXPECT_EQ(o.presetFile.value_or(""), "a.tps");
  EXPECT_EQ(o.stateIn.value_or(""), "s1");
  EXPECT_EQ(o.stateOut.value_or(""), "s2");
  // A value may hold "=" and blanks; only the option's own "=" splits.
  EXPECT_EQ(o.settings, (Args{"Type 3=D - Peak", "Freq 3=1200"}));
  EXPECT_EQ(o.blockSize, 137);
  EXPECT_EQ(o.bits, 24);
  EXPECT_TRUE(o.bypass);
  EXPECT_FALSE(o.latencyCompensation);
}

TEST(CommandLine, DefaultsAndTheOtherCommands) {
  const CommandLine process = ParseCommandLine({"process", "a.wav", "b.wav"});
  EXPECT_EQ(process.options.blockSize, 512);
  EXPECT_EQ(process.options.bits, 32);
  EXPECT_FALSE(process.options.bypass);
  EXPECT_TRUE(process.options.latencyCompensation);
  EXPECT_FALSE(process.options.preset);

  EXPECT_EQ(ParseCommandLine({"params"}).command, Command::kParams);
  EXPECT_EQ(ParseCommandLine({"presets"}).command, Command::kPresets);
  EXPECT_EQ(ParseCommandLine({"capture", "a.wav", "a.ref"}).files, (Args{"a.wav", "a.ref"}));
  EXPECT_TRUE(ParseCommandLine({"demo"}).files.empty());
  EXPECT_EQ(ParseCommandLine({"demo", "x.wav"}).files, (Args{"x.wav"}));
  // After "--" a name may begin with "-".
  EXPECT_EQ(ParseCommandLine({"process", "--", "-in.wav", "--bits"}).files, (Args{"-in.wav", "--bits"}));
}

TEST(CommandLine, EditTakesTheInputAndTheSettings) {
  const CommandLine line = ParseCommandLine({"edit", "--input", "loop.wav", "--state-in", "a.state", "--state-out=b.state",
                                             "--preset", "Master:Telephone", "--preset-file", "p.tps", "--set",
                                             "Freq 1=1000", "--set", "Gain 1=3"});
  EXPECT_EQ(line.command, Command::kEdit);
  EXPECT_TRUE(line.files.empty());
  EXPECT_EQ(line.screenshot.input.value_or(""), "loop.wav");
  EXPECT_EQ(line.options.stateIn.value_or(""), "a.state");
  EXPECT_EQ(line.options.stateOut.value_or(""), "b.state");
  EXPECT_EQ(line.options.preset.value_or(""), "Master:Telephone");
  EXPECT_EQ(line.options.presetFile.value_or(""), "p.tps");
  EXPECT_EQ(line.options.settings, (Args{"Freq 1=1000", "Gain 1=3"}));
  EXPECT_FALSE(ParseCommandLine({"edit"}).screenshot.input);
  // Without --scale the editor keeps the scale the settings gave it.
  EXPECT_FALSE(ParseCommandLine({"edit"}).screenshot.scalePercent);
  for (const char* scale : {"50", "75", "100", "125", "150", "175", "200"}) {
    EXPECT_EQ(ParseCommandLine({"edit", "--scale", scale}).screenshot.scalePercent, std::stoi(scale));
  }
  EXPECT_EQ(ParseCommandLine({"edit", "--scale=150"}).screenshot.scalePercent, 150);
}

TEST(CommandLine, ScreenshotTakesItsOwnOptionsAndThoseOfProcess) {
  const CommandLine line = ParseCommandLine({"screenshot", "editor.png", "--scale", "175", "--input=in.aif", "--preset",
                                             "3", "--set", "Gain 1=3", "--block", "64", "--state-out", "s"});
  EXPECT_EQ(line.command, Command::kScreenshot);
  EXPECT_EQ(line.files, (Args{"editor.png"}));
  EXPECT_EQ(line.screenshot.scalePercent, 175);
  EXPECT_EQ(line.screenshot.input.value_or(""), "in.aif");
  EXPECT_EQ(line.options.preset.value_or(""), "3");
  EXPECT_EQ(line.options.settings, (Args{"Gain 1=3"}));
  EXPECT_EQ(line.options.blockSize, 64);
  const CommandLine plain = ParseCommandLine({"screenshot", "e.png"});
  EXPECT_FALSE(plain.screenshot.scalePercent);
  EXPECT_FALSE(plain.screenshot.input);
  for (const char* scale : {"50", "75", "100", "125", "150", "175", "200"}) {
    EXPECT_EQ(ParseCommandLine({"screenshot", "e.png", "--scale", scale}).screenshot.scalePercent, std::stoi(scale));
  }
  EXPECT_NE(std::string(HelpText()).find("brimlow screenshot OUT.png [--scale PERCENT] [--input IN]"),
            std::string::npos);
}

TEST(CommandLine, HelpWherever) {
  for (const Args& args : {Args{"--help"}, Args{"-h"}, Args{"help"}, Args{"process", "--help"},
                           Args{"bogus", "-h"}, Args{"process", "a", "b", "--block", "0", "--help"}}) {
    EXPECT_EQ(ParseCommandLine(args).command, Command::kHelp) << args[0];
  }
  EXPECT_NE(std::string(HelpText()).find("brimlow process IN OUT"), std::string::npos);
}

struct BadLine {
  Args args;
  const char* message;  // part of what the user is told
};

class CommandLineErrors : public ::testing::TestWithParam<BadLine> {};

TEST_P(CommandLineErrors, AreUsageErrorsNamingTheProblem) {
  const BadLine& c = GetParam();
  try {
    ParseCommandLine(c.args);
    FAIL() << "accepted";
  } catch (const CommandError& e) {
    EXPECT_EQ(e.ExitCode(), CommandError::kUsage);
    EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
    EXPECT_EQ(std::string(e.what()).find('\n'), std::string::npos) << "one line";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, CommandLineErrors,
    ::testing::Values(
        BadLine{{}, "no command"}, BadLine{{"mix"}, "unknown command \"mix\""},
        BadLine{{"process", "a.wav"}, "usage: brimlow process IN OUT"},
        BadLine{{"process", "a", "b", "c"}, "usage: brimlow process IN OUT"},
        BadLine{{"capture", "a.wav"}, "usage: brimlow capture IN OUT.ref"},
        BadLine{{"params", "x"}, "usage: brimlow params"}, BadLine{{"demo", "a", "b"}, "usage: brimlow demo"},
        BadLine{{"process", "a", "b", "--gain", "3"}, "unknown option --gain"},
        BadLine{{"demo", "--bits", "16"}, "unknown option --bits for demo"},
        BadLine{{"process", "a", "b", "--block"}, "--block needs a value"},
        BadLine{{"process", "a", "b", "--block", "0"}, "--block needs a whole number"},
        BadLine{{"process", "a", "b", "--block", "65537"}, "--block needs a whole number"},
        BadLine{{"process", "a", "b", "--block", "12x"}, "not \"12x\""},
        BadLine{{"process", "a", "b", "--bits", "8"}, "--bits needs 16, 24 or 32"},
        BadLine{{"process", "a", "b", "--bits", "20"}, "--bits needs 16, 24 or 32"},
        BadLine{{"process", "a", "b", "--set", "Gain 1"}, "--set needs NAME=VALUE"},
        BadLine{{"process", "a", "b", "--set", "=3"}, "--set needs NAME=VALUE"},
        BadLine{{"process", "a", "b", "--preset", "1", "--preset", "2"}, "--preset given twice"},
        BadLine{{"process", "a", "b", "--block", "64", "--block", "128"}, "--block given twice"},
        BadLine{{"process", "a", "b", "--bits", "16", "--bits=24"}, "--bits given twice"},
        BadLine{{"process", "a", "b", "--bits", "24", "--bits", "24"}, "--bits given twice"},
        BadLine{{"screenshot", "a.png", "--scale", "100", "--scale", "150"}, "--scale given twice"},
        BadLine{{"edit", "--block", "64", "--block=32"}, "--block given twice"},
        BadLine{{"process", "a", "b", "--state-in", ""}, "--state-in needs a non-empty value"},
        BadLine{{"process", "a", "b", "--bypass=yes"}, "--bypass takes no value"},
        BadLine{{"process", "a", "b", "--state-out", "b"}, "the same file"},
        BadLine{{"process", "", "b"}, "an empty file name"},
        BadLine{{"screenshot"}, "usage: brimlow screenshot OUT.png"},
        BadLine{{"screenshot", "a.png", "b.png"}, "usage: brimlow screenshot OUT.png"},
        BadLine{{"screenshot", "a.png", "--scale", "90"}, "--scale needs 50, 75, 100, 125, 150, 175 or 200"},
        BadLine{{"screenshot", "a.png", "--scale", "250"}, "not \"250\""},
        BadLine{{"screenshot", "a.png", "--scale"}, "--scale needs a value"},
        BadLine{{"screenshot", "a.png", "--input", "x.wav", "--input", "y.wav"}, "--input given twice"},
        BadLine{{"screenshot", "a.png", "--state-out", "a.png"}, "the same file"},
        BadLine{{"process", "a", "b", "--scale", "100"}, "unknown option --scale for process"},
        BadLine{{"demo", "--input", "x.wav"}, "unknown option --input for demo"},
        BadLine{{"edit", "x.wav"}, "usage: brimlow edit"},
        BadLine{{"edit", "--bits", "16"}, "unknown option --bits for edit"},
        BadLine{{"edit", "--scale", "90"}, "--scale needs 50, 75, 100, 125, 150, 175 or 200, not \"90\""},
        BadLine{{"edit", "--scale", "100%"}, "--scale needs 50, 75"},
        BadLine{{"edit", "--scale="}, "--scale needs 50, 75"},
        BadLine{{"edit", "--scale"}, "--scale needs a value"},
        BadLine{{"edit", "--scale", "100", "--scale=150"}, "--scale given twice"},
        BadLine{{"edit", "--scale", "100", "--scale", "100"}, "--scale given twice"},
        BadLine{{"edit", "--input", "a.wav", "--input", "b.wav"}, "--input given twice"}));

}  // namespace

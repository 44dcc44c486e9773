#pragma once

#include <optional>
#include <string>
#include <vector>

enum class Command { kHelp, kProcess, kParams, kPresets, kCapture, kDemo, kScreenshot, kEdit };

// What `brimlow process` is asked to do besides reading IN and writing OUT.
// Settings are applied in a fixed order, whatever the order typed: the
// state, then the preset, then the preset file, then each --set in turn.
struct ProcessOptions {
  std::optional<std::string> preset;      // name or number
  std::optional<std::string> presetFile;  // ".tps"
  std::optional<std::string> stateIn;
  std::optional<std::string> stateOut;
  std::vector<std::string> settings;  // "NAME=VALUE", checked against the plug-in later
  int blockSize = 512;
  int bits = 32;
  bool bypass = false;
  bool latencyCompensation = true;
};

// What `brimlow screenshot` takes besides the options of process; edit
// takes them too.
struct ScreenshotOptions {
  // The editor's "GUI Scale", set after the other settings; without one
  // screenshot takes 100 and edit keeps the scale the settings gave.
  std::optional<int> scalePercent;
  std::optional<std::string> input;  // audio to run; the demo's signal without one
};

struct CommandLine {
  Command command = Command::kHelp;
  std::vector<std::string> files;  // the command's positional arguments
  ProcessOptions options;          // process, screenshot and edit
  ScreenshotOptions screenshot;
};

// The largest block the host hands the plug-in.
constexpr int kMaxBlockSize = 65536;

// args: everything after the program name. Throws CommandError (exit code
// kUsage) naming the first thing that cannot be used, the files it names
// included (CheckCommandFiles). "--help" or "-h" anywhere asks for the
// help text; so does "help" as the command.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

const char* HelpText();

// The files the command writes (the demo's picture included), each with the
// format written.
struct NamedFile;
std::vector<NamedFile> CommandOutputs(const CommandLine& line);

// Where demo writes without a name.
constexpr const char* kDefaultDemoOutput = "brimlow-demo.wav";
// The demo's picture beside OUT: OUT's name with ".png" for its extension;
// "" when OUT is a device or a FIFO, which has no folder entry to go beside.
std::string DemoPicturePath(const std::string& out);

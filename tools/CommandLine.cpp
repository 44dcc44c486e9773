#include "tools/CommandLine.h"

#include <set>

#include "tools/CommandError.h"
#include "tools/EditorScale.h"
#include "tools/CommandFiles.h"
#include "tools/NumberArgument.h"
#include "tools/OutputTarget.h"

namespace {

struct CommandSpec {
  const char* name;
  Command command;
  size_t minFiles, maxFiles;
  const char* usage;
};

constexpr CommandSpec kCommands[] = {
    {"process", Command::kProcess, 2, 2, "brimlow process IN OUT.wav [options]"},
    {"params", Command::kParams, 0, 0, "brimlow params"},
    {"presets", Command::kPresets, 0, 0, "brimlow presets"},
    {"capture", Command::kCapture, 2, 2, "brimlow capture IN OUT.ref"},
    {"demo", Command::kDemo, 0, 1, "brimlow demo [OUT.wav]"},
    {"screenshot", Command::kScreenshot, 1, 1,
     "brimlow screenshot OUT.png [--scale PERCENT] [--input IN] [options of process]"},
    {"edit", Command::kEdit, 0, 0,
     "brimlow edit [--scale PERCENT] [--input IN] [--state-in F] [--state-out F] [--preset NAME|N] "
     "[--preset-file F] [--set NAME=VALUE]..."},
};

[[noreturn]] void Usage(const std::string& message) { throw CommandError(message, CommandError::kUsage); }

const CommandSpec* FindCommand(const std::string& name) {
  for (const CommandSpec& spec : kCommands) {
    if (name == spec.name) return &spec;
  }
  return nullptr;
}

// The parser has already refused an option given twice.
void SetText(std::optional<std::string>* slot, const std::string& option, const std::string& value) {
  if (value.empty()) Usage(option + " needs a non-empty value");
  *slot = value;
}

// Options of `process`; the rest of the commands take none.
void TakeProcessOption(const std::string& option, const std::string& value, ProcessOptions* o) {
  if (option == "--preset") {
    SetText(&o->preset, option, value);
  } else if (option == "--preset-file") {
    SetText(&o->presetFile, option, value);
  } else if (option == "--state-in") {
    SetText(&o->stateIn, option, value);
  } else if (option == "--state-out") {
    SetText(&o->stateOut, option, value);
  } else if (option == "--set") {
    const size_t eq = value.find('=');
    if (eq == std::string::npos || eq == 0) Usage("--set needs NAME=VALUE, not \"" + value + "\"");
    o->settings.push_back(value);
  } else if (option == "--block") {
    long long n = 0;
    if (!ParseIntegerArgument(value, 1, kMaxBlockSize, &n)) {
      Usage("--block needs a whole number from 1 to " + std::to_string(kMaxBlockSize) + ", not \"" + value + "\"");
    }
    o->blockSize = static_cast<int>(n);
  } else if (option == "--bits") {
    long long n = 0;
    if (!ParseIntegerArgument(value, 16, 32, &n) || (n != 16 && n != 24 && n != 32)) {
      Usage("--bits needs 16, 24 or 32, not \"" + value + "\"");
    }
    o->bits = static_cast<int>(n);
  }
}

bool TakesValue(const std::string& option) {
  return option == "--preset" || option == "--preset-file" || option == "--state-in" || option == "--state-out" ||
         option == "--set" || option == "--block" || option == "--bits";
}

bool IsFlag(const std::string& option) { return option == "--bypass" || option == "--no-latency-compensation"; }

bool IsScreenshotOption(const std::string& option) { return option == "--scale" || option == "--input"; }

void TakeScreenshotOption(const std::string& option, const std::string& value, ScreenshotOptions* o) {
  if (option == "--input") {
    SetText(&o->input, option, value);
    return;
  }
  long long n = 0;
  const bool known = ParseIntegerArgument(value, 50, 200, &n) && IsGuiScalePercent(n);
  if (!known) Usage("--scale needs 50, 75, 100, 125, 150, 175 or 200, not \"" + value + "\"");
  o->scalePercent = static_cast<int>(n);
}

// The files a command reads, in the order it opens them.
std::vector<NamedFile> InputsOf(const CommandLine& line) {
  std::vector<NamedFile> inputs;
  const Command command = line.command;
  if (command == Command::kProcess || command == Command::kCapture) {
    inputs.push_back({"IN", line.files[0], DashInput::kStandardInput});
  }
  if (line.screenshot.input) inputs.push_back({"--input", *line.screenshot.input});
  if (command == Command::kProcess || command == Command::kScreenshot || command == Command::kEdit) {
    if (line.options.stateIn) inputs.push_back({"--state-in", *line.options.stateIn});
    if (line.options.presetFile) inputs.push_back({"--preset-file", *line.options.presetFile});
  }
  return inputs;
}

}  // namespace

std::vector<NamedFile> CommandOutputs(const CommandLine& line) {
  std::vector<NamedFile> outputs;
  const DashInput none = DashInput::kFileName;
  switch (line.command) {
    case Command::kProcess: outputs.push_back({"OUT", line.files[1], none, "WAV"}); break;
    case Command::kCapture: outputs.push_back({"OUT", line.files[1], none, "a reference capture"}); break;
    case Command::kScreenshot: outputs.push_back({"OUT", line.files[0], none, "PNG"}); break;
    case Command::kDemo: {
      const std::string out = line.files.empty() ? kDefaultDemoOutput : line.files[0];
      outputs.push_back({"OUT", out, none, "WAV"});
      const std::string picture = DemoPicturePath(out);
      if (!picture.empty()) outputs.push_back({"the editor's picture", picture, none, "PNG"});
      break;
    }
    default: break;
  }
  const bool takesState =
      line.command == Command::kProcess || line.command == Command::kScreenshot || line.command == Command::kEdit;
  if (takesState && line.options.stateOut) {
    outputs.push_back({"--state-out", *line.options.stateOut, none, "a Brimlow state"});
  }
  return outputs;
}

namespace {

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine line;
  for (const std::string& a : args) {
    if (a == "--") break;
    if (a == "--help" || a == "-h") return line;
  }
  if (args.empty()) Usage("no command given (try brimlow --help)");
  if (args[0] == "help") return line;
  const CommandSpec* spec = FindCommand(args[0]);
  if (!spec) Usage("unknown command \"" + args[0] + "\" (try brimlow --help)");
  line.command = spec->command;

  bool optionsEnded = false;
  std::set<std::string> given;  // options that take one value, as met
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (optionsEnded || a.empty() || a[0] != '-' || a == "-") {
      line.files.push_back(a);
      continue;
    }
    if (a == "--") {
      optionsEnded = true;
      continue;
    }
    // "--opt=value" and "--opt value" alike.
    std::string option = a, value;
    bool hasValue = false;
    const size_t eq = a.find('=');
    if (a.compare(0, 2, "--") == 0 && eq != std::string::npos) {
      option = a.substr(0, eq);
      value = a.substr(eq + 1);
      hasValue = true;
    }
    const bool screenshot = line.command == Command::kScreenshot;
    const bool edit = line.command == Command::kEdit;
    const bool takesProcessOptions = line.command == Command::kProcess || screenshot;
    // The editor takes the settings, not the render's options.
    const bool editOption = edit && (IsScreenshotOption(option) || (TakesValue(option) && option != "--bits"));
    const bool known = (takesProcessOptions && (TakesValue(option) || IsFlag(option))) ||
                       (screenshot && IsScreenshotOption(option)) || editOption;
    if (!known) Usage("unknown option " + option + " for " + spec->name);
    if (IsFlag(option)) {
      if (hasValue) Usage(option + " takes no value");
      if (option == "--bypass") line.options.bypass = true;
      if (option == "--no-latency-compensation") line.options.latencyCompensation = false;
      continue;
    }
    if (!hasValue) {
      if (i + 1 >= args.size()) Usage(option + " needs a value");
      value = args[++i];
    }
    // Only --set adds up; a second value of any other option would
    // silently replace the first.
    if (option != "--set" && !given.insert(option).second) Usage(option + " given twice");
    if (IsScreenshotOption(option)) {
      TakeScreenshotOption(option, value, &line.screenshot);
    } else {
      TakeProcessOption(option, value, &line.options);
    }
  }

  if (line.files.size() < spec->minFiles || line.files.size() > spec->maxFiles) {
    Usage(std::string("usage: ") + spec->usage);
  }
  for (const std::string& f : line.files) {
    if (f.empty()) Usage("an empty file name");
  }
  CheckCommandFiles(InputsOf(line), CommandOutputs(line), spec->usage);
  return line;
}

std::string DemoPicturePath(const std::string& out) {
  OutputTarget target;
  if (FindOutputTarget(out, &target) && target.kind == OutputTarget::Kind::kStream) return "";
  const std::string::size_type slash = out.rfind('/');
  const std::string::size_type dot = out.rfind('.');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
  return (hasExtension ? out.substr(0, dot) : out) + ".png";
}

const char* HelpText() {
  return "usage: brimlow process IN OUT.wav [options]\n"
         "       brimlow params\n"
         "       brimlow presets\n"
         "       brimlow capture IN OUT.ref\n"
         "       brimlow demo [OUT.wav]\n"
         "       brimlow screenshot OUT.png [--scale PERCENT] [--input IN] [options]\n"
         "       brimlow edit [--scale PERCENT] [--input IN] [--state-in F]\n"
         "                    [--state-out F] [--preset NAME|N] [--preset-file F]\n"
         "                    [--set NAME=VALUE]...\n"
         "       brimlow --help\n"
         "\n"
         "Runs the Brimlow equaliser plug-in as a host would, without one.\n"
         "\n"
         "  process   process the audio file IN (WAV, AIFF or AIFC; mono or stereo) and\n"
         "            write OUT as a WAV file at IN's sample rate; IN - is standard input\n"
         "  params    list every parameter: index, name, kind, range, default and\n"
         "            display texts\n"
         "  presets   list the factory presets, one NUMBER: NAME a line\n"
         "  capture   measure IN's average spectrum and write it as a reference\n"
         "            capture file (.ref); IN - is standard input\n"
         "  demo      process a built-in two-second stereo test signal (48 kHz sweep\n"
         "            and noise) with the \"Master:Telephone\" preset and write OUT\n"
         "            (default brimlow-demo.wav in the current folder), and the editor\n"
         "            as the run left it beside it (OUT's name with .png)\n"
         "  screenshot\n"
         "            open the plug-in's editor as a host would, in a window with no\n"
         "            screen, run IN (default: the demo's test signal) through the\n"
         "            plug-in while the editor's timer runs at its frame rate in audio\n"
         "            time, and write what the editor last showed as an 8-bit RGB PNG\n"
         "  edit      open the plug-in's editor in a window on the X display and run IN\n"
         "            (default: the demo's test signal), looped, through the plug-in in\n"
         "            real time, so meters, analyser and display move (nothing is\n"
         "            played); closing the window ends it and saves the plug-in's state\n"
         "            to the --state-out file, which process --state-in then applies\n"
         "\n"
         "Options of process (applied in this order: state, preset, preset file, --set):\n"
         "  --state-in FILE           restore a state saved with --state-out\n"
         "  --preset NAME|NUMBER      restore a factory preset (see brimlow presets)\n"
         "  --preset-file FILE.tps    load an XML preset file\n"
         "  --set NAME=VALUE          set a parameter by name to a number or one of its\n"
         "                            display texts, e.g. --set \"Type 3=D - Peak\"\n"
         "                            --set \"Freq 3=1200\"; repeatable; values out of\n"
         "                            range are refused\n"
         "  --state-out FILE          save the plug-in's state after the run\n"
         "  --bits 16|24|32           output sample format: 16 or 24-bit integer, 32-bit\n"
         "                            float (default 32); integer files clip samples\n"
         "                            beyond full scale, and a warning says how many\n"
         "  --block N                 host block size, 1 to 65536 (default 512)\n"
         "  --bypass                  run the host's bypass instead of the plug-in\n"
         "  --no-latency-compensation keep the plug-in's output as it comes: delayed by\n"
         "                            its latency and, with oversampling, silent while\n"
         "                            the converters fill\n"
         "\n"
         "Options of screenshot, besides those of process (--bits has no effect):\n"
         "  --scale PERCENT           the editor's \"GUI Scale\": 50, 75, 100, 125, 150,\n"
         "                            175 or 200 (default 100), set after the other\n"
         "                            settings\n"
         "  --input IN                the audio to run (WAV, AIFF or AIFC)\n"
         "\n"
         "Options of edit: --scale and --input as for screenshot (without --scale the\n"
         "editor keeps the GUI scale the settings give it); --state-in, --preset,\n"
         "--preset-file and --set as for process, applied before the window opens;\n"
         "--state-out FILE written when the window is closed; --block N. An editor\n"
         "larger than the screen opens at the largest GUI scale that fits, and says so.\n"
         "\n"
         "What process guarantees:\n"
         "  - OUT lines up with IN from the first sample and has its length: the plug-in\n"
         "    first runs over silence as long as its latency (whole blocks, at least\n"
         "    one), which is then dropped with the latency.\n"
         "  - A preset, by name or from a file, sets only what presets carry: \"OS Mode\",\n"
         "    \"Filter Mode\" and each band's Active, Type, ChMode, Slope, Gain, Freq and\n"
         "    Q (those a preset file leaves out take their defaults). Solo, phase,\n"
         "    output gain and the display, analyser and meter settings keep their\n"
         "    values.\n"
         "  - OUT and the --state-out file appear together, each whole, or neither does.\n"
         "\n"
         "Files of every command:\n"
         "  - An input may be a pipe, a FIFO or a device (process <(sox ...) out.wav,\n"
         "    sox ... -t wav - | brimlow process - out.wav): it is read to its end\n"
         "    first (audio at most 4 GiB, other inputs 256 MiB) and then used as a file\n"
         "    of the same bytes would be.\n"
         "  - A regular file is replaced whole through a temporary file beside it, put\n"
         "    in place once everything is complete; a symbolic link stays and its file\n"
         "    is replaced. A character device or a FIFO (/dev/null, /dev/stdout, a named\n"
         "    pipe) is never replaced: it is opened once everything is complete and\n"
         "    written through. Nothing is written to it on a failure before that; a\n"
         "    failure while it is written (a full device, a reader that goes) leaves\n"
         "    what it got.\n"
         "  - Refused before any work: an output that is an input (by any path or\n"
         "    link), two outputs that are one file, and an output whose extension names\n"
         "    another format than the one written (out.aiff for WAV, shot.jpg for PNG).\n"
         "  - demo writes no picture when OUT is a device or a FIFO.\n"
         "  - When an output is standard output (OUT /dev/stdout), what the command\n"
         "    prints goes to standard error.\n"
         "\n"
         "After the run process prints \"latency: N\" (samples) and the input and output\n"
         "meter readouts, each followed by the unit of the meter mode: dBFS peak,\n"
         "dBFS RMS, LUFS (EBU M), LUFS (EBU S) or VU (0 VU is -18 dBFS); screenshot\n"
         "prints \"editor: W x H\", the picture's size in pixels, then the same meter\n"
         "lines. Numbers are read and written in the C locale. On any failure,\n"
         "an interruption included, no file is written or changed, a one-line message\n"
         "goes to standard error and the exit code is 1 (2 for an unusable command\n"
         "line; an interrupted run ends by its signal).\n";
}

#include "tools/CommandLine.h"
#include "tools/Commands.h"
#include "tools/HostSession.h"
#include "tools/TestSignalSource.h"

namespace {

constexpr const char* kDefaultOutput = "brimlow-demo.wav";
constexpr const char* kDemoPreset = "Master:Telephone";

}  // namespace

int RunDemoCommand(const CommandLine& line, FILE* out) {
  const std::string path = line.files.empty() ? kDefaultOutput : line.files[0];
  TestSignalSource source;
  HostSession session;
  ProcessOptions options;
  // The telephone band makes the effect plain to hear; any list without it
  // still shows its first preset at work.
  const std::vector<std::string> names = session.PresetNames();
  std::string presetLine = "none (the plug-in has no presets)";
  for (size_t i = 0; i < names.size() && !options.preset; ++i) {
    if (names[i] == kDemoPreset) options.preset = std::to_string(i);
  }
  if (!options.preset && !names.empty()) options.preset = "0";
  if (options.preset) presetLine = *options.preset + ": " + names[std::stoul(*options.preset)];

  const RunReport report = ProcessAudio(session, source, path, options, false);
  std::fprintf(out, "input: built-in test signal, %.1f s stereo at %u Hz (sweep 20 Hz to 20 kHz and noise)\n",
               TestSignalSource::kSeconds, TestSignalSource::kSampleRate);
  std::fprintf(out, "preset: %s\n", presetLine.c_str());
  std::fprintf(out, "output: %s (32-bit float WAV)\n", path.c_str());
  std::fputs(FormatReport(report).c_str(), out);
  return 0;
}

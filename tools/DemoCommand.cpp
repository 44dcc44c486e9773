#include <cerrno>

#include "platform/windowserver/ScreenWindow.h"
#include "tools/AtomicFile.h"
#include "tools/CommandError.h"
#include "tools/CommandLine.h"
#include "tools/Commands.h"
#include "tools/EditorPicture.h"
#include "tools/EditorWindow.h"
#include "tools/HostSession.h"
#include "tools/OutputFiles.h"
#include "tools/TestSignalSource.h"

namespace {

constexpr const char* kDemoPreset = "Master:Telephone";

}  // namespace

int RunDemoCommand(const CommandLine& line, FILE* out) {
  const std::string path = line.files.empty() ? kDefaultDemoOutput : line.files[0];
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

  // The picture is an output of its own, put in place with the WAV: a name
  // ending in ".png" would make both one file. A device or FIFO as OUT has
  // nothing beside it: no picture then.
  const std::string picturePath = DemoPicturePath(path);
  AtomicFile picture;
  MoreOutputs more;
  if (!picturePath.empty()) {
    more.add = [&](OutputFiles& outputs) {
      outputs.Add("the editor's picture", picturePath, [&] { return picture.Commit(); });
      if (!picture.Open(picturePath.c_str())) throw CommandError(OutputError(picturePath, errno));
    };
    more.write = [&] {
      // The editor after the run: the preset's curve over the spectrum heard.
      EditorWindow editor(session.Instance());
      WriteEditorPicture(editor.Screen(), picture, picturePath);
    };
  }
  const RunReport report = ProcessAudio(session, source, path, options, false, more);
  std::fprintf(out, "input: built-in test signal, %.1f s stereo at %u Hz (sweep 20 Hz to 20 kHz and noise)\n",
               TestSignalSource::kSeconds, TestSignalSource::kSampleRate);
  std::fprintf(out, "preset: %s\n", presetLine.c_str());
  std::fprintf(out, "output: %s (32-bit float WAV)\n", path.c_str());
  if (picturePath.empty()) {
    std::fprintf(out, "editor: not written (OUT is not a file)\n");
  } else {
    std::fprintf(out, "editor: %s (PNG)\n", picturePath.c_str());
  }
  std::fputs(FormatReport(report).c_str(), out);
  WarnOfClipping(report);
  return 0;
}

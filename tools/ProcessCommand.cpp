#include <unistd.h>

#include <cerrno>

#include "tools/AlignedRender.h"
#include "tools/AtomicFile.h"
#include "tools/ClipCounter.h"
#include "tools/CommandError.h"
#include "tools/CommandLine.h"
#include "tools/Commands.h"
#include "tools/FileAudioSource.h"
#include "tools/FileBytes.h"
#include "tools/HostSession.h"
#include "tools/Interruption.h"
#include "tools/OutputFiles.h"
#include "tools/PresetChoice.h"
#include "tools/WavWriter.h"

namespace {

// Files shorter than this finish before a percentage would help.
constexpr double kProgressMinSeconds = 10.0;

class Progress {
 public:
  Progress(bool enabled, uint64_t total) : mEnabled(enabled && total > 0), mTotal(total) {}
  ~Progress() { Clear(); }
  void Show(uint64_t done) {
    if (!mEnabled) return;
    const int percent = static_cast<int>(done * 100 / mTotal);
    if (percent == mShown) return;
    mShown = percent;
    std::fprintf(stderr, "\rbrimlow: processing %3d%%", percent);
    std::fflush(stderr);
  }
  void Clear() {
    if (!mEnabled || mShown < 0) return;
    std::fprintf(stderr, "\r%*s\r", 26, "");
    std::fflush(stderr);
    mShown = -1;
  }

 private:
  bool mEnabled;
  uint64_t mTotal;
  int mShown = -1;
};

}  // namespace

void ApplyProcessSettings(HostSession& session, const ProcessOptions& options) {
  if (options.stateIn) session.RestoreState(ReadFileBytes(*options.stateIn), *options.stateIn);
  if (options.preset) session.RestorePreset(FindPreset(session.PresetNames(), *options.preset));
  if (options.presetFile) session.LoadPresetFile(*options.presetFile);
  for (const std::string& setting : options.settings) session.ApplySetting(setting);
}

RunReport ProcessAudio(HostSession& session, AudioSource& source, const std::string& outPath,
                       const ProcessOptions& options, bool showProgress, const MoreOutputs& more) {
  // Every output is checked and gets its temporary file before any work:
  // a target that cannot be written fails the command at once.
  OutputFiles outputs;
  WavWriter writer;
  AtomicFile stateFile;
  outputs.Add("OUT", outPath, [&] { return writer.Commit(); });
  if (options.stateOut) outputs.Add("--state-out", *options.stateOut, [&] { return stateFile.Commit(); });
  if (more.add) more.add(outputs);

  session.Start(source.SampleRate(), options.blockSize, source.Channels());
  ApplyProcessSettings(session, options);
  session.SetBypass(options.bypass);

  if (!writer.Open(outPath.c_str(), source.Channels(), source.SampleRate(), options.bits)) {
    throw CommandError(OutputError(outPath, errno));
  }
  if (options.stateOut && !stateFile.Open(options.stateOut->c_str())) {
    throw CommandError(OutputError(*options.stateOut, errno));
  }
  int writeErrno = 0;
  // Float files hold whatever the plug-in makes; integer ones clip.
  ClipCounter clips;
  const bool integerOutput = options.bits != 32;
  AlignedRender render(session, source.Channels(), options.blockSize, options.latencyCompensation,
                       [&](const double* const* channels, size_t frames) {
                         if (integerOutput) clips.Add(channels, source.Channels(), frames);
                         errno = 0;
                         if (writer.WriteFrames(channels, frames)) return true;
                         // No call failed: the file would pass the 4 GB of a RIFF size.
                         writeErrno = errno != 0 ? errno : EFBIG;
                         return false;
                       });
  Progress progress(showProgress && static_cast<double>(source.Frames()) >
                                        kProgressMinSeconds * source.SampleRate(),
                    source.Frames());
  const float* const* window = nullptr;
  bool written = true;
  while (written) {
    StopIfInterrupted();
    const size_t frames = source.Next(&window);
    if (frames == 0) break;
    written = render.Push(window, frames);
    progress.Show(render.FramesIn());
  }
  written = written && render.Finish();
  progress.Clear();
  if (!written) throw CommandError(OutputError(outPath, writeErrno));
  if (!writer.Finish()) throw CommandError(OutputError(outPath, errno));
  if (options.stateOut) {
    const std::vector<uint8_t> state = session.SaveState();
    if (!stateFile.Write(state.data(), state.size()) || !stateFile.Finish()) {
      throw CommandError(OutputError(*options.stateOut, errno));
    }
  }
  if (more.write) more.write();
  // A signal that came after the last window still stops the run.
  StopIfInterrupted();
  outputs.CommitAll();

  RunReport report;
  report.latency = session.Latency();
  report.inputMeter = session.InputMeterText();
  report.outputMeter = session.OutputMeterText();
  report.meterMode = session.MeterMode();
  report.bits = options.bits;
  report.clippedSamples = clips.Clipped();
  report.peak = clips.Peak();
  return report;
}

int RunProcessCommand(const CommandLine& line, FILE* out) {
  FileAudioSource source(FileAudioSource::OpenInput(line.files[0], DashInput::kStandardInput));
  HostSession session;
  const RunReport report = ProcessAudio(session, source, line.files[1], line.options, isatty(STDERR_FILENO) == 1);
  std::fputs(FormatReport(report).c_str(), out);
  WarnOfClipping(report);
  return 0;
}

void WarnOfClipping(const RunReport& report) {
  const std::string warning = FormatClipWarning(report);
  if (!warning.empty()) std::fprintf(stderr, "brimlow: warning: %s\n", warning.c_str());
}

#include <cerrno>
#include <memory>
#include <string>

#include "platform/corefoundation/RunLoop.h"
#include "platform/windowserver/ScreenWindow.h"
#include "plugin/controller/Brimlow.h"
#include "tools/AlignedRender.h"
#include "tools/AtomicFile.h"
#include "tools/CommandError.h"
#include "tools/CommandLine.h"
#include "tools/Commands.h"
#include "tools/EditorPicture.h"
#include "tools/EditorWindow.h"
#include "tools/FileAudioSource.h"
#include "tools/HostSession.h"
#include "tools/Interruption.h"
#include "tools/OutputFiles.h"
#include "tools/TestSignalSource.h"

namespace {

// The plug-in's blocks move the run loop's clock on by their length, so
// the editor's timer ticks at its frame rate in audio time, as it would
// beside a host playing the audio.
class TimedProcessor : public BlockProcessor {
 public:
  TimedProcessor(BlockProcessor& session, double sampleRate) : mSession(session), mSampleRate(sampleRate) {}
  void ProcessBlock(float** inputs, float** outputs, int nFrames) override {
    mSession.ProcessBlock(inputs, outputs, nFrames);
    platform::AdvanceRunLoop(nFrames / mSampleRate);
  }
  int Latency() override { return mSession.Latency(); }

 private:
  BlockProcessor& mSession;
  double mSampleRate;
};

}  // namespace

int RunScreenshotCommand(const CommandLine& line, FILE* out) {
  const std::string& outPath = line.files[0];
  const ProcessOptions& options = line.options;
  // Every output is checked and gets its temporary file before any work.
  OutputFiles outputs;
  AtomicFile picture, stateFile;
  outputs.Add("OUT", outPath, [&] { return picture.Commit(); });
  if (options.stateOut) outputs.Add("--state-out", *options.stateOut, [&] { return stateFile.Commit(); });

  std::unique_ptr<AudioSource> source;
  if (line.screenshot.input) {
    source = std::make_unique<FileAudioSource>(FileAudioSource::OpenInput(*line.screenshot.input));
  } else {
    source = std::make_unique<TestSignalSource>();
  }

  HostSession session;
  session.Start(source->SampleRate(), options.blockSize, source->Channels());
  ApplyProcessSettings(session, options);
  session.ApplySetting("GUI Scale=" + std::to_string(line.screenshot.scalePercent.value_or(100)) + "%");
  session.SetBypass(options.bypass);
  if (!picture.Open(outPath.c_str())) throw CommandError(OutputError(outPath, errno));
  if (options.stateOut && !stateFile.Open(options.stateOut->c_str())) {
    throw CommandError(OutputError(*options.stateOut, errno));
  }

  // Made after the session, so it closes before the plug-in goes.
  EditorWindow editor(session.Instance());
  TimedProcessor timed(session, source->SampleRate());
  AlignedRender render(timed, source->Channels(), options.blockSize, options.latencyCompensation,
                       [](const double* const*, size_t) { return true; });
  const float* const* window = nullptr;
  for (;;) {
    StopIfInterrupted();
    const size_t frames = source->Next(&window);
    if (frames == 0) break;
    render.Push(window, frames);
  }
  render.Finish();

  editor.Service();
  platform::RunLoopPass();
  const platform::ScreenWindow& screen = editor.Screen();
  const int width = screen.PixelWidth(), height = screen.PixelHeight();
  WriteEditorPicture(screen, picture, outPath);
  if (options.stateOut) {
    const std::vector<uint8_t> state = session.SaveState();
    if (!stateFile.Write(state.data(), state.size()) || !stateFile.Finish()) {
      throw CommandError(OutputError(*options.stateOut, errno));
    }
  }
  // A signal that came after the last window still stops the run.
  StopIfInterrupted();
  outputs.CommitAll();
  RunReport meters;
  meters.inputMeter = session.InputMeterText();
  meters.outputMeter = session.OutputMeterText();
  meters.meterMode = session.MeterMode();
  std::fprintf(out, "editor: %d x %d\n", width, height);
  std::fputs(FormatMeterLines(meters).c_str(), out);
  return 0;
}

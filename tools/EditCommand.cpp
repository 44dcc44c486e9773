#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/corefoundation/RunLoop.h"
#include "platform/windowserver/X11Backend.h"
#include "plugin/controller/Brimlow.h"
#include "tools/AtomicFile.h"
#include "tools/CommandError.h"
#include "tools/CommandLine.h"
#include "tools/EditBackend.h"
#include "tools/Commands.h"
#include "tools/EditorScale.h"
#include "tools/EditorWindow.h"
#include "tools/FileAudioSource.h"
#include "tools/HostSession.h"
#include "tools/Interruption.h"
#include "tools/OutputFiles.h"
#include "tools/TestSignalSource.h"

namespace {

// How often the audio is caught up with the clock, how much one catch-up
// may do (so the window keeps answering on a slow machine), and how far
// behind it may fall (a long menu or dialog) before the lost time is skipped.
constexpr double kAudioTickSeconds = 0.005;
constexpr double kMaxWorkSeconds = 0.02;
constexpr double kMaxLagSeconds = 0.25;
constexpr double kEventWaitSeconds = 0.005;

// The input over and over, in host blocks: a source made afresh each time
// the last one ends.
class LoopedInput {
 public:
  LoopedInput(std::function<std::unique_ptr<AudioSource>()> make, int blockSize)
      : mMake(std::move(make)), mSource(mMake()), mBlockSize(blockSize) {
    const int channels = mSource->Channels();
    mIn.assign(channels, std::vector<float>(blockSize));
    mOut.assign(channels, std::vector<float>(blockSize));
    for (int c = 0; c < channels; ++c) {
      mInPtrs.push_back(mIn[c].data());
      mOutPtrs.push_back(mOut[c].data());
    }
  }
  int Channels() const { return mSource->Channels(); }
  double SampleRate() const { return mSource->SampleRate(); }

  // One block through the processor; the output goes nowhere.
  void RunBlock(BlockProcessor& processor) {
    int filled = 0;
    while (filled < mBlockSize) {
      if (mWindowPos >= mWindowFrames) {
        mWindowFrames = mSource->Next(&mWindow);
        mWindowPos = 0;
        if (mWindowFrames == 0) {
          if (++mEmptyReads > 1) {
            // Nothing to loop: silence.
            for (auto& channel : mIn) std::fill(channel.begin() + filled, channel.end(), 0.0f);
            break;
          }
          mSource = mMake();
          continue;
        }
        mEmptyReads = 0;
      }
      const size_t n = std::min<size_t>(mWindowFrames - mWindowPos, static_cast<size_t>(mBlockSize - filled));
      for (size_t c = 0; c < mIn.size(); ++c) {
        std::copy_n(mWindow[c] + mWindowPos, n, mIn[c].begin() + filled);
      }
      mWindowPos += n;
      filled += static_cast<int>(n);
    }
    processor.ProcessBlock(mInPtrs.data(), mOutPtrs.data(), mBlockSize);
  }

 private:
  std::function<std::unique_ptr<AudioSource>()> mMake;
  std::unique_ptr<AudioSource> mSource;
  int mBlockSize;
  const float* const* mWindow = nullptr;
  size_t mWindowFrames = 0, mWindowPos = 0;
  int mEmptyReads = 0;
  std::vector<std::vector<float>> mIn, mOut;
  std::vector<float*> mInPtrs, mOutPtrs;
};

// The display named is the one the user set; without one there is nothing
// to name, only the variable to set.
std::string NoDisplayMessage(const char* displayName) {
  if (!displayName || !*displayName) return "cannot open the editor: no X display (set DISPLAY)";
  return std::string("cannot open the editor on X display ") + displayName;
}

// A window larger than the screen would hide part of the editor, its
// menus perhaps, out of reach: the GUI scale comes down until the window
// fits, and the user is told.
void FitEditorToScreen(HostSession& session, const PixelSize& screen) {
  const Brimlow& plug = session.Instance();
  const int wanted = static_cast<int>(std::lround(plug.GuiScaleX() * 100.0));
  const PixelSize size = EditorSizeAt(plug.mBaseWidth, plug.mBaseHeight, wanted);
  if (Fits(size, screen)) return;
  const int chosen = LargestScaleThatFits(plug.mBaseWidth, plug.mBaseHeight, screen, wanted);
  session.ApplySetting("GUI Scale=" + std::to_string(chosen) + "%");
  const PixelSize opened = EditorSizeAt(plug.mBaseWidth, plug.mBaseHeight, chosen);
  std::fprintf(stderr, "brimlow: the editor at %d %% (%s) is larger than the screen (%s): opened at %d %% (%s)%s\n",
               wanted, SizeText(size).c_str(), SizeText(screen).c_str(), chosen, SizeText(opened).c_str(),
               Fits(opened, screen) ? "" : ", the smallest scale");
}

}  // namespace

int RunEditCommand(const CommandLine& line, FILE* out) {
  const ProcessOptions& options = line.options;
  OutputFiles outputs;
  AtomicFile stateFile;
  if (options.stateOut) outputs.Add("--state-out", *options.stateOut, [&] { return stateFile.Commit(); });

  // Read once (a pipe to its end), then from the start on every loop.
  std::shared_ptr<const InputFile> input;
  if (line.screenshot.input) input = FileAudioSource::OpenInput(*line.screenshot.input);
  const auto makeSource = [&input]() -> std::unique_ptr<AudioSource> {
    if (input) return std::make_unique<FileAudioSource>(input);
    return std::make_unique<TestSignalSource>();
  };
  LoopedInput looped(makeSource, options.blockSize);

  std::unique_ptr<platform::X11Backend> display = platform::X11Backend::Open(nullptr);
  if (!display) throw CommandError(NoDisplayMessage(std::getenv("DISPLAY")));
  platform::X11Backend* x11 = display.get();
  // Ctrl-C ends an open dialog too, so the run stops at once.
  x11->SetDialogInterruption([] { return InterruptingSignal() != 0; });
  platform::InstallBackend(std::make_unique<EditBackend>(std::move(display), out));
  platform::UseRealRunLoopClock(true);

  HostSession session;
  session.Start(looped.SampleRate(), options.blockSize, looped.Channels());
  ApplyProcessSettings(session, options);
  if (line.screenshot.scalePercent) {
    session.ApplySetting("GUI Scale=" + std::to_string(*line.screenshot.scalePercent) + "%");
  }
  FitEditorToScreen(session, {x11->DisplayPixelsWide(), x11->DisplayPixelsHigh()});
  if (options.stateOut && !stateFile.Open(options.stateOut->c_str())) {
    throw CommandError(OutputError(*options.stateOut, errno));
  }

  // Made after the session, so it closes before the plug-in goes.
  EditorWindow editor(session.Instance());
  // The audio keeps pace with the clock, on the main thread like every
  // other call into the plug-in.
  const double rate = looped.SampleRate();
  const double start = platform::RunLoopTime();
  double processed = 0.0;
  platform::RunLoopTimer* audio = platform::AddRunLoopTimer(0.0, kAudioTickSeconds, [&] {
    const double due = (platform::RunLoopTime() - start) * rate;
    if (due - processed > kMaxLagSeconds * rate) processed = due - options.blockSize;
    const double until = std::min(due, processed + kMaxWorkSeconds * rate);
    while (until - processed >= options.blockSize) {
      looped.RunBlock(session);
      processed += options.blockSize;
    }
  });
  // Closing the window is how a session is kept; Ctrl-C throws it away.
  if (options.stateOut) {
    std::fprintf(out, "editor: open; close the window to save the state to %s (Ctrl-C: nothing written)\n",
                 options.stateOut->c_str());
  } else {
    std::fprintf(out, "editor: open; close the window to end (no --state-out: nothing is saved)\n");
  }
  std::fflush(out);
  // A window manager's close, the window destroyed by another client and
  // the display lost all end the session the same way: the state is kept.
  while (!x11->CloseRequested(&editor.Screen())) {
    if (InterruptingSignal() != 0) break;
    x11->RunOnce(kEventWaitSeconds);
    editor.Service();
  }
  platform::RemoveRunLoopTimer(audio);
  if (InterruptingSignal() != 0) throw CommandError("interrupted: nothing written");
  if (x11->DisplayLost()) std::fprintf(out, "editor: the X display went away\n");

  if (options.stateOut) {
    const std::vector<uint8_t> state = session.SaveState();
    if (!stateFile.Write(state.data(), state.size()) || !stateFile.Finish()) {
      throw CommandError(OutputError(*options.stateOut, errno));
    }
    outputs.CommitAll();
    std::fprintf(out, "state: %s\n", options.stateOut->c_str());
  }
  return 0;
}

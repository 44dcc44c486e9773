#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "graphics/IGraphics.h"
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

// The audio is caught up with the clock once a frame, just before the
// editor's timer fires. One catch-up may do a few frames' worth (so the
// window keeps answering on a slow machine), and the audio may fall behind
// this far (a long menu or dialog) before the lost time is skipped.
constexpr double kAudioLeadSeconds = 1e-6;
constexpr double kMaxWorkFrames = 2.0;
constexpr double kMaxLagSeconds = 0.25;
// The longest sleep between passes when no timer is nearer; X events and
// signals end it early.
constexpr double kEventWaitSeconds = 0.05;
constexpr double kShortestPollSeconds = 0.0005;

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
  double frameSeconds = 1.0 / 60.0;
  const auto catchUp = [&] {
    const double due = (platform::RunLoopTime() - start) * rate;
    if (due - processed > kMaxLagSeconds * rate) processed = due - options.blockSize;
    const double until = std::min(due, processed + kMaxWorkFrames * frameSeconds * rate);
    while (until - processed >= options.blockSize) {
      looped.RunBlock(session);
      processed += options.blockSize;
    }
  };
  // On a timer, which menus and dialogs run too, so the audio goes on
  // there. Once the editor's timer (the only other one) says when its next
  // frame is due, the audio's fires at its rate a hair before it: one
  // wake-up a frame, and each frame shows the audio up to its time. True
  // when aligned; a frame that is late already says nothing of the next.
  platform::RunLoopTimer* audio = platform::AddRunLoopTimer(0.0, frameSeconds, catchUp);
  const auto alignAudio = [&] {
    platform::RemoveRunLoopTimer(audio);
    const IGraphics* graphics = session.Instance().GetGUI();
    if (graphics && graphics->FPS() > 0) frameSeconds = 1.0 / graphics->FPS();
    const double nextFrame = platform::SecondsToNextRunLoopTimer();
    const bool aligned = nextFrame > kAudioLeadSeconds;
    audio = platform::AddRunLoopTimer(aligned ? nextFrame - kAudioLeadSeconds : 0.0, frameSeconds, catchUp);
    return aligned;
  };
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
  WindowRef alignedTo = editor.Window();
  bool aligned = false;
  while (!x11->CloseRequested(&editor.Screen())) {
    if (InterruptingSignal() != 0) break;
    // The wait for X events is rounded to whole milliseconds: a timer due in
    // less than half of one would be polled for over and over until then.
    const double nextTimer = platform::SecondsToNextRunLoopTimer();
    if (nextTimer > 0.0 && nextTimer < kShortestPollSeconds) {
      std::this_thread::sleep_for(std::chrono::duration<double>(nextTimer));
    }
    x11->RunOnce(kEventWaitSeconds);
    // After a pass the editor's timer has fired whatever was due (a
    // reopened editor has a timer of its own, due at once).
    if (!aligned) aligned = alignAudio();
    editor.Service();
    if (editor.Window() != alignedTo) {
      alignedTo = editor.Window();
      aligned = false;
    }
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

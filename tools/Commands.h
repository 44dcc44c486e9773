#pragma once

#include <cstdio>
#include <functional>
#include <string>

#include "tools/Report.h"

class AudioSource;
class HostSession;
class OutputFiles;
struct CommandLine;
struct ProcessOptions;

// The commands of the command-line host. Each writes what it reports to
// `out` and returns the exit code; failures throw CommandError.
int RunProcessCommand(const CommandLine& line, FILE* out);
int RunParamsCommand(FILE* out);
int RunPresetsCommand(FILE* out);
int RunCaptureCommand(const CommandLine& line, FILE* out);
int RunDemoCommand(const CommandLine& line, FILE* out);
int RunScreenshotCommand(const CommandLine& line, FILE* out);
int RunEditCommand(const CommandLine& line, FILE* out);

// The options' settings in their fixed order: the state, the preset, the
// preset file, then each --set.
void ApplyProcessSettings(HostSession& session, const ProcessOptions& options);

// Files a command writes beside OUT (the demo's picture): `add` adds them
// to the outputs once OUT and the state are, before any work; `write`
// writes them after the run. They are put in place with the others.
struct MoreOutputs {
  std::function<void(OutputFiles&)> add;
  std::function<void()> write;
};

// What process and demo share: starts the session for the source's rate,
// channels and the block size, applies the options' settings in their
// fixed order, renders the source into a WAV file at outPath and saves
// the state when asked. All files appear only once everything has
// succeeded. showProgress: a percentage on standard error.
RunReport ProcessAudio(HostSession& session, AudioSource& source, const std::string& outPath,
                       const ProcessOptions& options, bool showProgress, const MoreOutputs& more = {});

// The clipping ProcessAudio saw, as one line on standard error; nothing
// when no sample clipped.
void WarnOfClipping(const RunReport& report);

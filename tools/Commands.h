#pragma once

#include <cstdio>
#include <string>

#include "tools/Report.h"

class AudioSource;
class HostSession;
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

// What process and demo share: starts the session for the source's rate,
// channels and the block size, applies the options' settings in their
// fixed order, renders the source into a WAV file at outPath and saves
// the state when asked. Both files appear only once everything has
// succeeded. showProgress: a percentage on standard error.
RunReport ProcessAudio(HostSession& session, AudioSource& source, const std::string& outPath,
                       const ProcessOptions& options, bool showProgress);

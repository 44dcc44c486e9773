// The command-line host for Brimlow: reads the command line and hands it to
// the command it names. Everything else lives in the brimlow_tools library.
#include <sys/stat.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "tools/CommandError.h"
#include "tools/CommandFiles.h"
#include "tools/CommandLine.h"
#include "tools/Commands.h"
#include "tools/Interruption.h"

namespace {

// Whether an output is the program's own standard output (/dev/stdout, or
// the file or pipe it was sent to): the report must not run into its bytes.
bool WritesStandardOutput(const CommandLine& line) {
  struct stat standard {};
  if (::fstat(STDOUT_FILENO, &standard) != 0) return false;
  for (const NamedFile& output : CommandOutputs(line)) {
    struct stat info {};
    if (::stat(output.path.c_str(), &info) == 0 && info.st_dev == standard.st_dev && info.st_ino == standard.st_ino) {
      return true;
    }
  }
  return false;
}

int Run(const CommandLine& line) {
  FILE* report = WritesStandardOutput(line) ? stderr : stdout;
  switch (line.command) {
    case Command::kHelp: std::fputs(HelpText(), stdout); return 0;
    case Command::kProcess: return RunProcessCommand(line, report);
    case Command::kParams: return RunParamsCommand(stdout);
    case Command::kPresets: return RunPresetsCommand(stdout);
    case Command::kCapture: return RunCaptureCommand(line, report);
    case Command::kDemo: return RunDemoCommand(line, report);
    case Command::kScreenshot: return RunScreenshotCommand(line, report);
    case Command::kEdit: return RunEditCommand(line, report);
  }
  return CommandError::kUsage;
}

}  // namespace

int main(int argc, char** argv) {
  // Every number printed or read is in the C locale, whatever the user's.
  std::setlocale(LC_ALL, "C");
  const std::vector<std::string> args(argv + 1, argv + argc);
  CatchInterruptions();
  try {
    const int code = Run(ParseCommandLine(args));
    if (std::fflush(stdout) != 0) {
      std::fprintf(stderr, "brimlow: cannot write to standard output\n");
      return CommandError::kFailed;
    }
    return code;
  } catch (const CommandError& e) {
    std::fflush(stdout);
    std::fprintf(stderr, "brimlow: %s\n", e.what());
    // The outputs' temporary files are gone by now.
    EndByInterruptingSignal();
    return e.ExitCode();
  } catch (const std::exception& e) {
    std::fflush(stdout);
    std::fprintf(stderr, "brimlow: %s\n", e.what());
    return CommandError::kFailed;
  }
}

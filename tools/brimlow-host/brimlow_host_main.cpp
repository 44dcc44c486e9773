// The stand-in host: plays the host's part for the plug-in bundle on Linux,
// through the bundle's exports only. Everything lives in brimlow_host_tool.
#include <clocale>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "tools/CommandError.h"
#include "tools/Interruption.h"
#include "tools/brimlow-host/HostOptions.h"
#include "tools/brimlow-host/HostRun.h"

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "C");
  const std::vector<std::string> args(argv + 1, argv + argc);
  CatchInterruptions();
  try {
    const HostOptions options = ParseHostOptions(args);
    if (options.help) {
      std::fputs(HostHelpText(), stdout);
      return 0;
    }
    const int code = RunStandInHost(options, stdout);
    if (std::fflush(stdout) != 0) {
      std::fprintf(stderr, "brimlow-host: cannot write to standard output\n");
      return CommandError::kFailed;
    }
    return code;
  } catch (const CommandError& e) {
    std::fflush(stdout);
    std::fprintf(stderr, "brimlow-host: %s\n", e.what());
    EndByInterruptingSignal();
    return e.ExitCode();
  } catch (const std::exception& e) {
    std::fflush(stdout);
    std::fprintf(stderr, "brimlow-host: %s\n", e.what());
    return CommandError::kFailed;
  }
}

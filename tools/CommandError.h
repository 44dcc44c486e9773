#pragma once

#include <stdexcept>
#include <string>

// A failure the command-line host reports as one line on standard error,
// "brimlow: " and the message, and exits with the code it carries: 2 for a
// command line that cannot be used, 1 for everything else.
class CommandError : public std::runtime_error {
 public:
  static constexpr int kFailed = 1;
  static constexpr int kUsage = 2;

  explicit CommandError(const std::string& message, int exitCode = kFailed)
      : std::runtime_error(message), mExitCode(exitCode) {}
  int ExitCode() const { return mExitCode; }

 private:
  int mExitCode;
};

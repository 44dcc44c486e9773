#pragma once

// Runs one of the build's programs as a user would, for the tests that
// check what it prints, its exit code and the files it leaves.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "tests/ScratchFolder.h"

extern char** environ;

struct RunResult {
  int exitCode = -1;  // -1 when the program did not exit normally
  std::string out, err;
};

inline std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// This process's environment for the program. Under the leak checker the
// program would add its tally of suppressed library leaks (fontconfig's,
// once a font is made) to standard error, which is the program's to fill.
inline std::vector<std::string> ProgramEnvironment() {
  std::vector<std::string> env;
  std::string lsan = "LSAN_OPTIONS=print_suppressions=0";
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    if (entry.rfind("LSAN_OPTIONS=", 0) == 0) lsan = entry + ":print_suppressions=0";
    else env.push_back(entry);
  }
  env.push_back(lsan);
  return env;
}

// Starts `program` in `cwd` with no input (or standard input from inFd),
// its standard output and error in the files named; the process id, or -1
// when it could not start.
inline pid_t SpawnProgram(const std::string& program, const std::vector<std::string>& args, const std::string& cwd,
                          const std::string& outPath, const std::string& errPath, int inFd = -1) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (inFd >= 0) {
    posix_spawn_file_actions_adddup2(&actions, inFd, STDIN_FILENO);
  } else {
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  }
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
  std::vector<std::string> argvStrings = {program};
  argvStrings.insert(argvStrings.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : argvStrings) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<std::string> envStrings = ProgramEnvironment();
  std::vector<char*> env;
  for (std::string& e : envStrings) env.push_back(e.data());
  env.push_back(nullptr);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), env.data());
  posix_spawn_file_actions_destroy(&actions);
  return spawned == 0 ? pid : -1;
}

// Whether the process has a handler of its own for `signal`, by the caught
// signals the kernel lists for it (bit signal - 1 of "SigCgt").
inline bool CatchesSignal(pid_t pid, int signal) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("SigCgt:", 0) == 0) return ((std::stoull(line.substr(7), nullptr, 16) >> (signal - 1)) & 1) != 0;
  }
  return false;
}

// Runs `program` in `cwd` with no input and its output in files of a
// folder of its own.
inline RunResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                            const std::string& cwd) {
  ScratchFolder capture;
  const std::string outPath = capture.PathOf("stdout"), errPath = capture.PathOf("stderr");
  RunResult result;
  const pid_t pid = SpawnProgram(program, args, cwd, outPath, errPath);
  int status = 0;
  if (pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  result.out = ReadText(outPath);
  result.err = ReadText(errPath);
  return result;
}

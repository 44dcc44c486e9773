#pragma once

#include <functional>
#include <string>
#include <vector>

// The files one command writes, put in place together or not at all.
//
// Each output is written whole to a temporary file beside its target (an
// AtomicFile, or a WavWriter around one) and finished by its writer;
// CommitAll then renames them over their targets one after the other.
// Should a rename fail, the targets already replaced get their earlier
// files back (or go again, when there were none), so a failed command
// leaves every target as it was. The writers remove the temporary files
// of outputs never committed.
class OutputFiles {
 public:
  // Checks the target at once (OutputPathProblem) and against the targets
  // added before, so a command fails before it does any work. label names
  // the output in messages ("OUT", "--state-out"). commit renames the
  // finished temporary file over the target and sets errno when it fails.
  // Throws CommandError.
  void Add(const std::string& label, const std::string& path, std::function<bool()> commit);

  // Throws CommandError naming the output that could not be put in place,
  // every target then being as it was before.
  void CommitAll();

 private:
  struct Output {
    std::string label, path;
    std::function<bool()> commit;
  };
  std::vector<Output> mOutputs;
};

// Why no file can be written at path, as a message for the user ("adir: is
// a directory", "x/out.wav: cannot write (no such folder)"), or "" when
// nothing stands in the way as far as can be told without writing.
std::string OutputPathProblem(const std::string& path);

// The message for a write to path that failed with errno error.
std::string OutputError(const std::string& path, int error);

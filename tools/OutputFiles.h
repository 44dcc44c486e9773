#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tools/OutputTarget.h"

// The files one command writes, put in place together or not at all.
//
// Each output is written whole to a temporary file (an AtomicFile, or a
// WavWriter around one) and finished by its writer; CommitAll then renames
// the regular files over their targets one after the other and, last,
// writes the outputs that are devices or FIFOs through. Should a rename or
// a stream's write fail, the targets already replaced get their earlier
// files back (or go again, when there were none), so a failed command
// leaves every file as it was; only a stream written before the failure
// keeps what it got. The writers remove the temporary files of outputs
// never committed.
class OutputFiles {
 public:
  // Checks the target at once (OutputPathProblem) and against the targets
  // added before, so a command fails before it does any work. label names
  // the output in messages ("OUT", "--state-out"). commit puts the
  // finished temporary file in place and sets errno when it fails.
  // Throws CommandError.
  void Add(const std::string& label, const std::string& path, std::function<bool()> commit);

  // Throws CommandError naming the output that could not be put in place
  // ("interrupted" when a signal ended a wait for a stream), every file
  // then being as it was before.
  void CommitAll();

 private:
  struct Output {
    std::string label, path;
    OutputTarget target;
    std::function<bool()> commit;
  };
  std::vector<Output> mOutputs;
};

// Why no file can be written at path, as a message for the user ("adir: is
// a directory", "x/out.wav: cannot write (no such folder)"), or "" when
// nothing stands in the way as far as can be told without writing. A
// character device or a FIFO can be written (through, not replaced).
std::string OutputPathProblem(const std::string& path);

// Whether two output paths end in one file: one existing file by any path
// (a hard or symbolic link; character devices excepted), or two spellings
// of one folder entry that has no file yet.
bool IsSameOutput(const std::string& a, const std::string& b);

// The message for a write to path that failed with errno error.
std::string OutputError(const std::string& path, int error);

#pragma once

#include <string>
#include <vector>

#include "tools/InputFile.h"

// A file a command reads or writes, as the command line names it.
struct NamedFile {
  std::string label;  // "IN", "OUT", "--state-in", as messages name it
  std::string path;
  DashInput dash = DashInput::kFileName;  // inputs: whether "-" is standard input
  const char* format = nullptr;           // outputs: what is written ("WAV", "PNG")
};

// The checks made on the command line's files before anything is read or
// written. Throws CommandError for an output that cannot be written
// (OutputPathProblem), and a usage error for:
// - two outputs that are one file (OutputFiles::Add checks this again),
// - an output that is one of the inputs, by any path, hard or symbolic
//   link included (a device such as /dev/null excepted),
// - an output whose name's extension says another known format than the
//   one written ("out.aiff" for WAV); a name with no extension or one not
//   known, and a device or FIFO whatever its name, are taken.
// usage: the command's usage line, which the format's message shows.
void CheckCommandFiles(const std::vector<NamedFile>& inputs, const std::vector<NamedFile>& outputs,
                       const std::string& usage);

// The format a file name's extension says ("AIFF" for "mix.aif", any case),
// or nullptr when it has none or one not known.
const char* FormatOfName(const std::string& path);

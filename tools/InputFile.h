#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/FileIdentity.h"

// Whether "-" names standard input, as for the audio input of process and
// capture, or a file called "-".
enum class DashInput { kStandardInput, kFileName };

// An input named on the command line. A regular file is read by its name,
// which the readers may open again and seek in. Anything else (a pipe, a
// FIFO, a terminal, a device) is read to its end at once into memory,
// never more than maxStreamBytes, and the readers get a name for those
// bytes, so they see exactly what a regular file of the same bytes would
// give them. Every wait for the input ends when a signal interrupts the
// run (Interruption.h).
class InputFile {
 public:
  // Throws CommandError: "NAME: cannot open (REASON)", "NAME: is a
  // directory", "NAME: read failed (REASON)", "NAME: too large (more than
  // N bytes)", or "interrupted".
  InputFile(const std::string& name, uint64_t maxStreamBytes, DashInput dash = DashInput::kFileName);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // The input as messages name it: as typed, "standard input" for "-".
  const std::string& Name() const { return mName; }
  // A path the readers can open, as often as they need, while this lives.
  const std::string& ReadPath() const { return mReadPath; }

 private:
  std::string mName;
  std::string mReadPath;
  int mMemory = -1;  // the bytes read from a stream
};

// What an input's name reaches ("-" as for InputFile), for refusing an
// output that is the input before any work; nothing for a missing file.
FileIdentity InputIdentity(const std::string& name, DashInput dash = DashInput::kFileName);

// The whole input, at most maxBytes of it, read as InputFile reads it.
// Throws CommandError as InputFile does.
std::vector<uint8_t> ReadInputBytes(const std::string& name, uint64_t maxBytes);

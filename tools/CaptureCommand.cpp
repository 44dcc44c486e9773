#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "framework/containers/WDL_String.h"
#include "plugin/controller/CaptureFile.h"
#include "plugin/controller/ConvertWav2Capture.h"
#include "plugin/controller/ReferenceCapture.h"
#include "tools/AtomicFile.h"
#include "tools/CommandError.h"
#include "tools/CommandLine.h"
#include "tools/Commands.h"
#include "tools/FileAudioSource.h"
#include "tools/FileBytes.h"
#include "tools/InputFile.h"
#include "tools/Interruption.h"
#include "tools/OutputFiles.h"

namespace {

// "Error: channel count > 2!" reads "channel count > 2" after a file name.
std::string StatusMessage(const char* status) {
  std::string text = status;
  const std::string prefix = "Error: ";
  if (text.compare(0, prefix.size(), prefix) == 0) text.erase(0, prefix.size());
  if (!text.empty() && text.back() == '!') text.pop_back();
  return text.empty() ? "cannot be measured" : text;
}

// The capture file's bytes as its own writer makes them, written into a
// private folder and read back: OUT then goes out as every command's
// outputs do, a device or FIFO included.
std::vector<uint8_t> CaptureFileBytes(const ReferenceCapture& reference) {
  const char* tmp = std::getenv("TMPDIR");
  std::string folder = std::string(tmp && *tmp ? tmp : "/tmp") + "/brimlow-capture-XXXXXX";
  if (!mkdtemp(folder.data())) throw CommandError("cannot make a temporary folder (" + folder + ")");
  const std::string path = folder + "/capture.ref";
  const bool written =
      WriteCaptureFile(path.c_str(), reference.GetFrequencies(), reference.GetMagnitudes(), reference.GetCount());
  std::vector<uint8_t> bytes;
  if (written) bytes = ReadFileBytes(path);
  ::unlink(path.c_str());
  ::rmdir(folder.c_str());
  if (!written) throw CommandError("the capture could not be written");
  return bytes;
}

}  // namespace

int RunCaptureCommand(const CommandLine& line, FILE* out) {
  const std::string& path = line.files[1];
  // Checked before the measurement, which a folder or a missing one as the
  // target would only waste.
  OutputFiles outputs;
  AtomicFile file;
  outputs.Add("OUT", path, [&] { return file.Commit(); });
  const std::shared_ptr<const InputFile> in = FileAudioSource::OpenInput(line.files[0], DashInput::kStandardInput);
  ReferenceCapture reference;
  WDL_String status;
  if (!MakeReferenceFromAudioFile(in->ReadPath().c_str(), &reference, &status)) {
    throw CommandError(in->Name() + ": " + StatusMessage(status.Get()));
  }
  // The measurement cannot be stopped part of the way; a signal during it
  // stops the command here.
  StopIfInterrupted();
  const std::vector<uint8_t> bytes = CaptureFileBytes(reference);
  if (!file.Open(path.c_str()) || !file.Write(bytes.data(), bytes.size()) || !file.Finish()) {
    throw CommandError(OutputError(path, errno));
  }
  StopIfInterrupted();
  outputs.CommitAll();
  std::fprintf(out, "captured %d points of %s into %s\n", reference.GetCount(), in->Name().c_str(), path.c_str());
  return 0;
}

#include <string>

#include "framework/containers/WDL_String.h"
#include "plugin/controller/CaptureFile.h"
#include "plugin/controller/ConvertWav2Capture.h"
#include "plugin/controller/ReferenceCapture.h"
#include "tools/CommandError.h"
#include "tools/CommandLine.h"
#include "tools/Commands.h"
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

}  // namespace

int RunCaptureCommand(const CommandLine& line, FILE* out) {
  const std::string& in = line.files[0];
  const std::string& path = line.files[1];
  // Checked before the measurement, which a folder or a missing one as the
  // target would only waste.
  const std::string problem = OutputPathProblem(path);
  if (!problem.empty()) throw CommandError(problem);
  ReferenceCapture reference;
  WDL_String status;
  if (!MakeReferenceFromAudioFile(in.c_str(), &reference, &status)) {
    throw CommandError(in + ": " + StatusMessage(status.Get()));
  }
  // The measurement cannot be stopped part of the way; a signal during it
  // stops the command here.
  StopIfInterrupted();
  if (!WriteCaptureFile(path.c_str(), reference.GetFrequencies(), reference.GetMagnitudes(), reference.GetCount())) {
    throw CommandError(path + ": cannot write the capture file");
  }
  std::fprintf(out, "captured %d points of %s into %s\n", reference.GetCount(), in.c_str(), path.c_str());
  return 0;
}

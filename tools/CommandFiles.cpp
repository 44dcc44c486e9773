#include "tools/CommandFiles.h"

#include <strings.h>

#include "tools/CommandError.h"
#include "tools/OutputFiles.h"
#include "tools/OutputTarget.h"

namespace {

struct KnownExtension {
  const char* extension;
  const char* format;
};

// Names a user may give an output expecting that format. The formats the
// commands write are among them, so that a name saying another is seen.
constexpr KnownExtension kKnownExtensions[] = {
    {"wav", "WAV"},   {"wave", "WAV"},   {"aif", "AIFF"},  {"aiff", "AIFF"},   {"aifc", "AIFC"},
    {"flac", "FLAC"}, {"mp3", "MP3"},    {"ogg", "Ogg"},   {"oga", "Ogg"},     {"opus", "Opus"},
    {"m4a", "AAC"},   {"aac", "AAC"},    {"caf", "CAF"},   {"w64", "Wave64"},  {"png", "PNG"},
    {"jpg", "JPEG"},  {"jpeg", "JPEG"},  {"gif", "GIF"},   {"bmp", "BMP"},     {"tif", "TIFF"},
    {"tiff", "TIFF"}, {"webp", "WebP"},  {"svg", "SVG"},   {"ref", "a reference capture"},
    {"tps", "a preset file"},
};

[[noreturn]] void Usage(const std::string& message) { throw CommandError(message, CommandError::kUsage); }

bool IsStream(const std::string& path) {
  OutputTarget target;
  return FindOutputTarget(path, &target) && target.kind == OutputTarget::Kind::kStream;
}

}  // namespace

const char* FormatOfName(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const size_t dot = path.find_last_of('.');
  // "dir.d/out" has none; neither has ".hidden".
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash) ||
      dot == (slash == std::string::npos ? 0 : slash + 1)) {
    return nullptr;
  }
  const std::string extension = path.substr(dot + 1);
  for (const KnownExtension& known : kKnownExtensions) {
    if (strcasecmp(extension.c_str(), known.extension) == 0) return known.format;
  }
  return nullptr;
}

void CheckCommandFiles(const std::vector<NamedFile>& inputs, const std::vector<NamedFile>& outputs,
                       const std::string& usage) {
  for (const NamedFile& output : outputs) {
    const std::string problem = OutputPathProblem(output.path);
    if (!problem.empty()) throw CommandError(problem);
  }
  for (size_t i = 0; i < outputs.size(); ++i) {
    for (size_t j = 0; j < i; ++j) {
      if (IsSameOutput(outputs[j].path, outputs[i].path)) {
        Usage(outputs[j].label + " and " + outputs[i].label + " name the same file");
      }
    }
  }
  for (const NamedFile& output : outputs) {
    const FileIdentity written = FileIdentity::OfPath(output.path.c_str());
    for (const NamedFile& input : inputs) {
      if (IsSameFile(InputIdentity(input.path, input.dash), written)) {
        Usage(output.label + " and " + input.label + " name the same file");
      }
    }
  }
  for (const NamedFile& output : outputs) {
    const char* named = FormatOfName(output.path);
    if (!named || !output.format || std::string(named) == output.format || IsStream(output.path)) continue;
    Usage(output.label + " " + output.path + ": the name says " + named + " but " + output.format +
          " is written (usage: " + usage + ")");
  }
}

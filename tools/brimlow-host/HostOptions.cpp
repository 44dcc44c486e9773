#include "tools/brimlow-host/HostOptions.h"

#include "tools/CommandError.h"
#include "tools/CommandFiles.h"
#include "tools/NumberArgument.h"

namespace {

[[noreturn]] void Usage(const std::string& message) { throw CommandError(message, CommandError::kUsage); }

void SetOnce(std::optional<std::string>* slot, const std::string& option, const std::string& value) {
  if (*slot) Usage(option + " given twice");
  if (value.empty()) Usage(option + " needs a non-empty value");
  *slot = value;
}

bool TakesValue(const std::string& option) {
  for (const char* name : {"--bundle", "--layout", "--rate", "--quantum", "--input", "--output", "--control",
                           "--chunk-in", "--chunk-out", "--editor"}) {
    if (option == name) return true;
  }
  return false;
}

}  // namespace

HostOptions ParseHostOptions(const std::vector<std::string>& args) {
  HostOptions o;
  bool bundleGiven = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& option = args[i];
    if (option == "--help" || option == "-h") {
      o.help = true;
      return o;
    }
    if (option == "--linked") {
      o.linked = true;
      continue;
    }
    if (option == "--bypass") {
      o.bypass = true;
      continue;
    }
    if (option == "--list-controls") {
      o.listControls = true;
      continue;
    }
    if (!TakesValue(option)) Usage("unknown option \"" + option + "\"");
    if (i + 1 >= args.size()) Usage(option + " needs a value");
    const std::string& value = args[++i];
    long long n = 0;
    if (option == "--bundle") {
      if (bundleGiven) Usage("--bundle given twice");
      if (value.empty()) Usage("--bundle needs a non-empty value");
      bundleGiven = true;
      o.bundle = value;
    } else if (option == "--layout") {
      if (value != "1-1" && value != "2-2") Usage("--layout needs 1-1 or 2-2, not \"" + value + "\"");
      SetOnce(&o.layout, option, value);
    } else if (option == "--rate") {
      if (!ParseIntegerArgument(value, 8000, 384000, &n)) Usage("--rate needs a rate from 8000 to 384000 Hz");
      o.rate = static_cast<int>(n);
    } else if (option == "--quantum") {
      if (!ParseIntegerArgument(value, 1, 65536, &n)) Usage("--quantum needs a block size from 1 to 65536");
      o.quantum = static_cast<int>(n);
    } else if (option == "--input") {
      SetOnce(&o.input, option, value);
    } else if (option == "--output") {
      SetOnce(&o.output, option, value);
    } else if (option == "--control") {
      const size_t eq = value.find('=');
      if (eq == std::string::npos || eq == 0) Usage("--control needs NAME=TEXT or NUMBER=TEXT, not \"" + value + "\"");
      o.controls.push_back(value);
    } else if (option == "--chunk-in") {
      SetOnce(&o.chunkIn, option, value);
    } else if (option == "--chunk-out") {
      SetOnce(&o.chunkOut, option, value);
    } else if (option == "--editor") {
      SetOnce(&o.editor, option, value);
    }
  }
  if (o.input.has_value() != o.output.has_value()) Usage("--input and --output go together");
  std::vector<NamedFile> inputs, outputs;
  if (o.input) inputs.push_back({"--input", *o.input});
  if (o.chunkIn) inputs.push_back({"--chunk-in", *o.chunkIn});
  if (o.output) outputs.push_back({"--output", *o.output, DashInput::kFileName, "WAV"});
  if (o.chunkOut) outputs.push_back({"--chunk-out", *o.chunkOut, DashInput::kFileName, "a session chunk"});
  if (o.editor) outputs.push_back({"--editor", *o.editor, DashInput::kFileName, "PNG"});
  CheckCommandFiles(inputs, outputs, "brimlow-host [options] --output OUT.wav --editor OUT.png");
  return o;
}

const char* HostHelpText() {
  return "usage: brimlow-host [options]\n"
         "\n"
         "Loads the Brimlow plug-in bundle as its host does and drives it through\n"
         "the bundle's exports only.\n"
         "\n"
         "  --bundle DIR              the plug-in bundle (default: the one this build made)\n"
         "  --layout 1-1|2-2          the instance's channels (default: the input's)\n"
         "  --rate HZ                 the host's sample rate (default: the input's, else 44100)\n"
         "  --quantum N               the host's largest block in frames (default 512)\n"
         "  --linked                  the audio engine allows its link\n"
         "  --input IN --output OUT   render IN (WAV, AIFF) to OUT (32-bit float WAV)\n"
         "  --control NAME|NUMBER=TEXT  set a control from its text before rendering\n"
         "  --bypass                  the master bypass on\n"
         "  --chunk-in F              restore the session chunk F before rendering\n"
         "  --chunk-out F             save the session chunk to F at the end\n"
         "  --editor OUT.png          open the editor and write what it shows\n"
         "  --list-controls           every control: number, id, name, kind, value\n"
         "\n"
         "An input may be a pipe or a FIFO, read to its end first. An output that is a\n"
         "regular file is replaced whole once everything is complete; a character\n"
         "device or a FIFO (/dev/null, a named pipe) is then written through, never\n"
         "replaced. An output that is an input, two outputs that are one file, and an\n"
         "output whose extension names another format (--output out.aiff) are refused\n"
         "before any work.\n";
}

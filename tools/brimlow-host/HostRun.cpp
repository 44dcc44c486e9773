#include "tools/brimlow-host/HostRun.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/protools/HostWords.h"
#include "platform/windowserver/ScreenWindow.h"
#include "rtas/library/FourCC.h"
#include "rtas/library/HostRecords.h"
#include "tools/AlignedRender.h"
#include "tools/AtomicFile.h"
#include "tools/CommandError.h"
#include "tools/FileAudioSource.h"
#include "tools/FileBytes.h"
#include "tools/Interruption.h"
#include "tools/NumberArgument.h"
#include "tools/OutputFiles.h"
#include "tools/PngWriter.h"
#include "tools/WavWriter.h"
#include "tools/brimlow-host/HostEditor.h"
#include "tools/brimlow-host/HostOptions.h"
#include "tools/brimlow-host/HostRenderer.h"
#include "tools/brimlow-host/StandInHost.h"

namespace {

constexpr int32_t kDefaultRate = 44100;
constexpr int32_t kBypassControl = 1;
constexpr int32_t kBypassOn = 0x7fffffff;
constexpr uint8_t kHostPattern = 0xC3;
constexpr size_t kHostBytesStart = 28;

std::string FourCCText(uint32_t code) {
  std::string text(4, ' ');
  for (int i = 0; i < 4; ++i) text[i] = static_cast<char>((code >> (24 - 8 * i)) & 0xff);
  return text;
}

uint32_t TypeForLayout(const std::string& layout) { return layout == "1-1" ? FourCC("EFN1") : FourCC("EFN2"); }

uint32_t ReadWord(const uint8_t* bytes, size_t offset) {
  uint32_t word = 0;
  std::memcpy(&word, bytes + offset, sizeof(word));
  return word;
}

// One instance made for the session, removed when it goes.
struct Session {
  StandInHost& host;
  uint32_t type;
  int32_t instance;
};

int32_t ChunkID(const Session& s) {
  int32_t count = 0;
  if (const int32_t result = s.host.Call<uint32_t, int32_t, int32_t*>(62, s.type, s.instance, &count)) {
    throw CommandError("counting the chunks failed (" + std::to_string(result) + ")");
  }
  if (count < 1) throw CommandError("the plug-in offers no chunk");
  uint32_t id = 0;
  if (const int32_t result = s.host.Call<uint32_t, int32_t, int32_t, uint32_t*>(63, s.type, s.instance, 1, &id)) {
    throw CommandError("the first chunk's id failed (" + std::to_string(result) + ")");
  }
  return static_cast<int32_t>(id);
}

void RestoreChunk(const Session& s, const std::string& path, FILE* out) {
  std::vector<uint8_t> bytes = ReadFileBytes(path);
  // A host never hands over fewer bytes than the chunk says it holds.
  if (bytes.size() < 4) throw CommandError(path + ": not a chunk (shorter than its size word)");
  const int32_t total = static_cast<int32_t>(ReadWord(bytes.data(), 0));
  if (total > 0 && static_cast<size_t>(total) > bytes.size()) {
    throw CommandError(path + ": the chunk says " + std::to_string(total) + " bytes but the file holds " +
                       std::to_string(bytes.size()));
  }
  // The header's room is always there, whatever the size word says.
  if (bytes.size() < hostwords::kChunkHeaderBytes) bytes.resize(hostwords::kChunkHeaderBytes, 0);
  const uint32_t id = static_cast<uint32_t>(ChunkID(s));
  auto* chunk = reinterpret_cast<SFicPlugInChunk*>(bytes.data());
  const int32_t restored =
      s.host.Call<uint32_t, int32_t, uint32_t, SFicPlugInChunk*>(67, s.type, s.instance, id, chunk);
  uint8_t equal = 0;
  const int32_t compared = s.host.Call<uint32_t, int32_t, SFicPlugInChunk*, uint8_t*>(128, s.type, s.instance,
                                                                                     chunk, &equal);
  std::fprintf(out, "chunk restore: %d\n", restored);
  if (compared != 0) std::fprintf(out, "chunk compare: %d\n", compared);
  std::fprintf(out, "chunk equal: %d\n", equal ? 1 : 0);
}

std::vector<uint8_t> SaveChunk(const Session& s, FILE* out) {
  const uint32_t id = static_cast<uint32_t>(ChunkID(s));
  int32_t size = 0;
  if (const int32_t result = s.host.Call<uint32_t, int32_t, uint32_t, int32_t*>(65, s.type, s.instance, id, &size)) {
    throw CommandError("the chunk's size failed (" + std::to_string(result) + ")");
  }
  if (size < static_cast<int32_t>(hostwords::kChunkHeaderBytes)) {
    throw CommandError("the chunk's size " + std::to_string(size) + " is below its header");
  }
  // The host's buffer as the host makes it: its own bytes everywhere, and
  // room for exactly the size reported.
  std::vector<uint8_t> bytes(static_cast<size_t>(size), kHostPattern);
  auto* chunk = reinterpret_cast<SFicPlugInChunk*>(bytes.data());
  if (const int32_t result = s.host.Call<uint32_t, int32_t, uint32_t, SFicPlugInChunk*>(66, s.type, s.instance, id,
                                                                                        chunk)) {
    throw CommandError("getting the chunk failed (" + std::to_string(result) + ")");
  }
  for (size_t i = kHostBytesStart; i < hostwords::kChunkHeaderBytes; ++i) {
    if (bytes[i] != kHostPattern) throw CommandError("the plug-in wrote into the host's bytes of the chunk header");
  }
  if (static_cast<int32_t>(ReadWord(bytes.data(), 0)) != size) {
    throw CommandError("the chunk's size word disagrees with its reported size");
  }
  std::fprintf(out, "chunk: %s %d bytes\n", FourCCText(id).c_str(), size);
  return bytes;
}

// "NAME=TEXT" or "NUMBER=TEXT": the control's own text reading, then 46.
void ApplyControl(StandInHost& host, const Session& s, const std::string& setting) {
  const size_t eq = setting.find('=');
  const std::string key = setting.substr(0, eq);
  const std::string text = setting.substr(eq + 1);
  const int32_t count = host.ControlCount(s.type, s.instance);
  long long number = 0;
  int32_t control = 0;
  if (ParseIntegerArgument(key, 1, count, &number)) {
    control = static_cast<int32_t>(number);
  } else {
    control = host.FindControl(s.type, s.instance, key);
  }
  if (control == 0) throw CommandError("--control: no control \"" + key + "\"");
  int32_t value = 0;
  if (const int32_t result = host.TextToValue(s.type, s.instance, control, text, &value)) {
    throw CommandError("--control: \"" + text + "\" is no value of " + key + " (" + std::to_string(result) + ")");
  }
  if (const int32_t result = host.SetControlValue(s.type, s.instance, control, value)) {
    throw CommandError("--control: setting " + key + " failed (" + std::to_string(result) + ")");
  }
}

void ListControls(StandInHost& host, const Session& s, FILE* out) {
  const int32_t count = host.ControlCount(s.type, s.instance);
  for (int32_t n = 1; n <= count; ++n) {
    int32_t continuous = 0, steps = 0;
    host.Call<uint32_t, int32_t, int32_t, int32_t*>(88, s.type, s.instance, n, &continuous);
    host.Call<uint32_t, int32_t, int32_t, int32_t*>(42, s.type, s.instance, n, &steps);
    const std::string value = host.ValueText(s.type, s.instance, n, host.ControlValue(s.type, s.instance, n));
    std::fprintf(out, "%d\t%s\t%s %d\t%s\n", n, host.ControlName(s.type, s.instance, n).c_str(),
                 continuous ? "continuous" : "discrete", steps, value.c_str());
  }
  std::fprintf(out, "controls: %d\n", count);
}

}  // namespace

int RunStandInHost(const HostOptions& options, FILE* out) {
  // Every output is checked and gets its temporary file before any work.
  OutputFiles outputs;
  WavWriter writer;
  AtomicFile chunkFile, picture;
  if (options.output) outputs.Add("--output", *options.output, [&] { return writer.Commit(); });
  if (options.chunkOut) outputs.Add("--chunk-out", *options.chunkOut, [&] { return chunkFile.Commit(); });
  if (options.editor) outputs.Add("--editor", *options.editor, [&] { return picture.Commit(); });

  std::unique_ptr<FileAudioSource> source;
  if (options.input) source = std::make_unique<FileAudioSource>(*options.input);
  const std::string layout = options.layout ? *options.layout : (source && source->Channels() == 1 ? "1-1" : "2-2");
  const int channels = layout == "1-1" ? 1 : 2;
  if (source && source->Channels() != channels) {
    throw CommandError("--layout " + layout + " needs " + (channels == 1 ? "a mono" : "a stereo") + " input");
  }
  const int32_t rate = options.rate ? *options.rate : source ? static_cast<int32_t>(source->SampleRate()) : kDefaultRate;

  std::string leftovers;
  {
    StandInHost host(options.bundle.empty() ? StandInHost::DefaultBundle() : options.bundle, options.quantum,
                     options.linked);
    host.Start(rate);
    const Session session{host, TypeForLayout(layout), host.CreateInstance(TypeForLayout(layout))};

    if (options.chunkIn) RestoreChunk(session, *options.chunkIn, out);
    for (const std::string& setting : options.controls) ApplyControl(host, session, setting);
    if (options.bypass) host.SetControlValue(session.type, session.instance, kBypassControl, kBypassOn);
    if (options.listControls) ListControls(host, session, out);

    std::unique_ptr<HostEditor> editor;
    if (options.editor) editor = std::make_unique<HostEditor>(host, session.type, session.instance);

    if (source) {
      if (!writer.Open(options.output->c_str(), channels, source->SampleRate(), 32)) {
        throw CommandError(OutputError(*options.output, errno));
      }
      HostRenderer renderer(host, session.type, session.instance, channels, [&](int frames) {
        if (editor) editor->Advance(frames / static_cast<double>(rate));
      });
      int writeErrno = 0;
      AlignedRender render(renderer, channels, renderer.BlockFrames(), true,
                           [&](const double* const* planes, size_t frames) {
                             errno = 0;
                             if (writer.WriteFrames(planes, frames)) return true;
                             writeErrno = errno != 0 ? errno : EFBIG;
                             return false;
                           });
      const float* const* window = nullptr;
      bool written = true;
      while (written) {
        StopIfInterrupted();
        const size_t frames = source->Next(&window);
        if (frames == 0) break;
        written = render.Push(window, frames);
      }
      written = written && render.Finish();
      if (!written) throw CommandError(OutputError(*options.output, writeErrno));
      if (!writer.Finish()) throw CommandError(OutputError(*options.output, errno));
      if (renderer.FailedCalls() > 0) {
        throw CommandError("the plug-in failed " + std::to_string(renderer.FailedCalls()) + " render calls");
      }
      std::fprintf(out, "latency: %d\n", renderer.Latency());
    }

    if (editor) {
      const platform::ScreenWindow& screen = editor->Screen();
      const int width = screen.PixelWidth(), height = screen.PixelHeight();
      if (!picture.Open(options.editor->c_str())) throw CommandError(OutputError(*options.editor, errno));
      errno = 0;
      if (!WriteXRGBAsPNG(picture.File(), screen.Pixels(), width, height, screen.RowBytes()) || !picture.Finish()) {
        throw CommandError(OutputError(*options.editor, errno != 0 ? errno : EIO));
      }
      std::fprintf(out, "editor: %d x %d\n", editor->Width(), editor->Height());
      editor.reset();
    }

    if (options.chunkOut) {
      const std::vector<uint8_t> chunk = SaveChunk(session, out);
      if (!chunkFile.Open(options.chunkOut->c_str()) || !chunkFile.Write(chunk.data(), chunk.size()) ||
          !chunkFile.Finish()) {
        throw CommandError(OutputError(*options.chunkOut, errno));
      }
    }
    leftovers = host.Close();
  }
  if (!leftovers.empty()) throw CommandError(leftovers);
  outputs.CommitAll();
  std::fprintf(out, "closed: 0\n");
  return 0;
}

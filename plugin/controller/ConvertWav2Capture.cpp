#include "plugin/controller/ConvertWav2Capture.h"

#include <algorithm>
#include <vector>

#include "framework/Utilities.h"
#include "framework/containers/WDL_String.h"
#include "plugin/controller/AudioFileReader.h"
#include "plugin/controller/AudioFileResult.h"
#include "plugin/controller/ReferenceCapture.h"

namespace {

constexpr double kCaptureBins = 16384.0;
constexpr double kSixthOctaveBands = 3.0;
constexpr int kReferenceResolution = 2;
// ProcessSpectrumOnly counts frames in an int.
constexpr uint32_t kLargestWindowFrames = 1u << 24;
constexpr int kStatusLimit = 255;

void SetStatus(WDL_String* status, const char* text) {
  if (status) status->SetFormatted(kStatusLimit, "%s", text);
}

// Loads frames start .. start + count - 1 of every channel into `samples`.
// The file is opened anew for each window; a file that changed since its
// header was read (other layout, fewer frames) fails here.
bool LoadWindow(AudioFileReader& reader, const char* path, uint32_t start, uint32_t count, uint16_t channels,
                uint32_t sampleRate, std::vector<double>* samples) {
  if (reader.OpenAudioFile(path, start, count, false) != kAudioFileOk) return false;
  if (reader.GetFrameCount() != count || reader.GetChannelCount() != channels ||
      reader.GetSampleRate() != sampleRate) {
    return false;
  }
  for (uint16_t c = 0; c < channels; ++c) {
    const float* block = reader.GetChannelData(c, false);
    if (!block) return false;
    std::copy(block, block + count, samples[c].begin());
  }
  return true;
}

}  // namespace

std::unique_ptr<CMFFT> ConvertWav2Capture(const char* path, WDL_String* captureStatus, uint32_t windowFrames) {
  SetStatus(captureStatus, "");
  // The header alone first: the samples come window by window below.
  AudioFileReader reader;
  if (reader.OpenAudioFile(path, 0, 0, true) != kAudioFileOk) {
    SetStatus(captureStatus, "Error: file corrupt or unsupported!");
    return nullptr;
  }
  const uint32_t sampleRate = reader.GetSampleRate();
  const uint16_t channels = reader.GetChannelCount();
  const uint32_t frames = reader.GetFrameCount();
  Trace("ConvertWav2Capture", "Name      : %s\n", path);
  Trace("ConvertWav2Capture", "Samplerate: %.1lf\n", static_cast<double>(sampleRate));
  Trace("ConvertWav2Capture", "Channels  : %d\n", static_cast<int>(channels));
  Trace("ConvertWav2Capture", "Frames    : %d\n", static_cast<int>(frames));
  if (channels > 2) {
    SetStatus(captureStatus, "Error: channel count > 2!");
    return nullptr;
  }

  auto fft = std::make_unique<CMFFT>();
  fft->SetNumInputChannels(channels);
  fft->SetNumOutputChannels(channels);
  fft->SetSampleRate(static_cast<double>(sampleRate));
  fft->SetParameter(0, kCaptureBins);
  fft->SetParameter(1, kSixthOctaveBands);
  fft->SetParameter(2, 0.0);

  if (frames > 0) {
    const uint32_t window = std::min({windowFrames > 0 ? windowFrames : kCaptureWindowFrames,
                                      kLargestWindowFrames, frames});
    std::vector<double> samples[2];
    double* in[2] = {nullptr, nullptr};
    for (uint16_t c = 0; c < channels; ++c) {
      samples[c].resize(window);
      in[c] = samples[c].data();
    }
    // A file that fits one window is loaded once however often it is pushed.
    const bool oneWindow = window == frames;
    bool loaded = false;
    uint64_t pushed = 0;
    do {
      uint32_t start = 0;
      while (start < frames) {
        const uint32_t count = std::min(window, frames - start);
        if (!(oneWindow && loaded)) {
          if (!LoadWindow(reader, path, start, count, channels, sampleRate, samples)) {
            SetStatus(captureStatus, "Error: file corrupt or unsupported!");
            return nullptr;
          }
          loaded = true;
        }
        fft->ProcessSpectrumOnly(in, nullptr, static_cast<int>(count));
        pushed += count;
        start += count;
      }
    } while (pushed < kCaptureMinimumFrames);
  }

  if (fft->GetInfoDouble(9) == 0.0) {
    SetStatus(captureStatus, "Error: no frames detected!");
    return nullptr;
  }
  SetStatus(captureStatus, "Success!");
  return fft;
}

bool MakeReferenceFromAudioFile(const char* path, ReferenceCapture* reference, WDL_String* captureStatus,
                                uint32_t windowFrames) {
  if (!reference) return false;
  const std::unique_ptr<CMFFT> fft = ConvertWav2Capture(path, captureStatus, windowFrames);
  if (!fft) return false;
  const int bins = fft->GetBinCount();
  const double* average = reinterpret_cast<const double*>(fft->GetInfoInt(6));
  const int n = fft->InitBandTable(kReferenceResolution);
  // A conversion that reported success but yields no reference (a float
  // file holding a NaN or an infinity spreads it over every band) is no
  // success: the message shown after the load must say so.
  const auto refuse = [captureStatus] {
    SetStatus(captureStatus, "Error: file corrupt or unsupported!");
    return false;
  };
  if (!average || n != ReferenceCapture::GetCount()) return refuse();
  std::vector<double> frequencies(n);
  // MapBinsToBands skips the points it cannot measure; starting from zeros
  // keeps them empty rather than holding an earlier reference's values.
  std::vector<double> magnitudes(n, 0.0);
  fft->GetBandFrequencies(kReferenceResolution, frequencies.data());
  CMFFT::MapBinsToBands(average, bins, frequencies.data(), n, magnitudes.data(), fft->GetSampleRate());
  return reference->Set(frequencies.data(), magnitudes.data(), n) || refuse();
}

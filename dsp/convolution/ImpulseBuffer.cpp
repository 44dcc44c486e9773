#include "dsp/convolution/ImpulseBuffer.h"

#include <algorithm>
#include <cstring>

ImpulseBuffer::ImpulseBuffer() = default;

bool ImpulseBuffer::ResizeChannel(int channel, int n) {
  WDL_TypedBuf<double>& buf = samples[channel];
  const int old = buf.GetSize();
  buf.Resize(n, false);
  if (buf.GetSize() != n) return false;
  if (n > old) std::fill(buf.Get() + old, buf.Get() + n, 0.0);
  return true;
}

void ImpulseBuffer::ReleaseAll() {
  for (WDL_TypedBuf<double>& buf : samples) buf.Resize(0);
}

int ImpulseBuffer::SetLength(int n) {
  n = std::max(n, 0);
  for (int c = 0; c < nch; ++c) {
    if (!ResizeChannel(c, n)) {
      ReleaseAll();
      return 0;
    }
  }
  return samples[0].GetSize();
}

void ImpulseBuffer::SetNumChannels(int n) {
  n = std::min(std::max(n, 1), kMaxChannels);
  const int old = nch;
  nch = n;
  if (n <= old) {
    for (int c = n; c < kMaxChannels; ++c) samples[c].Resize(0);
    return;
  }
  const int length = samples[0].GetSize();
  for (int c = 0; c < n; ++c) {
    if (!ResizeChannel(c, length)) {
      ReleaseAll();
      return;
    }
  }
  for (int c = old, from = 0; c < n; ++c, from = (from + 1) % old) {
    if (length > 0) {
      std::memcpy(samples[c].Get(), samples[from].Get(), sizeof(double) * static_cast<size_t>(length));
    }
  }
}

int ImpulseBuffer::GetLength(int channel) const {
  if (channel < 0 || channel >= kMaxChannels) return 0;
  return samples[channel].GetSize();
}

double* ImpulseBuffer::GetSamples(int channel) {
  if (channel < 0 || channel >= kMaxChannels) return nullptr;
  return samples[channel].Get();
}

const double* ImpulseBuffer::GetSamples(int channel) const {
  if (channel < 0 || channel >= kMaxChannels) return nullptr;
  return samples[channel].Get();
}

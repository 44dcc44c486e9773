#pragma once

#include <string>
#include <vector>

#include "framework/IParam.h"
#include "graphics/IGraphics.h"
#include "plugin/controller/Brimlow.h"
#include "tests/plugin/controller/ScopedDataHome.h"

// What the host-behaviour tests do as a host would, through the plug-in
// object only.
namespace PlugHost {

// A host's automation of one parameter: under the plug mutex, the value
// stored (plain or normalised), the editor told, then the change handler.
inline void SetParam(Brimlow& plug, int idx, double value, bool normalized) {
  WDL_MutexLock lock(plug.GetMutex());
  IParam* param = plug.GetParam(idx);
  if (normalized) {
    param->SetNormalized(value);
  } else {
    param->Set(value);
  }
  if (IGraphics* graphics = plug.GetGUI()) graphics->SetParameterFromPlug(idx, param->Value(), false);
  plug.OnParamChange(idx);
}

// One host block of nFrames through the float block frame, processed or,
// when bypassed, passed through; in and out hold the connected channels.
inline void Render(Brimlow& plug, float* const* in, float* const* out, int nChannels, int nFrames, bool bypassed) {
  WDL_MutexLock lock(plug.GetMutex());
  float* inputs[2] = {in[0], nChannels > 1 ? in[1] : nullptr};
  float* outputs[2] = {out[0], nChannels > 1 ? out[1] : nullptr};
  plug.AttachInputBuffers(0, nChannels, inputs, nFrames);
  plug.AttachOutputBuffers(0, nChannels, outputs);
  if (bypassed) {
    plug.PassThroughBuffers(nFrames);
  } else {
    plug.ProcessBuffers(nFrames);
  }
}

// The state the host stores, as bytes; empty when the writer failed.
inline std::vector<unsigned char> SaveState(Brimlow& plug) {
  WDL_MutexLock lock(plug.GetMutex());
  ChunkBuffer chunk;
  if (!plug.SerializeState(&chunk)) return {};
  return std::vector<unsigned char>(chunk.GetData(), chunk.GetData() + chunk.Size());
}

// Hands the bytes back as the host's restore does; the reader's result.
inline int RestoreState(Brimlow& plug, const unsigned char* data, size_t size) {
  ChunkBuffer chunk;
  if (size > 0) chunk.PutBytes(data, static_cast<int>(size));
  WDL_MutexLock lock(plug.GetMutex());
  return plug.UnserializeStateAll(&chunk, 0);
}

inline int RestoreState(Brimlow& plug, const std::vector<unsigned char>& bytes) {
  return RestoreState(plug, bytes.data(), bytes.size());
}

}  // namespace PlugHost

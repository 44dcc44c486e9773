#pragma once

// What the engine asks of the plug-in object that owns it. The plug-in
// forwards these to its framework base; a test implements them directly.
// All calls come from the thread that runs the engine, under the plug-in's
// lock.
class EngineHost {
 public:
  virtual ~EngineHost() = default;

  // The latency the host was last told, in host samples.
  virtual int GetLatency() const = 0;
  // Tells the host a new latency. Called from the audio block, so the
  // implementation must not allocate (reserve the bypass delay line once).
  virtual void SetLatency(int samples) = 0;
  // The host id of the host table (0 unknown).
  virtual int GetHost() = 0;
  // True while the editor has asked the plug-in to slow its display work.
  virtual bool IsDisplayRefreshSuspended() = 0;
};

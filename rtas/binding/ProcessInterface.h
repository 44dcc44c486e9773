#pragma once

#include <cstdint>

class CPluginControl;
class IPlugCustomUI;
struct ITimeInfo;

// What the plug-in object's format wrapper (IPlugRTAS) may ask of the
// library process that owns it. The first group is the process's own
// interface to its plug-in; the rest are the process operations the
// wrapper reaches for block sizes, transport, the host's version, editor
// resizes, the change counter and the host-visible controls. Control
// numbers count from 1; control p + 2 stands for parameter p.
class ProcessInterface {
 public:
  virtual ~ProcessInterface() = default;

  virtual int32_t SetControlValue(int32_t control, int32_t value) = 0;
  virtual int32_t GetControlValue(int32_t control, int32_t* value) = 0;
  virtual int32_t GetControlDefaultValue(int32_t control, int32_t* value) = 0;
  virtual void SetCustomUI(IPlugCustomUI* ui) = 0;
  virtual int32_t TouchControl(int32_t control) = 0;
  virtual int32_t ReleaseControl(int32_t control) = 0;
  virtual void IdleAndYield() = 0;
  virtual int32_t GetProcessWord() = 0;
  virtual int16_t UseResourceFile() = 0;
  virtual void RestoreResourceFile(int16_t previous) = 0;

  // The host's largest block, in frames.
  virtual int GetHostBlockSize() = 0;
  virtual double GetTransportTempo() = 0;
  // Leaves the outputs alone when the host tells nothing.
  virtual void GetTransportTimeSig(int* numerator, int* denominator) = 0;
  virtual int64_t GetTransportSamplePos() = 0;
  virtual void GetTransportTime(ITimeInfo* timeInfo) = 0;
  // 0xMMmmp0-style packed version (see IPlugProcess).
  virtual int GetHostVersion() = 0;
  // The editor asks for a new size: close, rebuild, tell the host.
  virtual int32_t RequestResize(int width, int height, bool flag) = 0;
  virtual void BumpChangeCounter() = 0;
  // The control with that number, or null.
  virtual CPluginControl* FindControl(int32_t control) = 0;
};

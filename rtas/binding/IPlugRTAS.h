#pragma once

#include "framework/IPlugBase.h"

// The framework's wrapper between IPlugBase and a plug-in for the RTAS
// host format. Without a host process (as on Linux) the host notifications
// go nowhere and the transport reads as stopped.
class IPlugRTAS : public IPlugBase {
 public:
  IPlugRTAS(int nKeptParams, int nParams, const char* channelIOText, int nPresets, const char* effectName,
            const char* productName, const char* makerName, int version, int uniqueId, int makerId, int latency,
            bool flag1, bool flag2, bool flag3, int plugDoesMidi);
  ~IPlugRTAS() override;

  void NotifyHostParamBegin(int paramIdx) override;
  void NotifyHostParamValue(int paramIdx, double normalized) override;
  void NotifyHostParamEnd(int paramIdx) override;
  void NotifyHostAllParams() override;
  int GetSamplePos() override { return 0; }
  double GetTempo() override { return 0.0; }
  void GetTimeSig(int* numerator, int* denominator) override;
  void GetTime(ITimeInfo* timeInfo) override;
  bool ResizeGraphics(int width, int height, bool keepControls) override;
  // Identifies the host on first use: always Pro Tools in this format.
  int GetHost() override;

  // The host's version (0xMMmmpp) when a host process reports one.
  void SetHostProcessVersion(int version) { mHostProcessVersion = version; }

 private:
  int mNKeptParams;
  int mHostProcessVersion = 0;
};

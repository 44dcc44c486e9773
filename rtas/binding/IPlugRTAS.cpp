#include "rtas/binding/IPlugRTAS.h"

#include "framework/LatencyDelayLine.h"

IPlugRTAS::IPlugRTAS(int nKeptParams, int nParams, const char* channelIOText, int nPresets, const char* effectName,
                     const char* productName, const char* makerName, int version, int uniqueId, int makerId,
                     int latency, bool flag1, bool flag2, bool flag3, int)
    : IPlugBase(nParams, channelIOText, nPresets, effectName, productName, makerName, version, uniqueId, makerId,
                latency, flag1, flag2, flag3, kAPIRTAS),
      mNKeptParams(nKeptParams) {
  if (NInChannels() > 0) SetLatencyDelayLine(new LatencyDelayLine(NInChannels(), NOutChannels(), latency));
  SetInputChannelConnections(0, NInChannels(), true);
  SetOutputChannelConnections(0, NOutChannels(), true);
  SetBlockSize(1024);
}

IPlugRTAS::~IPlugRTAS() = default;

void IPlugRTAS::NotifyHostParamBegin(int) {}
void IPlugRTAS::NotifyHostParamValue(int, double) {}
void IPlugRTAS::NotifyHostParamEnd(int) {}

void IPlugRTAS::NotifyHostAllParams() {
  for (int i = 0; i < mNKeptParams && i < NParams(); ++i) {
    NotifyHostParamBegin(i);
    NotifyHostParamValue(i, GetParam(i)->GetNormalized());
    NotifyHostParamEnd(i);
  }
}

void IPlugRTAS::GetTimeSig(int* numerator, int* denominator) {
  if (numerator) *numerator = 4;
  if (denominator) *denominator = 4;
}

void IPlugRTAS::GetTime(ITimeInfo* timeInfo) {
  if (timeInfo) *timeInfo = ITimeInfo();
}

bool IPlugRTAS::ResizeGraphics(int, int, bool) { return false; }

int IPlugRTAS::GetHost() {
  if (mHost == -1) SetHost("ProTools", mHostProcessVersion ? mHostProcessVersion : 10);
  return mHost;
}

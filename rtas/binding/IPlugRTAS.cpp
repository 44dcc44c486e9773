#include "rtas/binding/IPlugRTAS.h"

#include <cstring>

#include "framework/LatencyDelayLine.h"
#include "graphics/IGraphics.h"
#include "rtas/binding/ParamControls.h"
#include "rtas/binding/ProcessInterface.h"
#include "rtas/library/CPluginControl.h"

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

void IPlugRTAS::AttachProcess(ProcessInterface* process) {
  mProcess = process;
  PruneUninitializedPresets();
  if (mProcess) SetBlockSize(mProcess->GetHostBlockSize());
}

void IPlugRTAS::ConnectChannels(int inputs, int outputs) {
  const int connectedIn = inputs + (mSideChain ? 1 : 0);
  for (int i = 0; i < NInChannels(); ++i) SetInputChannelConnections(i, 1, i < connectedIn);
  for (int i = 0; i < NOutChannels(); ++i) SetOutputChannelConnections(i, 1, i < outputs);
}

void IPlugRTAS::SetSideChainConnected(bool connected) {
  if (connected == mSideChain) return;
  ZeroScratchBuffers();
  mSideChain = connected;
}

void IPlugRTAS::ProcessAudio(float** inputs, float** outputs, int nFrames) {
  WDL_MutexLock lock(&mMutex);
  AttachInputBuffers(0, NInChannels(), inputs, nFrames);
  AttachOutputBuffers(0, NOutChannels(), outputs);
  mIsBypassed = false;
  ProcessBuffers(nFrames);
}

void IPlugRTAS::ProcessAudioBypassed(float** inputs, float** outputs, int nFrames) {
  WDL_MutexLock lock(&mMutex);
  AttachInputBuffers(0, NInChannels(), inputs, nFrames);
  AttachOutputBuffers(0, NOutChannels(), outputs);
  mIsBypassed = true;
  PassThroughBuffers(nFrames);
}

void IPlugRTAS::SetParameterFromHost(int control) {
  if (!mProcess) return;
  CPluginControl* hostControl = mProcess->FindControl(control);
  IParam* param = GetParam(control - 2);
  if (!hostControl || !param) return;
  const int paramIdx = control - 2;
  double value = paramcontrols::FromControlValue(*hostControl, *param);
  // A control value is coarser than a double: when it is the one the
  // parameter's own value maps to (the echo of an editor change or of a
  // restored state), the parameter keeps its exact value rather than the
  // control's rounding of it.
  if (paramcontrols::ToControlValue(*hostControl, *param, param->Value()) == hostControl->GetValue()) {
    value = param->Value();
  }
  WDL_MutexLock lock(&mMutex);
  if (IGraphics* graphics = GetGUI()) graphics->SetParameterFromPlug(paramIdx, value, false);
  param->Set(value);
  OnParamChange(paramIdx);
}

void IPlugRTAS::NotifyHostParamBegin(int paramIdx) {
  if (mProcess && mProcess->FindControl(paramIdx + 2)) mProcess->TouchControl(paramIdx + 2);
}

void IPlugRTAS::NotifyHostParamValue(int paramIdx, double) { NotifyHostParamValue(paramIdx); }

void IPlugRTAS::NotifyHostParamValue(int paramIdx) {
  if (!mProcess) return;
  CPluginControl* control = mProcess->FindControl(paramIdx + 2);
  IParam* param = GetParam(paramIdx);
  if (!control || !param) return;
  mProcess->SetControlValue(paramIdx + 2, paramcontrols::ToControlValue(*control, *param, param->Value()));
}

void IPlugRTAS::NotifyHostParamEnd(int paramIdx) {
  if (mProcess && mProcess->FindControl(paramIdx + 2)) mProcess->ReleaseControl(paramIdx + 2);
}

void IPlugRTAS::NotifyHostAllParams() {
  for (int i = 0; i < mNKeptParams && i < NParams(); ++i) {
    NotifyHostParamBegin(i);
    NotifyHostParamValue(i);
    NotifyHostParamEnd(i);
  }
}

int IPlugRTAS::GetSamplePos() { return mProcess ? static_cast<int>(mProcess->GetTransportSamplePos()) : 0; }

double IPlugRTAS::GetTempo() { return mProcess ? mProcess->GetTransportTempo() : 0.0; }

void IPlugRTAS::GetTimeSig(int* numerator, int* denominator) {
  if (mProcess) mProcess->GetTransportTimeSig(numerator, denominator);
}

void IPlugRTAS::GetTime(ITimeInfo* timeInfo) {
  if (mProcess && timeInfo) mProcess->GetTransportTime(timeInfo);
}

bool IPlugRTAS::ResizeGraphics(int width, int height, bool keepControls) {
  if (!mProcess) return false;
  mProcess->RequestResize(width, height, keepControls);
  return true;
}

int IPlugRTAS::GetHost() {
  if (mHost == -1) SetHost("ProTools", mProcess ? mProcess->GetHostVersion() : 10);
  return mHost;
}

void IPlugRTAS::MarkStateChanged() {
  if (mProcess) mProcess->BumpChangeCounter();
}

bool IPlugRTAS::CompareStateBytes(const uint8_t* data, int length) {
  if (!data || length < 0) return false;
  // The base reads one double per parameter; it is asked only when the
  // bytes hold them all.
  if (static_cast<long long>(length) >= static_cast<long long>(NParams()) * static_cast<long long>(sizeof(double))) {
    std::vector<double> values(static_cast<size_t>(NParams()));
    if (!values.empty()) std::memcpy(values.data(), data, values.size() * sizeof(double));
    if (CompareState(values.data(), 0)) return true;
  }
  ChunkBuffer current;
  if (!SerializeState(&current)) return false;
  return current.Size() == length && (length == 0 || std::memcmp(current.GetData(), data, length) == 0);
}

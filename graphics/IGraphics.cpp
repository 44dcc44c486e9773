#include "graphics/IGraphics.h"

#include <chrono>

#include "framework/IPlugBase.h"
#include "graphics/IControl.h"

IGraphics::IGraphics(IPlugBase* plug, int width, int height, int fps)
    : mPlug(plug), mWidth(width), mHeight(height), mFPS(fps > 0 ? fps : 25) {
  StartIdleThread();
}

IGraphics::~IGraphics() {
  StopIdleThread();
  mControls.Empty(true);
}

void IGraphics::PrepDraw() {}

bool IGraphics::NormalizeForParam(int paramIdx, double& value, bool normalized) const {
  if (normalized) return true;
  const IParam* param = mPlug ? mPlug->GetParam(paramIdx) : nullptr;
  if (!param) return false;
  value = param->ToNormalizedParam(value);
  return true;
}

void IGraphics::SetParameterFromPlug(int paramIdx, double value, bool normalized) {
  if (!NormalizeForParam(paramIdx, value, normalized)) return;
  for (int i = 0; i < mControls.GetSize(); ++i) {
    IControl* control = mControls.Get(i);
    if (control->ParamIdx() == paramIdx) control->SetValueFromPlug(value);
    for (int a = 0; a < control->NAuxParams(); ++a) {
      if (control->GetAuxParam(a)->mParamIdx == paramIdx) control->SetAuxParamValueFromPlug(a, value);
    }
  }
}

void IGraphics::SetParameterViaControls(int paramIdx, double value, bool normalized) {
  if (!NormalizeForParam(paramIdx, value, normalized)) return;
  for (int i = 0; i < mControls.GetSize(); ++i) {
    IControl* control = mControls.Get(i);
    if (control->ParamIdx() == paramIdx) control->SetValueFromUserInput(value);
  }
}

IControl* IGraphics::GetControlOfParam(int paramIdx) const {
  for (int i = 0; i < mControls.GetSize(); ++i) {
    IControl* control = mControls.Get(i);
    if (control && control->ParamIdx() == paramIdx) return control;
  }
  return nullptr;
}

void IGraphics::SetControlFromPlug(int controlIdx, double normalizedValue) {
  if (IControl* control = mControls.Get(controlIdx)) control->SetValueFromPlug(normalizedValue);
}

int IGraphics::AttachControl(IControl* control) {
  if (!mControls.Add(control)) {
    delete control;
    return -1;
  }
  return mControls.GetSize() - 1;
}

void IGraphics::StartIdleThread() {
  if (mIdleRunning.exchange(true)) return;
  mIdleStopSignalled = false;
  mIdleThread = std::thread(&IGraphics::IdleThreadBody, this);
}

void IGraphics::StopIdleThread() {
  if (!mIdleRunning.exchange(false)) return;
  {
    std::lock_guard<std::mutex> lock(mIdleMutex);
    mIdleStopSignalled = true;
  }
  mIdleWake.notify_all();
  if (mIdleThread.joinable()) mIdleThread.join();
}

void IGraphics::IdleThreadBody() {
  std::unique_lock<std::mutex> lock(mIdleMutex);
  while (!mIdleStopSignalled) {
    // Wakes early only to stop, so teardown never waits out a tick.
    if (mIdleWake.wait_for(lock, std::chrono::milliseconds(10), [this] { return mIdleStopSignalled; })) break;
    lock.unlock();
    if (mPlug) mPlug->OnIdleThreadTick();
    lock.lock();
  }
}

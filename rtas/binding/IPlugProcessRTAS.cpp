#include "rtas/binding/IPlugProcessRTAS.h"

#include "framework/containers/WDL_Mutex.h"
#include "rtas/binding/IPlugRTAS.h"

IPlugProcessRTAS::IPlugProcessRTAS(uint32_t uniqueID) : IPlugProcess(uniqueID) {
  if (IPlugRTAS* plug = GetPlug()) plug->AttachProcess(this);
}

IPlugProcessRTAS::~IPlugProcessRTAS() = default;

int32_t IPlugProcessRTAS::GetControlAutomatable(int32_t control, int16_t* automatable) {
  if (!automatable) return 0;
  if (control == kBypassControl) {
    *automatable = 1;
  } else if (CPluginControl* c = FindControl(control)) {
    *automatable = c->IsAutomatable() ? 1 : 0;
  } else {
    *automatable = 0;
  }
  return 0;
}

int32_t IPlugProcessRTAS::GetPlugLatency(int32_t* samples) {
  if (!samples) return 0;
  IPlugRTAS* plug = GetPlug();
  if (!plug) {
    *samples = 0;
    return 0;
  }
  // The audio thread's blocks move the latency.
  WDL_MutexLock lock(plug->GetMutex());
  *samples = plug->GetLatency();
  return 0;
}

void IPlugProcessRTAS::RenderAudio(float** inputs, float** outputs, int32_t frames) {
  IPlugRTAS* plug = GetPlug();
  if (!plug) return;
  // The connections are read by host calls too (a new rate resets the
  // plug-in for its channel counts): they change only under the mutex.
  WDL_MutexLock lock(plug->GetMutex());
  plug->ConnectChannels(GetInputChannels(), GetOutputChannels());
  if (IsBypassedByControl()) {
    plug->ProcessAudioBypassed(inputs, outputs, frames);
  } else {
    plug->ProcessAudio(inputs, outputs, frames);
  }
}

int IPlugProcessRTAS::GetHostBlockSize() { return QueryMaxRTASQuantum(); }

double IPlugProcessRTAS::GetTransportTempo() { return 0.0; }

void IPlugProcessRTAS::GetTransportTimeSig(int*, int*) {}

int64_t IPlugProcessRTAS::GetTransportSamplePos() { return 0; }

void IPlugProcessRTAS::GetTransportTime(ITimeInfo*) {}

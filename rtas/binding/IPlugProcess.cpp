#include "rtas/binding/IPlugProcess.h"

#include <cstring>

#include "framework/containers/ChunkBuffer.h"
#include "graphics/IGraphics.h"
#include "platform/hitoolbox/MacWindows.h"
#include "plugin/controller/Brimlow.h"
#include "rtas/binding/CNoResourceView.h"
#include "rtas/binding/IPlugCustomUI.h"
#include "rtas/binding/IPlugDigiView.h"
#include "rtas/binding/IPlugRTAS.h"
#include "rtas/binding/ParamControls.h"
#include "rtas/binding/PlugInViewRoot.h"
#include "rtas/binding/StateChunk.h"
#include "rtas/library/CPluginControl_OnOff.h"
#include "rtas/library/CProcessGroup.h"
#include "rtas/library/DAEFunctions.h"
#include "rtas/library/DirectMIDIClient.h"
#include "rtas/library/FourCC.h"
#include "rtas/views/CViewGroupServices.h"
#include "rtas/views/ViewFactory.h"

namespace {

constexpr const char* kBypassNames = "Master Bypass\nMastrByp\nMByp\nByp";

// The window-resize request to the engine: 'SETV' 'WNRS' from 'DGDN' in
// the 'Proc' protocol, no payload.
void PostWindowResize(int32_t destination) {
  uint8_t token[hostwords::kTokenHeaderBytes] = {};
  auto put = [&](size_t offset, uint32_t word) { std::memcpy(token + offset, &word, sizeof(word)); };
  put(hostwords::kTokenDestination, static_cast<uint32_t>(destination));
  put(hostwords::kTokenType, FourCC("SETV"));
  put(hostwords::kTokenSubType, FourCC("WNRS"));
  put(hostwords::kTokenManufacturer, FourCC("DGDN"));
  put(hostwords::kTokenProtocol, FourCC("Proc"));
  put(hostwords::kTokenDestinationAgain, static_cast<uint32_t>(destination));
  const uint16_t length = hostwords::kTokenHeaderBytes;
  std::memcpy(token + hostwords::kTokenLength, &length, sizeof(length));
  FicSDSDispatchToken(token);
}

}  // namespace

IPlugProcess::IPlugProcess(uint32_t uniqueID) : mChunkID(uniqueID) { mPlug.reset(MakePlug()); }

IPlugProcess::~IPlugProcess() {
  if (mCustomUI) mCustomUI->Close();
  mCustomUI.reset();
  mCustomView = nullptr;
  UnregisterDirectMIDIClient(this);
  if (mPlug) mPlug->DetachProcess();
  mPlug.reset();
}

// ---- Controls --------------------------------------------------------------------

void IPlugProcess::InitControls() {
  if (!mPlug) return;
  AddControl(new CPluginControl_OnOff(kBypassControlID, kBypassNames, 0, true, "On", "Off"));
  SetMasterBypassControl(kBypassControl);
  for (int p = 0; p < mPlug->NParams(); ++p) {
    AddControl(paramcontrols::MakeParamControl(*mPlug->GetParam(p), p, true).release());
  }
  mPlug->ConnectChannels(GetInputChannels(), GetOutputChannels());
  mPlug->SetSampleRate(static_cast<double>(GetSampleRate()));
  mPlug->Reset();
}

CPluginControl* IPlugProcess::FindControl(int32_t control) {
  return IsValidControlIndex(control) ? GetControl(control) : nullptr;
}

int32_t IPlugProcess::SetControlValue(int32_t control, int32_t value) {
  if (CPluginControl* c = FindControl(control)) c->SetValue(value);
  return CEffectProcessRTAS::SetControlValue(control, value);
}

int32_t IPlugProcess::GetControlValue(int32_t control, int32_t* value) {
  return CEffectProcessRTAS::GetControlValue(control, value);
}

int32_t IPlugProcess::GetControlDefaultValue(int32_t control, int32_t* value) {
  return CEffectProcessRTAS::GetControlDefaultValue(control, value);
}

int32_t IPlugProcess::TouchControl(int32_t control) { return CEffectProcessRTAS::TouchControl(control); }

int32_t IPlugProcess::ReleaseControl(int32_t control) { return CEffectProcessRTAS::ReleaseControl(control); }

void IPlugProcess::ControlValueChanged(int32_t control) {
  if (mPlug && FindControl(control) && control != GetMasterBypassIndex()) mPlug->SetParameterFromHost(control);
}

void IPlugProcess::PushParamsToControls() {
  for (int p = 0; p < mPlug->NParams(); ++p) {
    CPluginControl* control = FindControl(p + 2);
    const IParam* param = mPlug->GetParam(p);
    if (control && param) SetControlValue(p + 2, paramcontrols::ToControlValue(*control, *param, param->Value()));
  }
}

void IPlugProcess::SetCustomUI(IPlugCustomUI* ui) {
  if (ui != mCustomUI.get()) mCustomUI.reset(ui);
}

// ---- Idle, host, group ----------------------------------------------------------

void IPlugProcess::DoIdle() {
  PollControlMessages();
  if (mPlug) mPlug->OnIdle();
}

void IPlugProcess::IdleAndYield() {
  Idle(nullptr);
  YieldViewGroupLock();
}

int16_t IPlugProcess::UseResourceFile() { return CProcessGroup::UseResourceFile(); }

void IPlugProcess::RestoreResourceFile(int16_t previous) { CProcessGroup::RestoreResourceFile(previous); }

int IPlugProcess::GetHostVersion() {
  const int32_t v = static_cast<int32_t>(static_cast<int16_t>(FicGetVersion())) * 16;
  return (v & 0xff0) | ((v & 0xff000) * 10);
}

int32_t IPlugProcess::GetFocusedControl(const Point&, int32_t* control) {
  IGraphics* graphics = GetPlugGraphics();
  const int idx = graphics ? graphics->TakeParamIdxAtPoint() : -1;
  if (control) *control = idx < 0 ? 0 : idx + 2;
  return 0;
}

int32_t IPlugProcess::SetSampleRate(int32_t sampleRateHz) {
  const int32_t result = CEffectProcessRTAS::SetSampleRate(sampleRateHz);
  if (mPlug && IsReady() && static_cast<double>(sampleRateHz) != mPlug->GetSampleRate()) {
    mPlug->SetSampleRate(static_cast<double>(sampleRateHz));
    mPlug->Reset();
  }
  return result;
}

void IPlugProcess::SideChainConnected() {
  CEffectProcessRTAS::SideChainConnected();
  if (mPlug) mPlug->SetSideChainConnected(true);
}

void IPlugProcess::SideChainDisconnected() {
  CEffectProcessRTAS::SideChainDisconnected();
  if (mPlug) mPlug->SetSideChainConnected(false);
}

IGraphics* IPlugProcess::GetPlugGraphics() const { return mPlug ? mPlug->GetGUI() : nullptr; }

// ---- Editor ------------------------------------------------------------------------

void IPlugProcess::RefreshViewRect() {
  int16_t left = 0, top = 0, right = 0, bottom = 0;
  mCustomUI->GetRect(&left, &top, &right, &bottom);
  mViewRect = Rect{top, left, bottom, right};
}

CPlugInView* IPlugProcess::CreateCustomView() {
  if (!mPlug) return nullptr;
  try {
    if (!mCustomUI) mCustomUI.reset(CreateCustomUI(this));
    RefreshViewRect();
  } catch (...) {
    mCustomUI.reset();
    return nullptr;
  }
  std::unique_ptr<CNoResourceView> container;
  try {
    container = std::make_unique<CNoResourceView>();
    SetViewSize(container.get(), mViewRect.right, mViewRect.bottom);
    CPlugInView* child = CreateViewFromDescription(container.get(), IPlugDigiView::kDescription, 0, 0,
                                                   mViewRect.right, mViewRect.bottom, true);
    mCustomView = dynamic_cast<IPlugDigiView*>(child);
    if (mCustomView) mCustomView->SetDigiView(mCustomUI.get());
  } catch (...) {
    mCustomUI.reset();
    mCustomView = nullptr;
    return nullptr;
  }
  return container.release();
}

CProcessView* IPlugProcess::CreateView() {
  CPlugInView* container = CreateCustomView();
  // The library keeps a root view whatever happens; without the editor's
  // it is an empty container and the host shows no editor.
  if (!container) container = new CNoResourceView;
  return new PlugInViewRoot(container);
}

int32_t IPlugProcess::GetViewRect(Rect* frame) {
  if (!mPlug) return 0;
  if (!mCustomUI) mCustomUI.reset(CreateCustomUI(this));
  RefreshViewRect();
  if (frame) *frame = mViewRect;
  return 0;
}

int32_t IPlugProcess::SetViewPort(OpaqueGrafPtr* port) {
  mPort = port;
  const int32_t result = CEffectProcessRTAS::SetViewPort(port);
  if (!port) {
    if (mCustomUI) mCustomUI->Close();
    if (mCustomView) mCustomView->SetHilite(false);
  } else if (mCustomUI) {
    // A port while the editor is open replaces the window: close the old
    // one first, or its views would be left attached.
    if (mCustomUI->IsOpen()) mCustomUI->Close();
    mCustomUI->Open(GetWindowFromPort(port), mEditorOrigin.h, mEditorOrigin.v);
  }
  return result;
}

int32_t IPlugProcess::RequestResize(int, int, bool flag) {
  if (mCustomUI) mCustomUI->Close();
  if (mPlug) mPlug->RebuildGUI(flag ? 1 : 0);
  // The host reopens its window on this message. It goes to the engine
  // whether or not the library is linked to it (unlinked, to no one in
  // particular), so an unlinked host hears it too.
  PostWindowResize(IsLinkedToEngine() ? InstanceNameID() : 0);
  return 0;
}

// ---- The state chunk -----------------------------------------------------------

int32_t IPlugProcess::CountChunks(int32_t* count) {
  if (count) *count = 1;
  return 0;
}

int32_t IPlugProcess::GetChunkIdAt(int32_t index, uint32_t* id) {
  if (index != 1) return statechunk::kChunkRefused;
  if (id) *id = mChunkID;
  return 0;
}

int32_t IPlugProcess::GetChunkSize(uint32_t id, int32_t* size) {
  mChunkCapacity = 0;
  if (id != mChunkID || !mPlug) return statechunk::kChunkRefused;
  ChunkBuffer state;
  if (!statechunk::Serialize(*mPlug, &state)) return statechunk::kChunkRefused;
  mChunkCapacity = state.Size() + statechunk::kHeaderBytes;
  if (size) *size = mChunkCapacity;
  return 0;
}

int32_t IPlugProcess::GetChunk(uint32_t id, SFicPlugInChunk* chunk) {
  if (id != mChunkID || !mPlug || !chunk) return statechunk::kChunkRefused;
  // The host's buffer is as large as the last size it was told; without
  // one its size is unknown.
  if (mChunkCapacity <= 0) return statechunk::kChunkRefused;
  ChunkBuffer state;
  if (!statechunk::Serialize(*mPlug, &state)) return statechunk::kChunkRefused;
  // A state that has grown since is refused, never swapped for an older one.
  if (state.Size() > mChunkCapacity - statechunk::kHeaderBytes) return statechunk::kChunkRefused;
  statechunk::Write(state, chunk);
  return 0;
}

int32_t IPlugProcess::SetChunk(uint32_t id, SFicPlugInChunk* chunk) {
  if (id != mChunkID || !mPlug || !chunk) return statechunk::kChunkRefused;
  bool accepted = false;
  if (statechunk::Restore(*mPlug, chunk, &accepted) != 0) return statechunk::kChunkRefused;
  // Refused or not, the host hears every value the parameters hold now.
  PushParamsToControls();
  if (!accepted) return statechunk::kChunkRefused;
  CProcess::BumpChangeCounter();
  return 0;
}

int32_t IPlugProcess::CompareChunk(SFicPlugInChunk* chunk, uint8_t* equal) {
  if (!chunk || !mPlug) return statechunk::kChunkRefused;
  if (statechunk::ReadWord(chunk, 20) != mChunkID) return statechunk::kChunkRefused;
  return statechunk::Compare(*mPlug, chunk, equal);
}

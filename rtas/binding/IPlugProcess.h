#pragma once

#include <cstdint>
#include <memory>

#include "rtas/binding/CEffectProcessRTAS.h"
#include "rtas/binding/ProcessInterface.h"

class CPlugInView;
class IGraphics;
class IPlugCustomUI;
class IPlugDigiView;
class IPlugRTAS;

// The library process that carries one plug-in object: it owns the
// object, shows the host one control per parameter after the master
// bypass (control p + 2 is parameter p), carries control values between
// the host and the parameters, keeps the one state chunk 'KB30', serves
// the idle poll and holds the editor in the host's window.
//
// The library's classes do not share a virtual base, so the layers stand
// in one line: CProcess, CDSPProcess, CEffectProcess, CEffectProcessRTAS,
// then this, then IPlugProcessRTAS, which renders.
class IPlugProcess : public CEffectProcessRTAS, public ProcessInterface {
 public:
  static constexpr uint32_t kBypassControlID = 0x62797061;  // 'bypa'
  static constexpr int32_t kBypassControl = 1;

  explicit IPlugProcess(uint32_t uniqueID);
  ~IPlugProcess() override;

  // ---- ProcessInterface ------------------------------------------------------
  // Stores the value in the control, then lets the library post it to the
  // engine (linked) or apply it at once, which reaches the parameter.
  int32_t SetControlValue(int32_t control, int32_t value) override;
  int32_t GetControlValue(int32_t control, int32_t* value) override;
  int32_t GetControlDefaultValue(int32_t control, int32_t* value) override;
  void SetCustomUI(IPlugCustomUI* ui) override;
  int32_t TouchControl(int32_t control) override;
  int32_t ReleaseControl(int32_t control) override;
  void IdleAndYield() override;
  int32_t GetProcessWord() override { return mProcessWord; }
  int16_t UseResourceFile() override;
  void RestoreResourceFile(int16_t previous) override;
  int GetHostVersion() override;
  int32_t RequestResize(int width, int height, bool flag) override;
  void BumpChangeCounter() override { CProcess::BumpChangeCounter(); }
  CPluginControl* FindControl(int32_t control) override;

  // ---- The library's process -------------------------------------------------
  void SetUpControls() override { InitControls(); }
  void ControlValueChanged(int32_t control) override;
  void DoIdle() override;
  int32_t GetFocusedControl(const Point& where, int32_t* control) override;
  // The rate reaches the plug-in, which starts again at it.
  int32_t SetSampleRate(int32_t sampleRateHz) override;
  void SideChainConnected() override;
  void SideChainDisconnected() override;

  // ---- Editor ------------------------------------------------------------------
  CProcessView* CreateView() override;
  int32_t GetViewRect(Rect* frame) override;
  int32_t SetViewPort(OpaqueGrafPtr* port) override;
  // The editor container with its one view, or null without a plug-in.
  CPlugInView* CreateCustomView();

  // ---- The state chunk -------------------------------------------------------
  int32_t CountChunks(int32_t* count) override;
  int32_t GetChunkIdAt(int32_t index, uint32_t* id) override;
  int32_t GetChunkSize(uint32_t id, int32_t* size) override;
  int32_t GetChunk(uint32_t id, SFicPlugInChunk* chunk) override;
  int32_t SetChunk(uint32_t id, SFicPlugInChunk* chunk) override;
  int32_t CompareChunk(SFicPlugInChunk* chunk, uint8_t* equal) override;

  // One control per parameter after the bypass, the plug-in's channels
  // connected, its rate set and its state reset.
  void InitControls();

  IPlugRTAS* GetPlug() const { return mPlug.get(); }
  IGraphics* GetPlugGraphics() const;
  IPlugCustomUI* GetCustomUI() const { return mCustomUI.get(); }
  IPlugDigiView* GetCustomView() const { return mCustomView; }
  OpaqueGrafPtr* GetPort() const { return mPort; }
  uint32_t GetChunkID() const { return mChunkID; }

 protected:
  // The host's direct-MIDI client, which would answer the transport; none
  // is ever given, so the transport reads as stopped.
  void* MIDIClient() const { return mMIDIClient; }

 private:
  // Every parameter's value shown on its control, as the host must hear.
  void PushParamsToControls();
  void RefreshViewRect();

  OpaqueGrafPtr* mPort = nullptr;
  std::unique_ptr<IPlugCustomUI> mCustomUI;
  Rect mViewRect{0, 0, 0, 0};
  Point mEditorOrigin{0, 0};
  IPlugDigiView* mCustomView = nullptr;
  std::unique_ptr<IPlugRTAS> mPlug;
  int32_t mProcessWord = 0;
  void* mMIDIClient = nullptr;
  uint32_t mChunkID;
  // The last chunk size the host was told (0 when none): the buffer it
  // hands the copy is that large, so the copy never writes past it.
  int32_t mChunkCapacity = 0;
};

#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "framework/containers/WDL_PtrList.h"
#include "framework/containers/WDL_String.h"
#include "graphics/IGraphicsStructs.h"

class IControl;
class IPlugBase;

// The platform-independent half of the editor: the control list, the
// binding of controls to parameters in both directions, the last mouse
// state, and a 10 ms idle thread for the plug-in. What touches a real
// window is supplied by the platform class (IGraphicsMac).
class IGraphics {
 public:
  IGraphics(IPlugBase* plug, int width, int height, int fps);
  // Stops the idle thread before anything else goes, then deletes every
  // control, last to first.
  virtual ~IGraphics();

  IGraphics(const IGraphics&) = delete;
  IGraphics& operator=(const IGraphics&) = delete;

  // Creates the drawing surface; the plug-in calls it when it attaches the
  // graphics object.
  virtual void PrepDraw();
  // Every control bound to the parameter (or listing it as auxiliary) takes
  // the value without notifying the plug-in.
  virtual void SetParameterFromPlug(int paramIdx, double value, bool normalized);
  // As user input: each bound control sets the parameter, tells the host
  // and calls the plug-in's OnParamChange. No bound control: no change.
  void SetParameterViaControls(int paramIdx, double value, bool normalized);
  void SetControlFromPlug(int controlIdx, double normalizedValue);

  int AttachControl(IControl* control);
  IControl* GetControl(int idx) const { return mControls.Get(idx); }
  int NControls() const { return mControls.GetSize(); }
  // The first control bound to the parameter, or null.
  IControl* GetControlOfParam(int paramIdx) const;

  virtual int ShowMessageBox(const char* text, const char* caption, int type) = 0;
  virtual void PluginFolderPath(WDL_String* path) = 0;
  virtual void AppSupportPath(WDL_String* path) = 0;
  virtual void UpdateFPS(int fps) = 0;

  void StopIdleThread();
  bool IsIdleThreadRunning() const { return mIdleRunning.load(); }

  IPlugBase* GetPlug() const { return mPlug; }
  int Width() const { return mWidth; }
  int Height() const { return mHeight; }
  int FPS() const { return mFPS; }

  // The last mouse event, read by the plug-in's band edits and commands.
  bool mMouseDown = false;
  IMouseMod mLastMouseMod;
  bool mShowTooltips = false;
  bool mTooltipsActive = false;

 protected:
  IPlugBase* mPlug;
  int mWidth;
  int mHeight;
  int mFPS;
  WDL_PtrList<IControl> mControls;

 private:
  // Plain values are normalised by their parameter; false for a bad index.
  bool NormalizeForParam(int paramIdx, double& value, bool normalized) const;
  void StartIdleThread();
  void IdleThreadBody();

  std::thread mIdleThread;
  std::mutex mIdleMutex;
  std::condition_variable mIdleWake;
  bool mIdleStopSignalled = false;
  std::atomic<bool> mIdleRunning{false};
};

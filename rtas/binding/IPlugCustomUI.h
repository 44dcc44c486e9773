#pragma once

#include <cstdint>

class IGraphics;
class IPlugBase;
class IPlugProcess;

// What the process's editor view asks of the editor it shows.
class EditorInterface {
 public:
  virtual ~EditorInterface() = default;
  virtual int32_t Open(void* window, int16_t x, int16_t y) = 0;
  virtual int32_t Close() = 0;
  virtual void Draw(int32_t left, int32_t top, int32_t right, int32_t bottom) = 0;
  virtual void GetRect(int16_t* left, int16_t* top, int16_t* right, int16_t* bottom) = 0;
  virtual void Idle() {}
  virtual void Activate(bool) {}
  virtual void Query(int32_t, int32_t, int32_t, int32_t* answer) {
    if (answer) *answer = 0;
  }
};

// The framework's editor in the host's plug-in window: opens the plug-in's
// graphics in the window the host gives (its Carbon view), closes it when
// the window goes, and reports the editor's size. One per process, owned
// by it; the graphics belong to the plug-in and outlive every window.
class IPlugCustomUI : public EditorInterface {
 public:
  IPlugCustomUI(IPlugProcess* process, IPlugBase* plug, IGraphics* graphics);
  ~IPlugCustomUI() override;

  // Opens the editor at (x, y) of the window, marks every control dirty and
  // lets the plug-in fit the editor to its scale. 1, with or without
  // graphics.
  int32_t Open(void* window, int16_t x, int16_t y) override;
  // Closes an open editor. 1.
  int32_t Close() override;
  void Draw(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
  // (0, 0, width, height) of the graphics; nothing without them.
  void GetRect(int16_t* left, int16_t* top, int16_t* right, int16_t* bottom) override;

  bool IsOpen() const { return mWindow != nullptr; }
  void* Window() const { return mWindow; }
  IPlugProcess* Process() const { return mProcess; }

 private:
  IPlugProcess* mProcess;
  void* mWindow = nullptr;
  IPlugBase* mPlug;
  IGraphics* mGraphics;
};

IPlugCustomUI* CreateCustomUI(IPlugProcess* process);

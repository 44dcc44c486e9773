#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/IPopupMenu.h"
#include "graphics/IControl.h"
#include "graphics/IGraphics.h"
#include "tests/framework/TestPlug.h"

// A plug-in object with four parameters of the kinds the prompts tell
// apart, recording the host's begin and end notifications as "B<p>" and
// "E<p>" in the order they came.
class GraphicsTestPlug : public TestPlug {
 public:
  enum { kMode = 0, kFreq = 1, kBypass = 2, kLink = 3, kNumParams = 4 };

  GraphicsTestPlug() : TestPlug(kNumParams, "1-1") {
    IParam* mode = GetParam(kMode);
    mode->InitEnum("Mode", 1, 3);
    mode->SetDisplayText(0, "Low");
    mode->SetDisplayText(1, "Mid");
    mode->SetDisplayText(2, "High");
    GetParam(kFreq)->InitDouble("Freq", 1000.0, 0.0, 20000.0, 1.0, "Hz");
    IParam* bypass = GetParam(kBypass);
    bypass->SetType(IParam::kTypeBool);
    bypass->InitEnum("Bypass", 0, 2);
    bypass->SetDisplayText(0, "Off");
    bypass->SetDisplayText(1, "On");
    // A two-state parameter without display texts.
    GetParam(kLink)->SetType(IParam::kTypeBool);
    GetParam(kLink)->InitEnum("Link", 0, 2);
  }
  // The graphics object's idle thread and controls reach into this object.
  ~GraphicsTestPlug() override { DeleteGraphics(); }

  void NotifyHostParamBegin(int idx) override { mEdits.push_back("B" + std::to_string(idx)); }
  void NotifyHostParamValue(int idx, double normalized) override {
    TestPlug::NotifyHostParamValue(idx, normalized);
    mEdits.push_back("V" + std::to_string(idx));
  }
  void NotifyHostParamEnd(int idx) override { mEdits.push_back("E" + std::to_string(idx)); }
  bool ResizeGraphics(int width, int height, bool keepControls) override {
    mResizes.push_back({width, height, keepControls});
    return true;
  }
  void OnControlsCleared() override { ++mControlsCleared; }
  void OnGUIIdle() override { ++mGUIIdles; }

  // Every begin has its end before the next begin, and nothing is left open.
  bool EditsBalanced() const {
    std::string open;
    for (const std::string& e : mEdits) {
      if (e[0] == 'V') continue;
      if (e[0] == 'B') {
        if (!open.empty()) return false;
        open = e.substr(1);
      } else {
        if (open != e.substr(1)) return false;
        open.clear();
      }
    }
    return open.empty();
  }

  struct Resize {
    int width, height;
    bool keepControls;
  };
  // "B<p>", "V<p>" (a value), "E<p>" in the order the host heard them.
  std::vector<std::string> mEdits;
  std::vector<Resize> mResizes;
  int mControlsCleared = 0;
  int mGUIIdles = 0;
};

// The platform half of the editor with no window: records what the core
// asks of it. A popup answers with mPopupChoice (-1: nothing chosen) after
// running mDuringPopup, as a platform that delivers events while its menu
// is open would.
class FakeGraphics : public IGraphics {
 public:
  explicit FakeGraphics(IPlugBase* plug, int width = 200, int height = 100) : IGraphics(plug, width, height, 30) {}

  bool DrawScreen(IRECT* rect) override {
    mScreenRects.push_back(*rect);
    return true;
  }
  void EndUserInput() override {}
  int ShowMessageBox(const char*, const char*, int) override { return 0; }
  IPopupMenu* CreateIPopupMenu(IPopupMenu* menu, IRECT* area) override {
    ReleaseMouseCapture();
    mPopupArea = *area;
    mPopupItems.clear();
    for (int i = 0; i < menu->GetNItems(); ++i) {
      mPopupItems.push_back(std::string(menu->GetItemText(i)) + (menu->IsItemChecked(i) ? "*" : ""));
    }
    if (mDuringPopup) mDuringPopup();
    if (mPopupChoice < 0) return nullptr;
    menu->SetChosenItemIdx(mPopupChoice);
    return menu;
  }
  void CreateTextEntry(IControl* control, IText*, IRECT* rect, const char* text, IParam* param) override {
    mEntryControl = control;
    mEntryRect = *rect;
    mEntryText = text;
    mEntryParam = param;
  }
  void PluginExecutablePath(WDL_String*) override {}
  void PluginFolderPath(WDL_String*) override {}
  void DesktopPath(WDL_String*) override {}
  void AppSupportPath(WDL_String*) override {}
  void PromptForFile(WDL_String*, int, WDL_String*, const char*) override {}
  bool PromptForColor(IColor*) override { return false; }
  bool OpenURL(const char*) override { return false; }
  void* OpenWindow(void*) override { return nullptr; }
  void CloseWindow() override {}
  void* GetWindow() override { return nullptr; }
  void UpdateFPS(int) override {}
  void SetMouseCursor(int) override {}
  void SetWindowTransparency(int) override {}
  void UpdateTooltips() override {}
  LICE_IBitmap* LoadResourceBitmap(int resourceID, const char* fileName) override {
    mResourceLoads.push_back(resourceID);
    return mLoadResource ? mLoadResource(resourceID, fileName) : nullptr;
  }

  std::vector<IRECT> mScreenRects;
  int mPopupChoice = -1;
  std::function<void()> mDuringPopup;
  IRECT mPopupArea;
  std::vector<std::string> mPopupItems;  // checked items end in "*"
  IControl* mEntryControl = nullptr;
  IRECT mEntryRect;
  std::string mEntryText;
  IParam* mEntryParam = nullptr;
  std::vector<int> mResourceLoads;
  std::function<LICE_IBitmap*(int, const char*)> mLoadResource;
};

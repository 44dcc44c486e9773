#pragma once

#include "rtas/views/CCustomView.h"

class EditorInterface;

// The one view inside the process's editor container: it forwards drawing
// to the framework's editor, which draws itself in the host's window.
class IPlugDigiView : public CCustomView {
 public:
  static constexpr const char* kClassName = "IPlugDigiView";
  static constexpr const char* kDescription = "!IPlugDigiView[('NoID')]";

  IPlugDigiView();
  ~IPlugDigiView() override;

  void DrawContent(const Rect& r) override { DrawDigiView(r); }
  void DrawDigiView(const Rect& r);
  virtual void SetDigiView(EditorInterface* ui) { mUI = ui; }
  EditorInterface* GetDigiView() const { return mUI; }

 private:
  EditorInterface* mUI = nullptr;
};

// The view factory's creator of "IPlugDigiView".
CPlugInView* CreateDigiView();

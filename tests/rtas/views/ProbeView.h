#pragma once

#include <string>
#include <vector>

#include "rtas/views/CCustomView.h"

// A view that writes what happens to it into a shared journal.
class ProbeView : public CCustomView {
 public:
  ProbeView(std::vector<std::string>* journal, std::string name, Rect frame, bool enabled = true)
      : mJournal(journal), mName(std::move(name)) {
    SetFrameRect(frame);
    SetEnabled(enabled);
  }

  void DrawContent(const Rect& r) override {
    Note("draw " + std::to_string(r.top) + "," + std::to_string(r.left) + "," + std::to_string(r.bottom) + "," +
         std::to_string(r.right));
    CCustomView::DrawContent(r);
    // Something in the log to read the clip from.
    FrameRect(&Frame());
  }
  void SetHilite(bool hilite) override {
    if (hilite != IsHilited()) Note(hilite ? "hilite" : "unhilite");
    CCustomView::SetHilite(hilite);
  }
  bool CanTakeFocus() override { return mFocusable; }
  void BeginEdit() override { Note("begin"); }
  void EndEdit(bool accept) override { Note(accept ? "end accept" : "end drop"); }
  void KeyChar(int16_t character, bool* handled) override {
    Note("key " + std::string(1, static_cast<char>(character)));
    *handled = mHandlesKeys;
  }
  void ChildMoved(CPlugInView* child) override {
    (void)child;
    Note("child moved");
  }

  bool mFocusable = false;
  bool mHandlesKeys = false;

 private:
  void Note(const std::string& what) {
    if (mJournal) mJournal->push_back(mName + " " + what);
  }

  std::vector<std::string>* mJournal;
  std::string mName;
};

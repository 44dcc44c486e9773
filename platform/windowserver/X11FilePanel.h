#pragma once

#include <functional>
#include <string>

#include "platform/windowserver/DialogStyle.h"
#include "platform/windowserver/FilePanelModel.h"
#include "platform/windowserver/X11DialogWindow.h"

// An open or save panel in its own window: the folder shown at the top,
// its folders and allowed files in a list below, the name field, a line
// naming the allowed types (or why the last try was refused), then Cancel
// and Save or Open. Keys go to the name field (typing, Backspace, Delete,
// the arrows left and right, Home, End); Up, Down, Page Up and Page Down
// move through the list; Return accepts and Escape or the close box
// cancels. A click selects an entry, a double click enters a folder or
// takes a file, the wheel scrolls. Saving over a file asks first.
namespace platform {

class X11FilePanel : public X11DialogWindow {
 public:
  X11FilePanel(X11State& x, const PanelRequest& request, std::function<bool()> stop);

  // The chosen path; empty when cancelled.
  const std::string& Chosen() const { return mChosen; }

 protected:
  void Draw(DialogCanvas& canvas) override;
  void KeyPressed(KeySym sym, char character, unsigned state) override;
  void Pressed(int x, int y, unsigned button, int clicks) override;
  void Released(int x, int y, unsigned button) override;
  void Moved(int x, int y, bool dragging) override;
  void Cancelled() override { Finish(); }

 private:
  void Settle(FilePanelModel::Outcome outcome, const std::string& path);
  void KeepSelectionInView();
  void Scroll(int rows);
  int RowAt(int x, int y) const;
  void DrawList(DialogCanvas& canvas);
  void DrawField(DialogCanvas& canvas);

  FilePanelModel mModel;
  std::function<bool()> mStop;
  std::string mChosen;
  std::string mShownFolder;
  int mTop = 0;  // the first entry in view
  int mFieldLeft = 0;
  DialogButton mCancel, mAccept;
  int mPressed = -1;  // 0 Cancel, 1 the default button
  bool mPressedInside = false;
};

}  // namespace platform

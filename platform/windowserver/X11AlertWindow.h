#pragma once

#include <string>
#include <vector>

#include "platform/windowserver/DialogStyle.h"
#include "platform/windowserver/Requests.h"
#include "platform/windowserver/X11DialogWindow.h"

// An alert in its own window: the header in bold, the message wrapped
// below it, the buttons the request names in a row at the bottom right
// (the default one rightmost and filled, the other one at the far left).
// Return presses the default button; Escape and the close box press a
// button titled "Cancel" when there is one and otherwise dismiss the alert
// with no button; Tab, Shift-Tab and the arrow keys move the focus ring
// and Space presses the button it is on.
namespace platform {

class X11AlertWindow : public X11DialogWindow {
 public:
  X11AlertWindow(X11State& x, const AlertRequest& request);

  AlertResponse Response() const { return mResponse; }

 protected:
  void Draw(DialogCanvas& canvas) override;
  void KeyPressed(KeySym sym, char character, unsigned state) override;
  void Pressed(int x, int y, unsigned button, int clicks) override;
  void Released(int x, int y, unsigned button) override;
  void Moved(int x, int y, bool dragging) override;
  void Cancelled() override;

 private:
  struct Layout;
  static Layout LayOut(const AlertRequest& request);
  X11AlertWindow(X11State& x, const AlertRequest& request, const Layout& layout);
  void Answer(AlertResponse response);

  std::vector<std::string> mHeaderLines, mMessageLines;
  int mMessageTop = 0;
  // Left to right; each knows the answer it gives.
  std::vector<DialogButton> mButtons;
  std::vector<AlertResponse> mResponses;
  int mFocus = 0;
  int mPressed = -1;
  bool mPressedInside = false;
  AlertResponse mResponse = kAlertCancel;
};

}  // namespace platform

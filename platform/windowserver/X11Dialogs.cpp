#include "platform/windowserver/ScriptedAnswers.h"
#include "platform/windowserver/X11AlertWindow.h"
#include "platform/windowserver/X11Backend.h"
#include "platform/windowserver/X11FilePanel.h"

// The X11 backend's alerts and file panels, each in a window of its own.

namespace platform {

namespace {

// A dialog ends, cancelled, when the program is interrupted or a window
// of the editor was asked to close meanwhile.
std::function<bool()> StopWhen(X11State& x, const std::function<bool()>& interrupted) {
  return [&x, interrupted] {
    if (interrupted && interrupted()) return true;
    for (const X11State::Shown& s : x.shown) {
      if (s.closeRequested) return true;
    }
    return false;
  };
}

}  // namespace

void X11Backend::SetDialogInterruption(std::function<bool()> interrupted) {
  mDialogInterruption = std::move(interrupted);
}

AlertResponse X11Backend::RunAlert(const AlertRequest& request) {
  // A scripted answer still wins: a session under test needs no user.
  if (NextAnswerIs(ScriptedAnswer::kAlert)) return HeadlessBackend::RunAlert(request);
  Log().alerts.push_back(request);
  X11AlertWindow alert(*mX, request);
  alert.RunModal(StopWhen(*mX, mDialogInterruption));
  return alert.Response();
}

bool X11Backend::RunPanel(const PanelRequest& request, std::string* path) {
  if (NextAnswerIs(ScriptedAnswer::kPanel)) return HeadlessBackend::RunPanel(request, path);
  Log().panels.push_back(request);
  const std::function<bool()> stop = StopWhen(*mX, mDialogInterruption);
  X11FilePanel panel(*mX, request, stop);
  panel.RunModal(stop);
  if (panel.Chosen().empty()) return false;
  if (path) *path = panel.Chosen();
  return true;
}

}  // namespace platform

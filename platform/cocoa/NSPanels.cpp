#include "platform/cocoa/NSPanels.h"

#include "platform/windowserver/Backend.h"

NSSavePanel* NSSavePanel::savePanel() {
  NSSavePanel* panel = new NSSavePanel;
  panel->autorelease();
  return panel;
}

NSInteger NSSavePanel::Run(bool save, const std::string& folder, const std::string& file,
                           const std::vector<std::string>& types) {
  platform::PanelRequest request;
  request.save = save;
  request.folder = folder;
  request.file = file;
  request.types = types;
  mChosen.clear();
  std::string path;
  if (!platform::Backend().RunPanel(request, &path) || path.empty()) return NSCancelButton;
  mChosen = path;
  return NSOKButton;
}

NSInteger NSSavePanel::runModalForDirectory(const std::string& folder, const std::string& file) {
  return Run(true, folder, file, mOtherTypes ? std::vector<std::string>() : mTypes);
}

NSOpenPanel* NSOpenPanel::openPanel() {
  NSOpenPanel* panel = new NSOpenPanel;
  panel->autorelease();
  return panel;
}

NSInteger NSOpenPanel::runModalForDirectory(const std::string& folder, const std::string& file,
                                            const std::vector<std::string>& types) {
  return Run(false, folder, file, types);
}

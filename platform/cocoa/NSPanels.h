#pragma once

#include <string>
#include <vector>

#include "platform/cocoa/AppKitTypes.h"
#include "platform/foundation/NSObject.h"

// Stand-ins for the modal save and open panels, answered by the window
// server's backend. runModal... answers NSOKButton (1) with the chosen
// path in filename(), else NSCancelButton (0).
class NSSavePanel : public NSObject {
 public:
  // Autoreleased.
  static NSSavePanel* savePanel();
  void setAllowedFileTypes(const std::vector<std::string>& types) { mTypes = types; }
  void setAllowsOtherFileTypes(bool allows) { mOtherTypes = allows; }
  NSInteger runModalForDirectory(const std::string& folder, const std::string& file);
  const std::string& filename() const { return mChosen; }

 protected:
  NSInteger Run(bool save, const std::string& folder, const std::string& file,
                const std::vector<std::string>& types);

  std::vector<std::string> mTypes;
  bool mOtherTypes = true;
  std::string mChosen;
};

class NSOpenPanel : public NSSavePanel {
 public:
  static NSOpenPanel* openPanel();
  void setCanChooseFiles(bool can) { mFiles = can; }
  void setCanChooseDirectories(bool can) { mFolders = can; }
  void setResolvesAliases(bool resolves) { mResolves = resolves; }
  NSInteger runModalForDirectory(const std::string& folder, const std::string& file,
                                 const std::vector<std::string>& types);
  std::vector<std::string> filenames() const {
    return mChosen.empty() ? std::vector<std::string>() : std::vector<std::string>{mChosen};
  }

 private:
  bool mFiles = true;
  bool mFolders = false;
  bool mResolves = true;
};

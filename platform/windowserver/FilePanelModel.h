#pragma once

#include <string>
#include <vector>

#include "platform/windowserver/Requests.h"

// What an open or save panel shows and decides, apart from any screen: the
// folder, its entries, the name being typed and what Return makes of it.
// Paths are absolute and normalised ("." and ".." folded away, no trailing
// slash but on "/"); "~" stands for the home folder. Extensions are matched
// with their case, as the plug-in matches them when it reads a file.
namespace platform {

struct FolderEntry {
  std::string name;  // ".." for the folder above
  bool folder = false;
};

class FilePanelModel {
 public:
  enum Outcome {
    kStay,            // still open: moved to another folder, or a status says why not
    kChosen,          // the path is the answer
    kConfirmReplace,  // saving over an existing file: ask first, then the path is the answer
  };

  // Opens in the request's folder, or the nearest folder above it that
  // exists, else the working folder; the request's file is the first name.
  explicit FilePanelModel(const PanelRequest& request);

  bool Saving() const { return mSave; }
  const std::vector<std::string>& Types() const { return mTypes; }
  const std::string& Folder() const { return mFolder; }
  // ".." first (but in "/"), then folders, then the files of the allowed
  // types, each group sorted by name without regard to case; hidden entries
  // are left out.
  const std::vector<FolderEntry>& Entries() const { return mEntries; }
  int Selected() const { return mSelected; }  // -1 when none
  const std::string& Name() const { return mName; }
  size_t Caret() const { return mCaret; }  // a byte position in the name
  // Why the last step was refused; empty when it was not.
  const std::string& StatusText() const { return mStatus; }

  // Editing the name. Typing selects the entry of that exact name, if any.
  void Insert(char c);
  void Backspace();
  void DeleteForward();
  void MoveCaret(int step);
  void CaretToStart() { mCaret = 0; }
  void CaretToEnd() { mCaret = mName.size(); }

  // A click on an entry: a file's name becomes the name; on opening, a
  // folder clears it, so that Return goes into the folder.
  void Select(int index);
  // Arrow keys: the selection moves by step, kept within the list.
  void MoveSelection(int step);
  // A double click: a folder (or "..") is entered, a file is taken as if
  // its name were typed and Return pressed.
  Outcome Activate(int index, std::string* path);
  // Return or the panel's default button. A name that is a folder enters
  // it; on saving the first allowed extension is added when the name has
  // none of them; on opening only an existing file of an allowed type is
  // taken, a name typed without its extension finding the file with one.
  Outcome Accept(std::string* path);
  // Shows another folder; false (and a status) when it cannot be read.
  bool Enter(const std::string& folder);

 private:
  bool Allowed(const std::string& name) const;
  void SelectByName();

  bool mSave;
  std::vector<std::string> mTypes;
  std::string mFolder;
  std::vector<FolderEntry> mEntries;
  int mSelected = -1;
  std::string mName;
  size_t mCaret = 0;
  std::string mStatus;
};

// "~" and "~/..." in the home folder, a relative path in the base folder,
// then "." and ".." folded away.
std::string NormalisePath(const std::string& path, const std::string& base);
// The folder above; "/" for "/".
std::string ParentFolder(const std::string& folder);
std::string JoinPath(const std::string& folder, const std::string& name);

}  // namespace platform

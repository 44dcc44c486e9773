#include "platform/windowserver/FilePanelModel.h"

#include <dirent.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace platform {

namespace {

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home && *home) return home;
  const passwd* user = getpwuid(getuid());
  return user && user->pw_dir && *user->pw_dir ? user->pw_dir : "/";
}

std::string WorkingFolder() {
  std::vector<char> buffer(4096);
  return getcwd(buffer.data(), buffer.size()) ? std::string(buffer.data()) : std::string("/");
}

bool IsFolder(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string BaseName(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool LessIgnoringCase(const std::string& a, const std::string& b) {
  const auto lower = [](char c) { return std::tolower(static_cast<unsigned char>(c)); };
  const bool less = std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                                 [&](char x, char y) { return lower(x) < lower(y); });
  const bool greater = std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(),
                                                    [&](char x, char y) { return lower(x) < lower(y); });
  return less || (!greater && a < b);
}

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

std::string TypeList(const std::vector<std::string>& types) {
  std::string list;
  for (size_t i = 0; i < types.size(); ++i) {
    if (i > 0) list += i + 1 == types.size() ? " or " : ", ";
    list += "." + types[i];
  }
  return list;
}

}  // namespace

std::string NormalisePath(const std::string& path, const std::string& base) {
  std::string p = path;
  if (p == "~" || p.rfind("~/", 0) == 0) {
    p = HomeFolder() + p.substr(1);
  } else if (p.empty() || p[0] != '/') {
    p = (base.empty() ? WorkingFolder() : base) + "/" + p;
  }
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= p.size()) {
    size_t end = p.find('/', start);
    if (end == std::string::npos) end = p.size();
    const std::string part = p.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  std::string out;
  for (const std::string& part : parts) out += "/" + part;
  return out.empty() ? "/" : out;
}

std::string ParentFolder(const std::string& folder) {
  const size_t slash = folder.rfind('/');
  return slash == std::string::npos || slash == 0 ? "/" : folder.substr(0, slash);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  return folder == "/" ? "/" + name : folder + "/" + name;
}

FilePanelModel::FilePanelModel(const PanelRequest& request) : mSave(request.save) {
  for (std::string type : request.types) {
    if (!type.empty() && type[0] == '.') type.erase(0, 1);
    if (!type.empty()) mTypes.push_back(type);
  }
  const std::string working = WorkingFolder();
  std::string folder = NormalisePath(request.folder.empty() ? working : request.folder, working);
  while (!IsFolder(folder) && folder != "/") folder = ParentFolder(folder);
  if (!Enter(folder) && !Enter(working)) Enter("/");
  mName = BaseName(request.file);
  mCaret = mName.size();
  SelectByName();
}

bool FilePanelModel::Allowed(const std::string& name) const {
  if (mTypes.empty()) return true;
  for (const std::string& type : mTypes) {
    // A name that is only the extension names no file.
    if (name.size() > type.size() + 1 && name.compare(name.size() - type.size() - 1, std::string::npos,
                                                      "." + type) == 0) {
      return true;
    }
  }
  return false;
}

bool FilePanelModel::Enter(const std::string& folder) {
  DIR* dir = opendir(folder.c_str());
  if (!dir) {
    mStatus = "The folder \xE2\x80\x9C" + folder + "\xE2\x80\x9D cannot be read.";
    return false;
  }
  std::vector<FolderEntry> folders, files;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name.empty() || name[0] == '.') continue;
    struct stat info;
    // Followed through links; a dangling one is left out.
    if (stat(JoinPath(folder, name).c_str(), &info) != 0) continue;
    if (S_ISDIR(info.st_mode)) {
      folders.push_back(FolderEntry{name, true});
    } else if (S_ISREG(info.st_mode) && Allowed(name)) {
      files.push_back(FolderEntry{name, false});
    }
  }
  closedir(dir);
  const auto byName = [](const FolderEntry& a, const FolderEntry& b) { return LessIgnoringCase(a.name, b.name); };
  std::sort(folders.begin(), folders.end(), byName);
  std::sort(files.begin(), files.end(), byName);

  const std::string previous = mFolder;
  mFolder = folder;
  mEntries.clear();
  if (folder != "/") mEntries.push_back(FolderEntry{"..", true});
  mEntries.insert(mEntries.end(), folders.begin(), folders.end());
  mEntries.insert(mEntries.end(), files.begin(), files.end());
  mStatus.clear();
  // A name typed for opening belonged to the folder left.
  if (!mSave) {
    mName.clear();
    mCaret = 0;
  }
  SelectByName();
  // Going up, the folder just left stays in view.
  if (!previous.empty() && ParentFolder(previous) == folder && previous != folder) {
    const std::string child = BaseName(previous);
    for (size_t i = 0; i < mEntries.size(); ++i) {
      if (mEntries[i].folder && mEntries[i].name == child) mSelected = static_cast<int>(i);
    }
  }
  return true;
}

void FilePanelModel::SelectByName() {
  mSelected = -1;
  for (size_t i = 0; i < mEntries.size(); ++i) {
    if (!mName.empty() && mEntries[i].name == mName) mSelected = static_cast<int>(i);
  }
}

void FilePanelModel::Insert(char c) {
  if (c == '\0') return;
  mName.insert(mCaret, 1, c);
  ++mCaret;
  mStatus.clear();
  SelectByName();
}

void FilePanelModel::Backspace() {
  if (mCaret == 0) return;
  size_t from = mCaret - 1;
  while (from > 0 && IsContinuationByte(mName[from])) --from;
  mName.erase(from, mCaret - from);
  mCaret = from;
  mStatus.clear();
  SelectByName();
}

void FilePanelModel::DeleteForward() {
  if (mCaret >= mName.size()) return;
  size_t to = mCaret + 1;
  while (to < mName.size() && IsContinuationByte(mName[to])) ++to;
  mName.erase(mCaret, to - mCaret);
  mStatus.clear();
  SelectByName();
}

void FilePanelModel::MoveCaret(int step) {
  for (; step < 0 && mCaret > 0; ++step) {
    --mCaret;
    while (mCaret > 0 && IsContinuationByte(mName[mCaret])) --mCaret;
  }
  for (; step > 0 && mCaret < mName.size(); --step) {
    ++mCaret;
    while (mCaret < mName.size() && IsContinuationByte(mName[mCaret])) ++mCaret;
  }
}

void FilePanelModel::Select(int index) {
  if (index < 0 || index >= static_cast<int>(mEntries.size())) return;
  mSelected = index;
  mStatus.clear();
  const FolderEntry& entry = mEntries[static_cast<size_t>(index)];
  if (!entry.folder) {
    mName = entry.name;
  } else if (!mSave) {
    mName.clear();
  } else {
    return;
  }
  mCaret = mName.size();
}

void FilePanelModel::MoveSelection(int step) {
  if (mEntries.empty()) return;
  const int last = static_cast<int>(mEntries.size()) - 1;
  const int target = mSelected < 0 ? (step > 0 ? 0 : last) : std::clamp(mSelected + step, 0, last);
  Select(target);
}

FilePanelModel::Outcome FilePanelModel::Activate(int index, std::string* path) {
  if (index < 0 || index >= static_cast<int>(mEntries.size())) return kStay;
  const FolderEntry entry = mEntries[static_cast<size_t>(index)];
  if (entry.folder) {
    Enter(entry.name == ".." ? ParentFolder(mFolder) : JoinPath(mFolder, entry.name));
    return kStay;
  }
  Select(index);
  return Accept(path);
}

FilePanelModel::Outcome FilePanelModel::Accept(std::string* path) {
  mStatus.clear();
  if (mName.empty()) {
    if (mSelected >= 0 && mEntries[static_cast<size_t>(mSelected)].folder) return Activate(mSelected, path);
    mStatus = mSave ? "Type a name for the file." : "Choose a file.";
    return kStay;
  }
  const std::string target = NormalisePath(mName, mFolder);
  if (IsFolder(target)) {
    if (Enter(target)) {
      mName.clear();
      mCaret = 0;
      SelectByName();
    }
    return kStay;
  }
  const std::string folder = ParentFolder(target);
  std::string name = BaseName(target);
  if (!IsFolder(folder) || mName.back() == '/') {
    mStatus = "There is no folder \xE2\x80\x9C" + (mName.back() == '/' ? target : folder) + "\xE2\x80\x9D.";
    return kStay;
  }
  if (mSave) {
    if (!Allowed(name)) name += "." + mTypes.front();
    const std::string chosen = JoinPath(folder, name);
    struct stat info;
    if (stat(chosen.c_str(), &info) == 0) {
      if (S_ISDIR(info.st_mode)) {
        mStatus = "\xE2\x80\x9C" + name + "\xE2\x80\x9D is a folder.";
        return kStay;
      }
      *path = chosen;
      return kConfirmReplace;
    }
    *path = chosen;
    return kChosen;
  }
  struct stat info;
  if (!Allowed(name)) {
    // A name typed without its extension finds the file that has one.
    for (const std::string& type : mTypes) {
      const std::string candidate = JoinPath(folder, name + "." + type);
      if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
        *path = candidate;
        return kChosen;
      }
    }
    mStatus = "Only " + TypeList(mTypes) + " files can be opened here.";
    return kStay;
  }
  const std::string chosen = JoinPath(folder, name);
  if (stat(chosen.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
    mStatus = "There is no file \xE2\x80\x9C" + name + "\xE2\x80\x9D in \xE2\x80\x9C" + folder + "\xE2\x80\x9D.";
    return kStay;
  }
  *path = chosen;
  return kChosen;
}

}  // namespace platform

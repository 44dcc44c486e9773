#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "framework/IPopupMenu.h"
#include "tests/graphics/FakeGraphics.h"

// What a popup menu held when it was shown: texts, flags and submenus.
struct ShownMenu {
  struct Item {
    std::string text;
    int flags = 0;
    bool hasSubmenu = false;
    std::vector<Item> submenu;
  };
  std::vector<Item> items;

  static std::vector<Item> Copy(const IPopupMenu& menu) {
    std::vector<Item> items;
    for (int i = 0; i < menu.GetNItems(); ++i) {
      const IPopupMenuItem* item = menu.GetItem(i);
      Item copy{item->GetText(), item->GetFlags(), item->GetSubmenu() != nullptr, {}};
      if (item->GetSubmenu()) copy.submenu = Copy(*item->GetSubmenu());
      items.push_back(copy);
    }
    return items;
  }
  // One line per item: "---" for a separator, else the text, then "*"
  // when checked and " >" when it opens a submenu.
  static std::vector<std::string> Lines(const std::vector<Item>& items) {
    std::vector<std::string> lines;
    for (const Item& item : items) {
      if (item.flags & IPopupMenuItem::kSeparator) {
        lines.push_back("---");
        continue;
      }
      lines.push_back(item.text + (item.flags & IPopupMenuItem::kChecked ? "*" : "") + (item.hasSubmenu ? " >" : ""));
    }
    return lines;
  }
  std::vector<std::string> Lines() const { return Lines(items); }
  // The lines of the submenu under the item with this text.
  std::vector<std::string> SubmenuLines(const std::string& text) const {
    for (const Item& item : items) {
      if (item.text == text) return Lines(item.submenu);
    }
    return {};
  }
};

// The fake platform class with every modal answer scripted, so no test
// ever waits on a user: menu choices, file dialogs (confirmed or
// cancelled, with the platform's conventions), message boxes and web
// pages are recorded and answered from queues.
class EditorGraphics : public FakeGraphics {
 public:
  EditorGraphics(IPlugBase* plug, int width, int height) : FakeGraphics(plug, width, height) {}

  // ---- Menus ----
  // A path of item indices: {i} chooses main-menu item i, {i, j} item j of
  // the submenu under item i. An empty path, or an empty queue, dismisses.
  void Choose(std::vector<int> path) { mMenuAnswers.push_back(std::move(path)); }
  void Dismiss() { mMenuAnswers.push_back({}); }

  IPopupMenu* CreateIPopupMenu(IPopupMenu* menu, IRECT* area) override {
    ReleaseMouseCapture();
    mPopupArea = *area;
    mShown.push_back(ShownMenu{ShownMenu::Copy(*menu)});
    if (mDuringPopup) mDuringPopup();
    std::vector<int> path;
    if (!mMenuAnswers.empty()) {
      path = mMenuAnswers.front();
      mMenuAnswers.pop_front();
    }
    if (path.empty()) return nullptr;
    IPopupMenu* chosen = menu;
    for (size_t k = 0; k + 1 < path.size(); ++k) {
      const IPopupMenuItem* item = chosen->GetItem(path[k]);
      if (!item || !item->GetSubmenu()) return nullptr;
      chosen = item->GetSubmenu();
    }
    chosen->SetChosenItemIdx(path.back());
    return chosen;
  }
  const ShownMenu& LastMenu() const {
    static const ShownMenu none;
    return mShown.empty() ? none : mShown.back();
  }

  // ---- File dialogs ----
  struct FileAnswer {
    std::string file;  // empty: cancelled
    std::string folder;
  };
  struct FileOffer {
    std::string fileName;
    int action;
    std::string folder, extensions;
  };
  void AnswerFile(const std::string& file, const std::string& folder) { mFileAnswers.push_back({file, folder}); }
  void CancelFile() { mFileAnswers.push_back({}); }

  void PromptForFile(WDL_String* fileName, int action, WDL_String* folder, const char* extensions) override {
    mOffers.push_back({fileName->Get(), action, folder->Get(), extensions ? extensions : ""});
    FileAnswer answer;
    if (!mFileAnswers.empty()) {
      answer = mFileAnswers.front();
      mFileAnswers.pop_front();
    }
    fileName->Set("");
    if (answer.file.empty()) return;
    fileName->Set(answer.file.c_str());
    folder->Set(answer.folder.c_str());
  }

  // ---- Message boxes and web pages ----
  struct MessageBox {
    std::string text, caption;
    int type;
  };
  int ShowMessageBox(const char* text, const char* caption, int type) override {
    mMessageBoxes.push_back({text ? text : "", caption ? caption : "", type});
    return 0;
  }
  bool OpenURL(const char* url) override {
    mURLs.push_back(url ? url : "");
    return true;
  }

  std::deque<std::vector<int>> mMenuAnswers;
  std::vector<ShownMenu> mShown;
  std::deque<FileAnswer> mFileAnswers;
  std::vector<FileOffer> mOffers;
  std::vector<MessageBox> mMessageBoxes;
  std::vector<std::string> mURLs;
};

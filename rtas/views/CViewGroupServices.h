#pragma once

#include <cstdint>

// What the views need of the process group, which owns the library's lock,
// the host callback and the way to the plug-in bundle's resources. The group
// installs itself when it starts and removes itself when it shuts down; with
// none installed (tests, tools) resources are read from the current file and
// tracking loops have no lock to yield.
class CViewGroupServices {
 public:
  virtual ~CViewGroupServices() = default;
  // Makes the bundle's resource file current; returns the one it replaced.
  virtual int16_t UseResourceFile() = 0;
  virtual void RestoreResourceFile(int16_t previous) = 0;
  // Lets the host run for one pass, releasing the group's lock around it.
  virtual void YieldGroupLock() = 0;
  // Calls the host callback with a selector and two zero arguments; false
  // when the host gave none.
  virtual bool CallHostCallback(int16_t selector) = 0;
};

void SetViewGroupServices(CViewGroupServices* services);
CViewGroupServices* GetViewGroupServices();

// The group's lock yield; nothing without a group.
void YieldViewGroupLock();

// Makes the bundle's resource file current for the life of the scope.
class CBundleResourceScope {
 public:
  CBundleResourceScope();
  ~CBundleResourceScope();
  CBundleResourceScope(const CBundleResourceScope&) = delete;
  CBundleResourceScope& operator=(const CBundleResourceScope&) = delete;

 private:
  CViewGroupServices* mServices;
  int16_t mPrevious = 0;
};

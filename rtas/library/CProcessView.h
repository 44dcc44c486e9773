#pragma once

#include <cstdint>
#include <string>

#include "rtas/library/HostRecords.h"

class CProcess;

// What a process asks of the views of its editor: the root view it owns,
// and the control views it finds in the tree by a control's page id. The
// operations are those of the library's views under the same names; a
// view that is not a control view answers the control-view operations
// neutrally and ignores them.
class CProcessView {
 public:
  virtual ~CProcessView() = default;

  // After creation: builds the tree.
  virtual void Realize() = 0;
  virtual CProcessView* FindViewAt(const Point& where) = 0;
  virtual void DeactivateView() = 0;
  virtual void ActivateView() = 0;
  // The host window's port, null when the window closes.
  virtual void AttachPort(OpaqueGrafPtr* port) = 0;
  virtual void GetFrameRect(Rect* frame) = 0;
  virtual void DoKey(const EventRecord* event, bool* handled) = 0;
  virtual int32_t DoClick(const EventRecord* event) = 0;
  // Null redraws the whole view.
  virtual void DrawRect(const Rect* area) = 0;
  virtual bool IsEnabled() = 0;
  virtual void GetControlIndex(int32_t* index) = 0;
  virtual bool IsProcessControl() = 0;
  virtual bool HasControlHighlight() = 0;
  virtual void GetControlHighlight(uint16_t* colour, int16_t* second, std::string* text) = 0;
  // The packed point of the host: vertical and horizontal position.
  virtual void MoveViewTo(const Point& where) = 0;

  virtual CProcessView* GetParentView() = 0;
  virtual CProcessView* GetFirstChild() = 0;
  virtual CProcessView* GetNextSibling() = 0;
  virtual uint32_t GetViewID() = 0;
  // 'NONE' finds nothing.
  virtual CProcessView* FindViewByID(uint32_t id) = 0;

  // Control views.
  virtual void SetHighlighted(bool highlighted) = 0;
  virtual void SetHighlight(uint16_t colour, int16_t second, const std::string& text) = 0;
  // Every attached editor shows the control's new value.
  virtual void UpdateEditors() = 0;
  // Binds a process control view to control `index` of the process (null
  // unbinds), taking its present value and showing it when asked.
  virtual void AttachToControl(CProcess* process, int32_t index, bool update) = 0;
};

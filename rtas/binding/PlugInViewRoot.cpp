#include "rtas/binding/PlugInViewRoot.h"

#include "rtas/views/CPlugInView.h"

PlugInViewRoot::PlugInViewRoot(CPlugInView* root) : mRoot(root) {}

PlugInViewRoot::~PlugInViewRoot() = default;

void PlugInViewRoot::Realize() { mRoot->Realize(); }

CProcessView* PlugInViewRoot::FindViewAt(const Point& where) {
  // Only the root stands for itself here; anything inside it is part of it.
  return mRoot->FindViewAt(where) ? this : nullptr;
}

void PlugInViewRoot::DeactivateView() { mRoot->DeactivateView(); }

void PlugInViewRoot::ActivateView() { mRoot->ActivateView(); }

void PlugInViewRoot::AttachPort(OpaqueGrafPtr* port) { mRoot->AttachPort(port); }

void PlugInViewRoot::GetFrameRect(Rect* frame) { mRoot->GetFrameRect(frame); }

void PlugInViewRoot::DoKey(const EventRecord* event, bool* handled) { mRoot->DoKey(event, handled); }

int32_t PlugInViewRoot::DoClick(const EventRecord* event) { return mRoot->DoClick(event); }

void PlugInViewRoot::DrawRect(const Rect* area) { mRoot->DrawRect(area); }

bool PlugInViewRoot::IsEnabled() { return mRoot->IsEnabled(); }

void PlugInViewRoot::GetControlIndex(int32_t* index) { mRoot->GetControlIndex(index); }

void PlugInViewRoot::MoveViewTo(const Point& where) { mRoot->MoveViewTo(where.h, where.v); }

uint32_t PlugInViewRoot::GetViewID() { return mRoot->GetViewID(); }

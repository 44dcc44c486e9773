#include "rtas/binding/IPlugDigiView.h"

#include "rtas/binding/IPlugCustomUI.h"

IPlugDigiView::IPlugDigiView() = default;

IPlugDigiView::~IPlugDigiView() = default;

void IPlugDigiView::DrawDigiView(const Rect& r) {
  if (mUI) mUI->Draw(r.left, r.top, r.right, r.bottom);
}

CPlugInView* CreateDigiView() { return new IPlugDigiView; }

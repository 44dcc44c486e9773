#include "rtas/views/CMacControlView.h"

#include "platform/hitoolbox/MacWindows.h"
#include "rtas/views/DescriptionParser.h"
#include "rtas/library/CDAEError.h"
#include "rtas/library/ErrorThrowers.h"

CMacControlView::~CMacControlView() { DisposeControl(mControl); }

void CMacControlView::SetRange(int16_t minimum, int16_t maximum, int16_t value) {
  mMinimum = minimum;
  mMaximum = maximum;
  mValue = value;
}

void CMacControlView::ApplyDescription(DescriptionParser* parser) {
  CCustomView::ApplyDescription(parser);
  const DescriptionNode* n = parser->TakeGroup();
  const DescriptionNode* title = n;
  ThrowIfNil(title);
  ThrowIfFalse(title->kind == DescriptionNode::kString);
  int32_t numbers[3];
  n = title->next;
  for (int32_t& number : numbers) {
    ThrowIfNil(n);
    ThrowIfFalse(n->kind == DescriptionNode::kInteger);
    number = n->Integer();
    n = n->next;
  }
  ThrowIfFalse(n == nullptr);
  mTitle = title->Text();
  SetRange(static_cast<int16_t>(numbers[0]), static_cast<int16_t>(numbers[1]), static_cast<int16_t>(numbers[2]));
}

int16_t CMacControlView::GetProcID() { throw CDAEError(-7400); }

ControlRef CMacControlView::CreateControl() {
  Str255 title;
  title[0] = static_cast<unsigned char>(mTitle.size());
  mTitle.copy(reinterpret_cast<char*>(title + 1), mTitle.size());
  return NewControl(GetWindowFromPort(GetViewPort()), &Frame(), title, false, mValue, mMinimum, mMaximum, GetProcID(),
                    reinterpret_cast<intptr_t>(this));
}

void CMacControlView::AttachPort(GrafPtr port) {
  CCustomView::AttachPort(port);
  // A control belongs to one window: a new port gets a new control.
  DisposeControl(mControl);
  mControl = nullptr;
  if (port) {
    mControl = CreateControl();
    ThrowIfNil(mControl);
    mFirstDraw = true;
  }
}

void CMacControlView::DrawContent(const Rect& r) {
  (void)r;
  if (!mControl) return;
  if (mFirstDraw) {
    mFirstDraw = false;
    ShowControl(mControl);
  } else {
    Draw1Control(mControl);
  }
}

void CMacControlView::HandleClick(const EventRecord* event) {
  if (mControl && event) TrackControl(mControl, event->where, nullptr);
}

void CMacControlView::OffsetBy(int16_t dh, int16_t dv) {
  CCustomView::OffsetBy(dh, dv);
  if (mControl) MoveControl(mControl, Frame().left, Frame().top);
}

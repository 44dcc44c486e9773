#include "platform/hitoolbox/Controls.h"

#include "platform/carboncore/MacMemory.h"
#include "platform/carboncore/Resources.h"
#include "platform/hitoolbox/ViewRecord.h"

namespace {

struct ControlState {
  std::vector<platform::ControlCall> calls;
  ControlPartCode trackAnswer = 0;
  int live = 0;
};

ControlState& State() {
  static ControlState state;
  return state;
}

void Record(platform::ControlCallKind kind, ControlRef control, Point point = Point{0, 0}) {
  State().calls.push_back(platform::ControlCall{kind, control, point});
}

}  // namespace

ControlRef NewControl(WindowRef window, const Rect* bounds, ConstStr255Param title, bool visible, int16_t value,
                      int16_t minimum, int16_t maximum, int16_t procID, intptr_t refCon) {
  ControlRef control = new OpaqueControlRef;
  control->window = window;
  if (bounds) control->bounds = *bounds;
  if (title) control->title.assign(reinterpret_cast<const char*>(title + 1), title[0]);
  control->visible = visible;
  control->value = value;
  control->minimum = minimum;
  control->maximum = maximum;
  control->procID = procID;
  control->refCon = refCon;
  ++State().live;
  Record(platform::ControlCallKind::kNew, control);
  return control;
}

ControlRef GetNewControl(int16_t resourceId, WindowRef window) {
  constexpr ResType kControlType = 0x434E544C;  // 'CNTL'
  // Rect 8, value 2, visible 2, maximum 2, minimum 2, procID 2, refCon 4,
  // then the title as a counted string.
  constexpr size_t kTitleAt = 22;
  Handle resource = GetResource(kControlType, resourceId);
  if (!resource) return nullptr;
  const uint8_t* b = reinterpret_cast<const uint8_t*>(*resource);
  const size_t size = static_cast<size_t>(GetHandleSize(resource));
  if (size < kTitleAt + 1 || size < kTitleAt + 1 + b[kTitleAt]) return nullptr;
  auto word = [b](size_t at) { return static_cast<int16_t>(b[at] << 8 | b[at + 1]); };
  ControlRef control = new OpaqueControlRef;
  control->window = window;
  control->bounds = Rect{word(0), word(2), word(4), word(6)};
  control->value = word(8);
  control->visible = b[10] != 0;
  control->maximum = word(12);
  control->minimum = word(14);
  control->procID = word(16);
  control->refCon = static_cast<int32_t>(static_cast<uint32_t>(b[18]) << 24 | b[19] << 16 | b[20] << 8 | b[21]);
  control->title.assign(reinterpret_cast<const char*>(b + kTitleAt + 1), b[kTitleAt]);
  control->resourceId = resourceId;
  ++State().live;
  Record(platform::ControlCallKind::kGetNew, control);
  return control;
}

void DisposeControl(ControlRef control) {
  if (!control) return;
  Record(platform::ControlCallKind::kDispose, control);
  // Its subviews go with it, each recorded as disposed.
  const std::vector<ControlRef> subviews = control->subviews;
  control->subviews.clear();
  for (ControlRef sub : subviews) {
    sub->superview = nullptr;
    DisposeControl(sub);
  }
  platform::ForgetView(control);
  --State().live;
  delete control;
}

void ShowControl(ControlRef control) {
  if (!control) return;
  control->visible = true;
  Record(platform::ControlCallKind::kShow, control);
}

void HideControl(ControlRef control) {
  if (!control) return;
  control->visible = false;
  Record(platform::ControlCallKind::kHide, control);
}

void Draw1Control(ControlRef control) {
  if (control) Record(platform::ControlCallKind::kDraw, control);
}

void MoveControl(ControlRef control, int16_t h, int16_t v) {
  if (!control) return;
  const int16_t width = static_cast<int16_t>(control->bounds.right - control->bounds.left);
  const int16_t height = static_cast<int16_t>(control->bounds.bottom - control->bounds.top);
  control->bounds = Rect{v, h, static_cast<int16_t>(v + height), static_cast<int16_t>(h + width)};
  control->frame.origin = CGPoint{static_cast<CGFloat>(h), static_cast<CGFloat>(v)};
  Record(platform::ControlCallKind::kMove, control, Point{v, h});
}

void SizeControl(ControlRef control, int16_t width, int16_t height) {
  if (!control) return;
  control->bounds.right = static_cast<int16_t>(control->bounds.left + width);
  control->bounds.bottom = static_cast<int16_t>(control->bounds.top + height);
  control->frame.size = CGSize{static_cast<CGFloat>(width), static_cast<CGFloat>(height)};
  Record(platform::ControlCallKind::kSize, control, Point{height, width});
}

Rect* GetControlBounds(ControlRef control, Rect* bounds) {
  if (control && bounds) *bounds = control->bounds;
  return bounds;
}

int16_t GetControlValue(ControlRef control) { return control ? control->value : 0; }

void SetControlValue(ControlRef control, int16_t value) {
  if (control) control->value = value < control->minimum ? control->minimum : value > control->maximum ? control->maximum : value;
}

intptr_t GetControlReference(ControlRef control) { return control ? control->refCon : 0; }

ControlPartCode TrackControl(ControlRef control, Point startPoint, ControlActionUPP action) {
  if (!control) return 0;
  Record(platform::ControlCallKind::kTrack, control, startPoint);
  const ControlPartCode part = State().trackAnswer;
  if (action && part) action(control, part);
  return part;
}

namespace platform {

const std::vector<ControlCall>& ControlCalls() { return State().calls; }

void ClearControlCalls() { State().calls.clear(); }

void SetTrackControlAnswer(ControlPartCode part) { State().trackAnswer = part; }

int LiveControlCount() { return State().live; }

}  // namespace platform

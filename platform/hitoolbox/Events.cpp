#include "platform/hitoolbox/Events.h"

#include <atomic>
#include <deque>

#include "platform/quickdraw/QuickDraw.h"

namespace {

struct EventState {
  Point mouse{0, 0};
  bool down = false;
  std::deque<platform::MouseSample> samples;
  std::deque<EventRecord> queue;
  uint32_t ticks = 0;
  int passes = 0;
};

EventState& State() {
  static EventState state;
  return state;
}

bool InMask(const EventRecord& event, uint16_t mask) { return event.what < 16 && (mask & (1u << event.what)) != 0; }

}  // namespace

uint32_t TickCount() { return State().ticks; }

void Delay(uint32_t ticks, uint32_t* finalTicks) {
  State().ticks += ticks;
  if (finalTicks) *finalTicks = State().ticks;
}

void GetMouse(Point* mouseLoc) {
  if (!mouseLoc) return;
  *mouseLoc = State().mouse;
  if (GetPort()) GlobalToLocal(mouseLoc);
}

bool StillDown() {
  EventState& s = State();
  if (s.samples.empty()) {
    s.down = false;
    return false;
  }
  s.mouse = s.samples.front().where;
  s.down = s.samples.front().down;
  s.samples.pop_front();
  return s.down;
}

bool Button() { return State().down; }

bool EventAvail(uint16_t eventMask, EventRecord* event) {
  EventState& s = State();
  ++s.passes;
  for (const EventRecord& queued : s.queue) {
    if (InMask(queued, eventMask)) {
      if (event) *event = queued;
      return true;
    }
  }
  if (event) *event = EventRecord{nullEvent, 0, s.ticks, s.mouse, static_cast<uint16_t>(s.down ? 0 : btnState)};
  return false;
}

bool GetNextEvent(uint16_t eventMask, EventRecord* event) {
  EventState& s = State();
  for (auto it = s.queue.begin(); it != s.queue.end(); ++it) {
    if (InMask(*it, eventMask)) {
      if (event) *event = *it;
      s.queue.erase(it);
      return true;
    }
  }
  if (event) *event = EventRecord{nullEvent, 0, s.ticks, s.mouse, static_cast<uint16_t>(s.down ? 0 : btnState)};
  return false;
}

namespace platform {

void ScriptMouse(Point start, bool startDown, const std::vector<MouseSample>& samples) {
  EventState& s = State();
  s.mouse = start;
  s.down = startDown;
  s.samples.assign(samples.begin(), samples.end());
}

void ResetEvents() {
  State() = EventState();
  ReleaseAllKeys();
}

void PostStandInEvent(const EventRecord& event) { State().queue.push_back(event); }

void SetTickCount(uint32_t ticks) { State().ticks = ticks; }

int SystemPassCount() { return State().passes; }

int PendingMouseSamples() { return static_cast<int>(State().samples.size()); }

}  // namespace platform

namespace platform {

namespace {

// The keyboard is shared by every thread, as the hardware is.
std::atomic<uint8_t> gKeys[16];

}  // namespace

void SetKeyDown(int keyCode, bool down) {
  if (keyCode < 0 || keyCode >= 128) return;
  const uint8_t bit = static_cast<uint8_t>(1u << (keyCode % 8));
  if (down) {
    gKeys[keyCode / 8].fetch_or(bit);
  } else {
    gKeys[keyCode / 8].fetch_and(static_cast<uint8_t>(~bit));
  }
}

void ReleaseAllKeys() {
  for (auto& byte : gKeys) byte.store(0);
}

}  // namespace platform

extern "C" void GetKeys(KeyMap keys) {
  for (int i = 0; i < 16; ++i) keys[i] = platform::gKeys[i].load();
}

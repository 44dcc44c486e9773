#include "platform/carbon/Events.h"

#include <cstring>
#include <deque>

#include "platform/quickdraw/QuickDraw.h"

namespace {

struct EventState {
  Point mouse{0, 0};
  bool down = false;
  std::deque<platform::MouseSample> samples;
  std::deque<EventRecord> queue;
  KeyMap keys{};
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

void GetKeys(KeyMap keys) { std::memcpy(keys, State().keys, sizeof(KeyMap)); }

namespace platform {

void ScriptMouse(Point start, bool startDown, const std::vector<MouseSample>& samples) {
  EventState& s = State();
  s.mouse = start;
  s.down = startDown;
  s.samples.assign(samples.begin(), samples.end());
}

void ResetEvents() { State() = EventState(); }

void PostStandInEvent(const EventRecord& event) { State().queue.push_back(event); }

void SetStandInKeys(const KeyMap keys) { std::memcpy(State().keys, keys, sizeof(KeyMap)); }

void SetStandInKey(int keyCode, bool down) {
  if (keyCode < 0 || keyCode > 127) return;
  // The key map is read as bytes: key code k is bit (k mod 8) of byte k / 8.
  unsigned char* bytes = reinterpret_cast<unsigned char*>(State().keys);
  const unsigned char bit = static_cast<unsigned char>(1u << (keyCode % 8));
  if (down) bytes[keyCode / 8] |= bit; else bytes[keyCode / 8] &= static_cast<unsigned char>(~bit);
}

void SetTickCount(uint32_t ticks) { State().ticks = ticks; }

int SystemPassCount() { return State().passes; }

int PendingMouseSamples() { return static_cast<int>(State().samples.size()); }

}  // namespace platform

#pragma once

#include <cstdint>
#include <vector>

#include "platform/carboncore/MacTypes.h"

// Stand-in for the classic Event Manager: the event record the host hands
// to views, the mouse as tracking loops poll it, the keyboard state and the
// tick clock. Nothing comes from a real device: tests and command-line
// hosts script the mouse, the keys and the queue, and own the clock. The
// mouse, the queue and the clock belong to the main thread, as the views
// that use them do; the keyboard is shared by every thread.
extern "C" {

// 128 bits, one per virtual key code: key k is bit (k % 8) of byte k / 8.
typedef uint8_t KeyMap[16];

void GetKeys(KeyMap keys);

}  // extern "C"

enum EventKind : uint16_t {
  nullEvent = 0,
  mouseDown = 1,
  mouseUp = 2,
  keyDown = 3,
  keyUp = 4,
  autoKey = 5,
  updateEvt = 6,
  activateEvt = 8,
};

enum EventModifiers : uint16_t {
  activeFlag = 0x0001,
  btnState = 0x0080,  // set while the button is up
  cmdKey = 0x0100,
  shiftKey = 0x0200,
  alphaLock = 0x0400,
  optionKey = 0x0800,
  controlKey = 0x1000,
};

enum { charCodeMask = 0x000000FF, keyCodeMask = 0x0000FF00 };

struct EventRecord {
  uint16_t what;
  uint32_t message;  // key events: character code in the low byte, key code above it
  uint32_t when;     // tick count
  Point where;       // global coordinates
  uint16_t modifiers;
};

// Ticks (1/60 s) of the test clock.
uint32_t TickCount();
// Advances the test clock; the final tick count comes back.
void Delay(uint32_t ticks, uint32_t* finalTicks);

// The mouse position in the current port's local coordinates (global ones
// without a current port).
void GetMouse(Point* mouseLoc);
// Moves to the next scripted mouse sample and answers whether the button is
// down in it. After the script the button is up and the mouse stays put.
bool StillDown();
// Whether the button is down in the current sample (does not advance).
bool Button();
// True when an event of the mask is queued; the event is copied, not
// removed. Every call counts as one pass of the system (see below).
bool EventAvail(uint16_t eventMask, EventRecord* event);
// Removes and returns the first queued event of the mask.
bool GetNextEvent(uint16_t eventMask, EventRecord* event);

namespace platform {

constexpr int kOptionKeyCode = 58;

void SetKeyDown(int keyCode, bool down);
void ReleaseAllKeys();


struct MouseSample {
  Point where;  // global
  bool down;
};

// Replaces the mouse script; the mouse starts at the first sample's point
// with the button as given by `startDown` until the first StillDown.
void ScriptMouse(Point start, bool startDown, const std::vector<MouseSample>& samples);
// Button up, no samples left, mouse at (0, 0); also empties the event queue,
// releases every key and sets the clock and the pass count to 0.
void ResetEvents();
void PostStandInEvent(const EventRecord& event);
void SetTickCount(uint32_t ticks);
// How many times EventAvail let the system run since the last reset.
int SystemPassCount();
// Samples of the mouse script not consumed yet.
int PendingMouseSamples();

}  // namespace platform

#include "platform/hitoolbox/Events.h"

#include <gtest/gtest.h>

#include "platform/quickdraw/DrawLog.h"

TEST(StandInEvents, TheMouseScriptIsPlayedOneSampleAPoll) {
  platform::ResetEvents();
  platform::ScriptMouse(Point{5, 5}, true, {{Point{10, 20}, true}, {Point{30, 40}, false}});
  SetPort(nullptr);
  Point p;
  GetMouse(&p);
  EXPECT_EQ(p, (Point{5, 5}));
  EXPECT_TRUE(Button());
  EXPECT_TRUE(StillDown());
  GetMouse(&p);
  EXPECT_EQ(p, (Point{10, 20}));
  EXPECT_FALSE(StillDown());
  GetMouse(&p);
  EXPECT_EQ(p, (Point{30, 40}));
  // After the script the button stays up and the mouse where it was.
  EXPECT_FALSE(StillDown());
  EXPECT_FALSE(Button());
  GetMouse(&p);
  EXPECT_EQ(p, (Point{30, 40}));
  // In a port the mouse is in its local coordinates.
  GrafPtr port = platform::NewStandInPort(100, 100, Point{25, 5});
  SetPort(port);
  GetMouse(&p);
  EXPECT_EQ(p, (Point{5, 35}));
  platform::DisposeStandInPort(port);
}

TEST(StandInEvents, QueuedEventsClockAndKeys) {
  platform::ResetEvents();
  EventRecord e;
  EXPECT_FALSE(EventAvail(0xFFFF, &e));
  EXPECT_EQ(e.what, nullEvent);
  platform::PostStandInEvent(EventRecord{keyDown, 'a', 0, Point{0, 0}, 0});
  EXPECT_FALSE(EventAvail(1 << mouseDown, &e));  // masked out
  EXPECT_TRUE(EventAvail(1 << keyDown, &e));
  EXPECT_EQ(e.message, static_cast<uint32_t>('a'));
  EXPECT_TRUE(GetNextEvent(0xFFFF, &e));
  EXPECT_FALSE(GetNextEvent(0xFFFF, &e));
  EXPECT_EQ(platform::SystemPassCount(), 3);

  platform::SetTickCount(100);
  uint32_t final = 0;
  Delay(10, &final);
  EXPECT_EQ(final, 110u);
  EXPECT_EQ(TickCount(), 110u);

  platform::SetKeyDown(platform::kOptionKeyCode, true);
  platform::ResetEvents();
  KeyMap keys;
  GetKeys(keys);
  EXPECT_EQ(keys[7], 0x00);  // released with the rest
}

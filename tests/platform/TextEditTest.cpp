#include "platform/hitoolbox/TextEdit.h"

#include <gtest/gtest.h>

#include "platform/quickdraw/DrawLog.h"
#include "platform/hitoolbox/Scrap.h"

TEST(StandInTextEdit, TypingReplacesTheSelection) {
  GrafPtr port = platform::NewStandInPort(100, 100);
  SetPort(port);
  TextFont(3);
  TextSize(9);
  const Rect r{0, 0, 20, 80};
  TEHandle te = TENew(&r, &r);
  EXPECT_EQ((*te)->txFont, 3);
  EXPECT_EQ((*te)->txSize, 9);
  TESetText("12.5", 4, te);
  TESetSelect(0, 4, te);
  TEKey('7', te);
  EXPECT_EQ((*te)->text, "7");
  TEKey('0', te);
  TEKey(8, te);  // backspace
  TEKey(28, te);  // left
  TEKey('-', te);
  EXPECT_EQ((*te)->text, "-7");
  EXPECT_EQ(TEGetTextLength(te), 2);
  TESetSelect(-5, 100, te);
  EXPECT_EQ((*te)->selStart, 0);
  EXPECT_EQ((*te)->selEnd, 2);
  TEIdle(te);
  EXPECT_EQ((*te)->idleCount, 1);
  TEDispose(te);
  EXPECT_EQ(platform::LiveTextEditCount(), 0);
  TETextBox("boxed", 5, &r, teCenter);
  ASSERT_EQ(platform::PortLog(port).size(), 1u);
  EXPECT_EQ(platform::PortLog(port)[0].text, "boxed");
  EXPECT_EQ(platform::PortLog(port)[0].justification, teCenter);
  platform::DisposeStandInPort(port);
}

TEST(StandInScrap, HoldsOneFlavorPerType) {
  const ScrapFlavorType kText = 0x54455854;  // 'TEXT'
  ScrapRef scrap = nullptr;
  ASSERT_EQ(GetCurrentScrap(&scrap), noErr);
  ClearCurrentScrap();
  int32_t size = 0;
  EXPECT_EQ(GetScrapFlavorSize(scrap, kText, &size), noTypeErr);
  EXPECT_EQ(PutScrapFlavor(scrap, kText, 0, 5, "hello"), noErr);
  EXPECT_EQ(GetScrapFlavorSize(scrap, kText, &size), noErr);
  EXPECT_EQ(size, 5);
  char out[3];
  size = sizeof out;
  EXPECT_EQ(GetScrapFlavorData(scrap, kText, &size, out), noErr);
  EXPECT_EQ(size, 3);
  EXPECT_EQ(std::string(out, 3), "hel");
  EXPECT_EQ(PutScrapFlavor(scrap, kText, 0, -1, "x"), -50);
}

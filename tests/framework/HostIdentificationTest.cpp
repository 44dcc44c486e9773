#include <gtest/gtest.h>

#include <string>

#include "framework/IPlugBase.h"
#include "tests/framework/TestPlug.h"

TEST(HostIdentification, NamesMapToIdsInTableOrder) {
  struct Case { const char* name; int id; const char* display; };
  const Case cases[] = {
      {"Steinberg CUBASE 12", 3, "Cubase"},
      {"Steinberg Nuendo", 4, "Nuendo"},
      {"GoldWave", 17, "Audition"},      // "gold" comes before "gwvst"
      {"my gwvst host", 31, "GoldWave"},
      {"Sony Vegas Pro", 6, "Unknown"},  // an id without a display name
      {"Pro Tools", 0, "Unknown"},
      {"ProTools", 2, "ProTools"},
      {"Ableton Live", 9, "Live"},
      {"reason and reaper", 1, "Reaper"},
      {"", 0, "Unknown"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IPlugBase::LookUpHost(c.name), c.id) << c.name;
    char buf[24];
    EXPECT_STREQ(IPlugBase::GetHostNameStr(c.id, buf), c.display);
  }
}

TEST(HostIdentification, LongNamesAreBounded) {
  const std::string longName = std::string(1000, 'x') + "cubase";
  EXPECT_EQ(IPlugBase::LookUpHost(longName.c_str()), 0);
  const std::string early = "cubase" + std::string(1000, 'x');
  EXPECT_EQ(IPlugBase::LookUpHost(early.c_str()), 3);
  EXPECT_EQ(IPlugBase::LookUpHost(nullptr), 0);
}

TEST(HostIdentification, SetHostAndApiStrings) {
  TestPlug plug(2, "1-1", 0, IPlugBase::kAPIRTAS);
  EXPECT_EQ(plug.GetHost(), -1);
  plug.SetHost("Reaper", 0x060512);
  EXPECT_EQ(plug.GetHost(), 1);
  EXPECT_EQ(plug.GetHostVersion(), 0x060512);
  EXPECT_STREQ(plug.GetHostName().Get(), "Reaper");
  EXPECT_STREQ(plug.GetAPIString(), "RTAS");

  TestPlug other(2, "1-1", 0, 6);
  EXPECT_STREQ(other.GetAPIString(), "");
  TestPlug negative(2, "1-1", 0, -1);
  EXPECT_STREQ(negative.GetAPIString(), "");
}

#include "rtas/library/PortSlots.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// Ports 1 and 3 of four are connected.
std::vector<int32_t> Ports() { return {11, 0, 33, 0}; }

}  // namespace

TEST(PortSlots, EveryOperationRejectsPortsOutsideTheArray) {
  struct Case {
    std::string name;
    std::function<int32_t(int32_t port, int32_t* ports)> call;
  };
  uint8_t flag = 0;
  const std::vector<Case> cases = {
      {"IsPortConnected", [&](int32_t p, int32_t* a) { return IsPortConnected(p, &flag, a, 4); }},
      {"DisconnectPort", [&](int32_t p, int32_t* a) { return DisconnectPort(p, a, 4); }},
      {"ConnectInputPort", [&](int32_t p, int32_t* a) { return ConnectInputPort(p, 5, a, 4); }},
      {"ConnectOutputPort", [&](int32_t p, int32_t* a) { return ConnectOutputPort(p, 5, a, 4); }},
  };
  for (const auto& c : cases) {
    for (int32_t port : {0, 5, -1}) {
      auto ports = Ports();
      EXPECT_EQ(c.call(port, ports.data()), -7106) << c.name << " " << port;
      EXPECT_EQ(ports, Ports()) << c.name;
    }
  }
  // IsPortFree answers the question instead: such a port is not free.
  auto ports = Ports();
  for (int32_t port : {0, 5}) {
    flag = 1;
    EXPECT_EQ(IsPortFree(port, &flag, ports.data(), 4), 0);
    EXPECT_EQ(flag, 0);
  }
}

TEST(PortSlots, ConnectAndDisconnectFollowTheSlotsState) {
  struct Case {
    const char* what;
    std::function<int32_t(int32_t*)> call;
    int32_t result;
    std::vector<int32_t> after;
  };
  const std::vector<Case> cases = {
      {"input into a free slot", [](int32_t* a) { return ConnectInputPort(2, 7, a, 4); }, 0, {11, 7, 33, 0}},
      {"input over a connection", [](int32_t* a) { return ConnectInputPort(1, 7, a, 4); }, -7100, Ports()},
      {"output over a connection", [](int32_t* a) { return ConnectOutputPort(3, 7, a, 4); }, -7101, Ports()},
      {"null connection clears", [](int32_t* a) { return ConnectInputPort(1, 0, a, 4); }, 0, {0, 0, 33, 0}},
      {"disconnect a connection", [](int32_t* a) { return DisconnectPort(3, a, 4); }, 0, {11, 0, 0, 0}},
      {"disconnect an empty slot", [](int32_t* a) { return DisconnectPort(4, a, 4); }, -7107, Ports()},
  };
  for (const auto& c : cases) {
    auto ports = Ports();
    EXPECT_EQ(c.call(ports.data()), c.result) << c.what;
    EXPECT_EQ(ports, c.after) << c.what;
  }
  auto ports = Ports();
  uint8_t connected = 9, isFree = 9;
  EXPECT_EQ(IsPortConnected(3, &connected, ports.data(), 4), 0);
  EXPECT_EQ(connected, 1);
  EXPECT_EQ(IsPortFree(2, &isFree, ports.data(), 4), 0);
  EXPECT_EQ(isFree, 1);
}

TEST(PortSlots, ClearingLeavesArraysWithoutALengthAlone) {
  auto a = Ports(), b = Ports();
  EXPECT_EQ(ClearPortArrays(a.data(), b.data(), 0, 2), 0);
  EXPECT_EQ(a, Ports());
  EXPECT_EQ(b, (std::vector<int32_t>{0, 0, 33, 0}));
  EXPECT_EQ(ClearPortArrays(a.data(), b.data(), 4, -1), 0);
  EXPECT_EQ(a, std::vector<int32_t>(4, 0));
}

TEST(PortSlots, OnlyTheDefaultFormatWithARateIsAccepted) {
  SPortFormat format{77, 0, 0, 0, 0.0f};
  EXPECT_EQ(GetDefaultPortFormat(0, 0, &format), 0);
  EXPECT_EQ(format.mUnused, 77);
  EXPECT_EQ(format.mWord1, 1);
  EXPECT_EQ(format.mWord2, 2);
  EXPECT_EQ(format.mWord3, 1);
  EXPECT_EQ(format.mSampleRate, 44100.0f);
  EXPECT_EQ(CheckPortFormat(0, 0, &format), 0);
  const SPortFormat refused[] = {{0, 1, 2, 1, 0.0f}, {0, 2, 2, 1, 48000.0f}, {0, 1, 1, 1, 48000.0f},
                                 {0, 1, 2, 2, 48000.0f}};
  for (const auto& f : refused) EXPECT_EQ(CheckPortFormat(0, 0, &f), -7104);
}

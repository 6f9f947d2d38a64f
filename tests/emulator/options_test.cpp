// The command line of vesk-emulator.
#include <gtest/gtest.h>

#include "emulator/program/options.h"

namespace emu {
namespace {

std::optional<Options> Parse(std::vector<std::string> args, std::string* error = nullptr) {
  std::string e;
  auto o = ParseOptions(args, e);
  if (error) *error = e;
  return o;
}

TEST(EmulatorOptions, FlagsSetTheFaultSwitches) {
  const auto o = Parse({"--api", "alsa", "--device-id", "16", "--delay", "20", "--late", "7000", "--unsolicited", "5",
                        "--repeat", "3", "--mangle", "non-nibble", "--mangle-kind", "2", "--status", "4", "--fault-count", "2",
                        "--connect", "tavoro", "--silent"});
  ASSERT_TRUE(o);
  EXPECT_EQ(o->api, "alsa");
  EXPECT_EQ(o->deviceId, 16);
  EXPECT_EQ(o->connect, "tavoro");
  EXPECT_EQ(o->faults.replyDelayMs, 20);
  EXPECT_EQ(o->faults.lateMs, 7000);
  EXPECT_TRUE(o->faults.unsolicited);
  EXPECT_EQ(o->faults.unsolicitedGapMs, 5);
  EXPECT_EQ(o->faults.repeat, 3);
  EXPECT_EQ(o->faults.mangle, Mangle::NonNibble);
  EXPECT_EQ(o->faults.mangleKind, 2);
  EXPECT_EQ(o->faults.forcedStatus, 4);
  EXPECT_TRUE(o->faults.silent);
  EXPECT_EQ(o->faultCount, 2);
  EXPECT_EQ(Parse({"--busy"})->faults.forcedStatus, 9);
  EXPECT_EQ(Parse({"--disk-delay", "1500"})->diskDelayMs, 1500);
  EXPECT_EQ(Parse({})->diskDelayMs, 0);
  EXPECT_EQ(Parse({})->name, "Vesk Emulator");
}

TEST(EmulatorOptions, RequestLimitDirectoryOrderAndLowestNumber) {
  const auto o = Parse({"--only", "dump:1", "--dir-order", "0:5,2,9", "--lowest", "3:4"});
  ASSERT_TRUE(o);
  EXPECT_EQ(o->faults.only, Request::Dump);
  EXPECT_EQ(o->faults.onlyKind, 1);
  EXPECT_EQ(o->listing.order[0], (std::vector<int>{5, 2, 9}));
  EXPECT_EQ(o->listing.lowest[3], 4);
  EXPECT_EQ(o->listing.lowest[0], -1);
  EXPECT_EQ(Parse({"--only", "global"})->faults.onlyKind, -1);
  for (const std::vector<std::string>& bad :
       {std::vector<std::string>{"--only", "dump:9"}, {"--only", "disk"}, {"--dir-order", "5:1"},
        {"--dir-order", "0:1,,2"}, {"--lowest", "1:2,3"}, {"--lowest", "1"}}) {
    std::string error;
    EXPECT_FALSE(Parse(bad, &error)) << bad[1];
    EXPECT_NE(error.find(bad[0]), std::string::npos) << error;
  }
}

TEST(EmulatorOptions, BadFlagsAreRefusedWithAReason) {
  std::string error;
  EXPECT_FALSE(Parse({"--api", "oss"}, &error));
  EXPECT_NE(error.find("jack or alsa"), std::string::npos);
  EXPECT_FALSE(Parse({"--device-id", "128"}, &error));
  EXPECT_FALSE(Parse({"--delay"}, &error));
  EXPECT_NE(error.find("needs a value"), std::string::npos);
  EXPECT_FALSE(Parse({"--disk-delay", "-1"}, &error));
  EXPECT_FALSE(Parse({"--delay", "5ms"}, &error));
  EXPECT_FALSE(Parse({"--mangle", "chewed"}, &error));
  EXPECT_FALSE(Parse({"--frobnicate"}, &error));
}

}  // namespace
}  // namespace emu

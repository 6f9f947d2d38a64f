// Opening the MIDI ports: the control operations in order, with the trace line before each.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>
#include <iterator>

#include "tests/link/link_fixture.h"

namespace tavoro::testing {
namespace {

class Ports : public LinkFixture {
 protected:
  void SetUp() override {
    LinkFixture::SetUp();
    link->onControlLog = [this](const std::string& s) { log.push_back(s); };
    link->settings.InDeviceName = "Vesk Emulator";
    link->settings.OutDeviceName = "Vesk Emulator";
  }
  std::string ReadTrace() {
    trace.DebugTrace.Close();
    std::ifstream f(tracePath, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(f)), {});
  }
  void StartTrace() {
    tracePath = dir.filePath("tavoro.dbg").toStdString();
    ASSERT_TRUE(trace.DebugTrace.Open(tracePath));
    trace.DebugMode = true;
  }
  std::vector<std::string> log;
  QTemporaryDir dir;
  std::string tracePath;
};

const std::vector<std::string> kFirstInputOpen = {
    "trace OpenInputDevice()",
    "in.device 0",
    "trace OpenInputDevice(): MIDIIN_OPEN Vesk Emulator",
    "in.action 1",
    "trace OpenInputDevice(): MIDIIN_START Vesk Emulator",
    "in.action 4",
    "trace OpenInputDevice(): FILTER_F9 True Vesk Emulator",
    "in.filter F9 1",
    "trace OpenInputDevice(): FILTER_ACTIVE_SENSE True Vesk Emulator",
    "in.filter FE 1",
    "trace OpenInputDevice(): FILTER_CLOCK True Vesk Emulator",
    "in.filter F8 1",
};

TEST_F(Ports, InputOpensStartsAndFilters) {
  ASSERT_TRUE(link->OpenInputDevice());
  EXPECT_EQ(log, kFirstInputOpen);
  EXPECT_EQ(in->PortOpen(), 1);
  EXPECT_TRUE(in->Filter(0xF9));
  EXPECT_TRUE(in->Filter(0xFE));
  EXPECT_TRUE(in->Filter(0xF8));
  EXPECT_FALSE(in->Filter(0x90));
}

TEST_F(Ports, ReopeningTheInputStopsClosesAndClearsFiltersFirst) {
  StartTrace();
  ASSERT_TRUE(link->OpenInputDevice());
  log.clear();
  ASSERT_TRUE(link->OpenInputDevice());
  std::vector<std::string> expected = {
      "trace OpenInputDevice()",
      "trace OpenInputDevice(): Vesk Emulator| Device already open.",
      "trace OpenInputDevice(): MIDIIN_STOP.",
      "in.action 5",
      "trace OpenInputDevice(): MIDIIN_CLOSE Vesk Emulator",
      "in.action 2",
      "trace OpenInputDevice(): FILTER_F9 False",
      "in.filter F9 0",
      "trace OpenInputDevice(): FILTER_ACTIVE_SENSE False",
      "in.filter FE 0",
      "trace OpenInputDevice(): FILTER_CLOCK False",
      "in.filter F8 0",
  };
  expected.insert(expected.end(), kFirstInputOpen.begin() + 1, kFirstInputOpen.end());
  EXPECT_EQ(log, expected);
  EXPECT_EQ(in->PortOpen(), 1);

  const std::string traced = ReadTrace();
  EXPECT_NE(traced.find("\"OpenInputDevice(): Vesk Emulator\",\" Device already open.\"\r\n"), std::string::npos);
  EXPECT_NE(traced.find("\"OpenInputDevice(): MIDIIN_STOP.\"\r\n"), std::string::npos);
  EXPECT_EQ(std::count(traced.begin(), traced.end(), '\n'), 6 + 12);  // one line per trace step
}

TEST_F(Ports, OutputIsOpenedNotStarted) {
  out->SetDeviceID(0);  // a fresh control starts on -1, the system default
  ASSERT_TRUE(link->OpenOutputDevice());
  EXPECT_EQ(log, (std::vector<std::string>{
                     "trace OpenOutputDevice()",
                     "out.device 0",
                     "trace OpenOutputDevice(): MIDIOUT_OPEN Vesk Emulator",
                     "out.action 1",
                 }));
  EXPECT_EQ(out->PortOpen(), 1);
}

TEST_F(Ports, OutputOnDeviceMinusOneIsStoppedAndClosedEvenWhenClosed) {
  out->SetDeviceID(-1);
  link->settings.OutDeviceId = -1;
  ASSERT_TRUE(link->OpenOutputDevice());
  EXPECT_EQ(log, (std::vector<std::string>{
                     "trace OpenOutputDevice()",
                     "trace OpenOutputDevice(): Vesk Emulator Device already open.",
                     "trace OpenOutputDevice(): MIDIOUT_STOP Vesk Emulator",
                     "out.action 5",
                     "trace OpenOutputDevice(): MIDIOUT_CLOSE Vesk Emulator",
                     "out.action 2",
                     "out.device -1",
                     "trace OpenOutputDevice(): MIDIOUT_OPEN Vesk Emulator",
                     "out.action 1",
                 }));
  EXPECT_EQ(out->PortOpen(), 1);
}

TEST_F(Ports, TraceFileHoldsTheSameLinesOnlyWhileDebugging) {
  ASSERT_TRUE(link->OpenOutputDevice());  // not debugging: nothing written anywhere
  StartTrace();
  ASSERT_TRUE(link->OpenOutputDevice());  // open now: the reopen path
  EXPECT_EQ(ReadTrace(),
            "\"OpenOutputDevice()\"\r\n"
            "\"OpenOutputDevice(): Vesk Emulator Device already open.\"\r\n"
            "\"OpenOutputDevice(): MIDIOUT_STOP Vesk Emulator\"\r\n"
            "\"OpenOutputDevice(): MIDIOUT_CLOSE Vesk Emulator\"\r\n"
            "\"OpenOutputDevice(): MIDIOUT_OPEN Vesk Emulator\"\r\n");
}

TEST_F(Ports, AFailingOpenEndsInItsBox) {
  link->MidiOutBusy = link->MidiInBusy = true;
  ledIn.SetValue(true);
  link->settings.InDeviceId = 5;  // no such device
  EXPECT_FALSE(link->OpenInputDevice());
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "OpenInputDevice()\r\nError opening MIDI input device");
  EXPECT_EQ(log.back(), "in.device 5");  // ended at the failing step
  EXPECT_EQ(in->PortOpen(), 0);
  EXPECT_FALSE(link->MidiOutBusy);
  EXPECT_FALSE(link->MidiInBusy);
  EXPECT_FALSE(ledIn.Value());

  link->settings.OutDeviceId = 3;
  EXPECT_FALSE(link->OpenOutputDevice());
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_EQ(boxes.boxes[1].text, "OpenOutputDevice()\r\nError opening MIDI output device");
}

}  // namespace
}  // namespace tavoro::testing

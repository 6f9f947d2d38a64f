// Link start-up on its own: a link over the loopback bus to the emulator and a recording stand-in
// for the main window, so the order of what Initialise asks of the window can be seen.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "emulator/loopback/loopback_peer.h"
#include "link/startup.h"
#include "platform/ui/message_box.h"
#include "platform/ui/wait.h"
#include "tests/link/recording_host.h"

namespace tavoro::testing {
namespace {

class RecordingStartupHost : public StartupHost {
 public:
  void SetCommandEnabled(Command command, bool enabled) override {
    static const char* names[] = {"LoadBank", "DeleteObject", "DeleteMenu", "StereoMerge", "StereoMergeMenu"};
    calls.push_back(std::string(enabled ? "enable " : "disable ") + names[static_cast<int>(command)]);
  }
  void BuildControlLists() override {
    calls.push_back("lists");
    if (listsFail) throw std::runtime_error("a page control is missing");
  }
  void ClearObjDisplay(std::uint8_t kind) override { calls.push_back("clear " + std::to_string(kind)); }
  bool AllObjectsDump() override {
    calls.push_back("download");
    return downloadResult;
  }
  void Tavorotab_Click() override { calls.push_back(std::string("refresh") + (suppress ? " suppressed" : "")); }
  std::int32_t FreeRamKw() override { return freeRam; }
  void SetWaveScrollIndex(std::int16_t index) override { calls.push_back("scroll " + std::to_string(index)); }
  void SetSuppressChange(bool on) override { suppress = on; }

  std::vector<std::string> calls;
  bool listsFail = false;
  bool downloadResult = true;
  bool suppress = false;
  std::int32_t freeRam = 2048;
};

class InitialiseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::ResetWaitsEnding();
    plat::SetTimeoutScale(0.05);
    peer = std::make_unique<emu::LoopbackPeer>();
    in = std::make_unique<plat::MIDIInput>();
    out = std::make_unique<plat::MIDIOutput>();
    link = std::make_unique<Link>(LinkParts{*in, *out, ledIn, ledOut, host, trace});
  }
  void TearDown() override {
    link.reset();
    in.reset();
    out.reset();
    peer.reset();
    plat::SetTimeoutScale(1.0);
  }

  plat::BoxRecorder boxes;
  plat::PlainLamp ledIn, ledOut;
  RecordingHost host;
  RecordingStartupHost window;
  StartupTrace trace;
  std::unique_ptr<emu::LoopbackPeer> peer;
  std::unique_ptr<plat::MIDIInput> in;
  std::unique_ptr<plat::MIDIOutput> out;
  std::unique_ptr<Link> link;
};

TEST_F(InitialiseTest, OnlinePathInOrder) {
  EXPECT_EQ(Initialise(*link, window), InitResult::Online);
  EXPECT_EQ(window.calls, (std::vector<std::string>{"scroll -1", "lists", "enable LoadBank", "download",
                                                    "enable LoadBank", "refresh suppressed"}));
  EXPECT_FALSE(window.suppress);
  EXPECT_EQ(link->LinkState, 1);
  EXPECT_EQ(host.panels[8], "ONLINE");
  EXPECT_EQ(host.panels[6], "Free RAM: 2048 kw");
  EXPECT_FALSE(link->MidiInBusy);
  EXPECT_FALSE(ledIn.Value());
  EXPECT_EQ(link->SysExHeader, MakeSysExHeader());
  EXPECT_EQ(in->PortOpen() > 0, true);
  EXPECT_EQ(out->PortOpen() > 0, true);
}

TEST_F(InitialiseTest, OfflinePathClearsEveryPageAndSwitchesOffDeletingAndMerging) {
  peer->vesk().setSilent(true);
  EXPECT_EQ(Initialise(*link, window), InitResult::Offline);
  EXPECT_EQ(window.calls,
            (std::vector<std::string>{"scroll -1", "lists", "clear 0", "clear 1", "clear 2", "clear 3", "clear 4",
                                      "clear 18", "disable DeleteObject", "disable DeleteMenu", "disable StereoMerge",
                                      "disable StereoMergeMenu"}));
  EXPECT_EQ(link->LinkState, -1);
  EXPECT_EQ(host.panels[8], "OFFLINE");
  EXPECT_EQ(host.panels.count(6), 0u);
}

TEST_F(InitialiseTest, FailedDownloadsEndTheOnlinePathThere) {
  window.downloadResult = false;
  EXPECT_EQ(Initialise(*link, window), InitResult::Failed);
  EXPECT_EQ(window.calls, (std::vector<std::string>{"scroll -1", "lists", "enable LoadBank", "download"}));
  EXPECT_EQ(host.panels[8], "ONLINE");
  EXPECT_EQ(host.panels.count(6), 0u);
}

TEST_F(InitialiseTest, AFreeRamOfZeroReadsZeroKilowords) {
  window.freeRam = 0;
  EXPECT_EQ(Initialise(*link, window), InitResult::Online);
  EXPECT_EQ(host.panels[6], "Free RAM: 0 kw");
}

TEST_F(InitialiseTest, AFailureOutsideThePortChecksTakesTheGeneralErrorPath) {
  window.listsFail = true;
  link->MidiOutBusy = true;
  ledOut.SetValue(true);
  EXPECT_EQ(Initialise(*link, window), InitResult::Failed);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "Initialise()\r\n Initialisation error");
  EXPECT_FALSE(link->MidiOutBusy);
  EXPECT_FALSE(ledOut.Value());
  EXPECT_EQ(link->LinkState, 0);  // no prod was sent
  EXPECT_TRUE(peer->vesk().received().empty());
}

}  // namespace
}  // namespace tavoro::testing

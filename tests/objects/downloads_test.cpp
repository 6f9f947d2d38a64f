// The bulk and single downloads against the instrument emulator: what goes on the wire, what the
// store, the status bar and the window (through a recording host) end up with, and the ways a run
// stops early.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "objects/downloads.h"
#include "tests/objects/transfer_fixture.h"

namespace tavoro::testing {
namespace {

using emu::Kind;
using plat::Bytes;

// The window as the downloads see it: every call recorded in order, the header boxes kept.
class RecordingWindow : public DownloadHost {
 public:
  bool LoadDisplay(std::uint8_t kind) override {
    log.push_back("fill " + std::to_string(kind));
    if (onFill) onFill();
    return true;
  }
  void ClearObjDisplay(std::uint8_t kind) override { log.push_back("clear " + std::to_string(kind)); }
  void SetMousePointer(int pointer) override { log.push_back("pointer " + std::to_string(pointer)); }
  void SetCommandEnabled(Command c, bool on) override { commands[static_cast<int>(c)] = on; }
  std::string ObjectNumText() override { return num; }
  void SetObjectNumText(const std::string& text) override { num = text; }
  void SetObjectNameText(const std::string& text) override { name = text; }
  void SetObjectNumLocked(bool locked) override { numLocked = locked; }
  void SetObjectNameLocked(bool locked) override { nameLocked = locked; }
  void SetObjectNumForeColor(long colour) override { numColour = colour; }
  std::string PageLabel() override { return label; }
  std::string PanelTag(int panel) override {
    static const char* tags[] = {"", "p#", "m#", "t#", "w#", "mu#", "freeMem", "currBank", "Veskstatus", "IO"};
    return panel >= 1 && panel <= 9 ? tags[panel] : "";
  }

  bool Enabled(Command c) const { return commands.at(static_cast<int>(c)); }
  std::vector<std::string> Of(const std::string& prefix) const {
    std::vector<std::string> r;
    for (const auto& l : log)
      if (l.rfind(prefix, 0) == 0) r.push_back(l);
    return r;
  }

  std::vector<std::string> log;
  std::function<void()> onFill;
  std::map<int, bool> commands;
  std::string num, name, label = "p#";
  bool numLocked = false, nameLocked = false;
  long numColour = 255;
};

using Command = DownloadHost::Command;

Bytes Frame(std::initializer_list<std::uint8_t> body) {
  Bytes m{0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F};
  for (auto b : body) m.append(b);
  return m.append(0xF7);
}
Bytes StatusReq(std::uint8_t k) { return Frame({0x12, 0x01, 0x01, k}); }
Bytes DirReq(std::uint8_t k) { return Frame({0x12, 0x02, 0x01, k}); }
Bytes DumpReq(std::uint8_t k, int n) {
  return Frame({0x01, k, 0, 0, 0, 2, 0, 0, static_cast<std::uint8_t>(n >> 4), static_cast<std::uint8_t>(n & 15)});
}
const std::vector<Bytes> kGlobalReqs = {Frame({0x11, 0x02, 0x01, 0x00}),       Frame({0x11, 0x03, 0x02, 0x01, 0x00}),
                                        Frame({0x11, 0x03, 0x02, 0x02, 0x00}), Frame({0x11, 0x03, 0x02, 0x03, 0x00}),
                                        Frame({0x11, 0x03, 0x02, 0x04, 0x00}), Frame({0x11, 0x03, 0x02, 0x05, 0x00}),
                                        Frame({0x32, 0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x01, 0x00, 0x00})};

class DownloadsTest : public TransferFixture {
 protected:
  void SetUp() override {
    TransferFixture::SetUp();
    link->LinkState = 1;
    vesk().clearReceived();
  }
  std::vector<Bytes> Sent() {
    std::vector<Bytes> r;
    for (const auto& m : vesk().received()) r.push_back(ToBytes(m));
    vesk().clearReceived();
    return r;
  }
  // The requests of one kind of the bulk download: status, directory, dump of `first`.
  static void AddKind(std::vector<Bytes>& v, std::uint8_t k, int first) {
    v.push_back(StatusReq(k));
    v.push_back(DirReq(k));
    v.push_back(DumpReq(k, first));
  }
  bool Bulk() { return AllObjectsDump(*xfer, window); }
  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> t;
    for (const auto& b : boxes.boxes) t.push_back(b.text);
    return t;
  }
  void Single(std::uint8_t kind) { ObjectDownload(*xfer, window, kind); }

  RecordingWindow window;
};

// ------------------------------------------------------------------------- bulk download

TEST_F(DownloadsTest, AFullRunReadsEveryKindsFirstObjectAndTheGlobalData) {
  store.PresetLayerSel = 1;
  ASSERT_TRUE(Bulk());
  std::vector<Bytes> want;
  for (std::uint8_t k = 0; k < 5; ++k) AddKind(want, k, FirstNumber(static_cast<Kind>(k)));
  want.insert(want.end(), kGlobalReqs.begin(), kGlobalReqs.end());
  EXPECT_EQ(Sent(), want);
  EXPECT_EQ(window.log, (std::vector<std::string>{"pointer 11", "fill 0", "fill 1", "fill 2", "fill 3", "fill 4",
                                                  "fill 18", "pointer 0"}));
  EXPECT_EQ(host.panels[kPanelActivity], "Current Bank: Factory Bank 1");
  EXPECT_EQ(host.panels[kPanelFreeRam], "Free RAM: " + std::to_string(emu::FreeSampleKw(vesk().bank())) + " kw");
  EXPECT_EQ(host.panels[kPanelWave], "w# 0");
  for (Command c : {Command::DeleteObject, Command::DeleteMenu, Command::StereoMerge, Command::StereoMergeMenu})
    EXPECT_TRUE(window.Enabled(c));
  for (ObjType k : {ObjType::Wave, ObjType::Tone, ObjType::Map, ObjType::Preset, ObjType::Multi})
    EXPECT_EQ(StoreOf(store, k).DirIdx, 0);
  EXPECT_EQ(store.PresetLayerSel, 0);
  EXPECT_EQ(store.GlobalData.BankName, "Factory Bank 1");
  EXPECT_TRUE(boxes.boxes.empty());
  ExpectIdle();
}

TEST_F(DownloadsTest, OfflineOnEntryChangesOnlyTheLinkPanel) {
  link->LinkState = -1;
  EXPECT_FALSE(Bulk());
  EXPECT_TRUE(Sent().empty());
  EXPECT_TRUE(window.log.empty()) << "the pointer is left as it was";
  EXPECT_EQ(host.panels, (std::map<int, std::string>{{kPanelLinkState, "OFFLINE"}}));
}

TEST_F(DownloadsTest, AKindWithoutObjectsKeepsItsDirectoryAndClearsItsPage) {
  store.WaveDir.Count = 1;
  store.WaveDir.Entries = {DirEntry{0, 7, "Old"}};
  store.WaveDirIdx = 0;
  vesk().bank().of(Kind::Wave).clear();
  window.commands[static_cast<int>(Command::StereoMerge)] = true;
  ASSERT_TRUE(Bulk());
  EXPECT_EQ(store.WaveDir.Entries.size(), 1u);
  EXPECT_EQ(store.WaveDirIdx, 0);
  EXPECT_EQ(host.panels[kPanelWave], "w# -");
  EXPECT_FALSE(window.Enabled(Command::StereoMerge));
  EXPECT_FALSE(window.Enabled(Command::StereoMergeMenu));
  EXPECT_TRUE(window.numLocked);
  EXPECT_TRUE(window.nameLocked);
  EXPECT_TRUE(window.Enabled(Command::DeleteObject)) << "the later kinds enable it again";
  EXPECT_EQ(window.log.at(1), "clear 0");
  const auto sent = Sent();
  EXPECT_EQ(sent.at(0), StatusReq(0));
  EXPECT_EQ(sent.at(1), StatusReq(1)) << "no Wave directory or dump";
}

TEST_F(DownloadsTest, MapsWithoutTonesAreReadButNotShown) {
  vesk().bank().of(Kind::Tone).clear();
  ASSERT_TRUE(Bulk());
  EXPECT_EQ(window.Of("fill"), (std::vector<std::string>{"fill 0", "fill 3", "fill 4", "fill 18"}));
  EXPECT_EQ(window.Of("clear"), (std::vector<std::string>{"clear 1"}));
  EXPECT_EQ(store.MapDump, EmuDump(Kind::Map, FirstNumber(Kind::Map)));
}

TEST_F(DownloadsTest, TheEntryOfTheLowestNumberIsTakenWhereverTheDirectoryListsIt) {
  vesk().setDirectoryOrder(Kind::Wave, {5, 2, 12});
  vesk().setReportedLowest(Kind::Wave, 2);
  ASSERT_TRUE(Bulk());
  EXPECT_EQ(store.WaveDirIdx, 1);
  EXPECT_EQ(store.CurWave.Number, 2);
  EXPECT_EQ(Sent().at(2), DumpReq(0, 2));
}

TEST_F(DownloadsTest, ALowestNumberMissingFromTheDirectoryEndsTheRun) {
  vesk().setReportedLowest(Kind::Wave, 4);
  store.WaveDirIdx = 3;
  EXPECT_FALSE(Bulk());
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "AllObjectsDump()\r\nError Downloading requested object");
  EXPECT_EQ(boxes.boxes[0].icon, plat::BoxIcon::Critical);
  EXPECT_EQ(store.WaveDirIdx, -1) << "no entry, not one past the last";
  EXPECT_EQ(window.log, (std::vector<std::string>{"pointer 11", "pointer 0"}));
  EXPECT_EQ(Sent(), (std::vector<Bytes>{StatusReq(0), DirReq(0)})) << "neither the Tones nor the Global data";
  EXPECT_EQ(host.panels[kPanelActivity], "Checking Wave status...");
  EXPECT_FALSE(ledOut.Value());
  ExpectIdle();
}

TEST_F(DownloadsTest, ATimeOutDuringTheToneDumpStopsAfterTheTones) {
  vesk().setFaultsOnly(emu::Request::Dump, 1);
  vesk().setSilent(true);
  EXPECT_FALSE(Bulk());
  EXPECT_EQ(link->LinkState, -1);
  EXPECT_EQ(host.panels[kPanelLinkState], "OFFLINE");
  EXPECT_EQ(window.log, (std::vector<std::string>{"pointer 11", "fill 0", "pointer 0"}));
  EXPECT_TRUE(window.Enabled(Command::DeleteObject)) << "the Tone kind was finished";
  const auto sent = Sent();
  ASSERT_EQ(sent.size(), 6u);
  EXPECT_EQ(sent.back(), DumpReq(1, 0));
}

TEST_F(DownloadsTest, AProgramClosedWhileTheWavesAreShownReadsAndShowsNothingMore) {
  window.onFill = [] { plat::RequestWaitsEnd(); };
  EXPECT_FALSE(Bulk());
  EXPECT_EQ(window.log, (std::vector<std::string>{"pointer 11", "fill 0", "pointer 0"}));
  EXPECT_EQ(Sent().size(), 3u) << "the Waves' status, directory and first dump";
  EXPECT_EQ(host.panels[kPanelActivity], "Downloading Wave w#" + std::to_string(FirstNumber(Kind::Wave)) + "...");
  EXPECT_TRUE(boxes.boxes.empty());
}

// ------------------------------------------------------------------------- single download

TEST_F(DownloadsTest, KindsOutsideZeroToFourDoNothing) {
  for (std::uint8_t kind : {5, 6, 18, 127}) Single(kind);
  EXPECT_TRUE(Sent().empty());
  EXPECT_TRUE(window.log.empty());
  EXPECT_TRUE(host.panels.empty());
}

TEST_F(DownloadsTest, AnEmptyNumberBoxAsksForANumber) {
  window.numLocked = true;
  Single(0);
  EXPECT_EQ(Sent(), (std::vector<Bytes>{StatusReq(0), DirReq(0)}));
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "Please select a Wave number to download");
  EXPECT_EQ(boxes.boxes[0].icon, plat::BoxIcon::None);
  EXPECT_EQ(boxes.boxes[0].title, "");
  EXPECT_FALSE(window.numLocked);
  EXPECT_TRUE(window.log.empty()) << "the page is not refilled";
  EXPECT_EQ(host.panels[kPanelFreeRam], "Free RAM: " + std::to_string(emu::FreeSampleKw(vesk().bank())) + " kw");
}

TEST_F(DownloadsTest, NoObjectsOfAKind) {
  struct Case {
    Kind kind;
    std::string box;                // empty: none
    std::vector<std::string> page;  // what the window did
  };
  const Case cases[] = {
      {Kind::Wave, "Download wave Object\r\nThere are no Wave Objects loaded into the Vesk", {}},
      {Kind::Tone, "Download Tone Object\r\nThere are no Tone Objects loaded into the Vesk", {}},
      {Kind::Map, "Download map Object\r\nThere are no Map Objects loaded into the Vesk", {}},
      {Kind::Preset, "Download Preset Object\r\nThere are no Preset Objects loaded into the Vesk", {}},
      {Kind::Multi, "", {"clear 4", "fill 18"}},  // the Global data are still read and shown
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.kind));
    vesk().bank().of(c.kind).clear();
    boxes.boxes.clear();
    window.log.clear();
    window.num = "3";
    window.numLocked = window.nameLocked = false;
    Single(static_cast<std::uint8_t>(c.kind));
    EXPECT_EQ(BoxTexts(), c.box.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.box});
    EXPECT_EQ(window.log, c.page);
    EXPECT_EQ(window.numLocked && window.nameLocked, c.kind == Kind::Multi);
    const auto sent = Sent();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent[0], StatusReq(static_cast<std::uint8_t>(c.kind)));
    EXPECT_EQ(sent.size(), c.kind == Kind::Multi ? 8u : 1u);
  }
}

TEST_F(DownloadsTest, AMultiReadWhileTheGlobalPageIsShown) {
  ASSERT_TRUE(Bulk());
  store.MultiDirIdx = 1;  // as the number change leaves it
  Sent();
  window.log.clear();
  window.label = "mu#";
  window.num = "1";
  window.numLocked = window.nameLocked = true;
  Single(4);
  std::vector<Bytes> want{StatusReq(4), DirReq(4), DumpReq(4, 1)};
  want.insert(want.end(), kGlobalReqs.begin(), kGlobalReqs.end());
  EXPECT_EQ(Sent(), want);
  EXPECT_EQ(window.log, (std::vector<std::string>{"fill 18", "fill 4"}));
  EXPECT_EQ(host.panels[kPanelMulti], "mu# 1");
  EXPECT_EQ(window.name, "Live Rig");
  EXPECT_FALSE(window.numLocked);
  EXPECT_FALSE(window.nameLocked);
  EXPECT_EQ(window.numColour, 0);
  EXPECT_EQ(host.panels[kPanelActivity], "Current Bank: Factory Bank 1");
  EXPECT_EQ(store.MultiDirIdx, 1);
}

TEST_F(DownloadsTest, TheNumberShownAfterwardsIsTheEntryAtTheDirectoryIndex) {
  ASSERT_TRUE(Bulk());
  store.ToneDirIdx = 2;  // Tone 2
  window.label = "p#";   // the Preset page is shown: its panel gets the number
  window.num = "7";
  host.panels.clear();
  Single(1);
  EXPECT_EQ(store.CurTone.Number, 7) << "the number typed is read";
  EXPECT_EQ(window.num, "2");
  EXPECT_EQ(host.panels[kPanelPreset], "p# 2");
  EXPECT_EQ(host.panels[kPanelTone], "t# 7") << "written by the dump itself";
}

TEST_F(DownloadsTest, FailuresTakeTheErrorPath) {
  struct Case {
    const char* number;
    std::int16_t dirIdx;
    bool filled;  // the page was refilled before the failure
  };
  const Case cases[] = {
      {"40000", 0, false}, {"12a", 0, false}, {"-", 0, false},
      {"2", 5, true},  // an index past the directory's end
      {"2", -1, true},
  };
  ASSERT_TRUE(Bulk());
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.number) + " at " + std::to_string(c.dirIdx));
    boxes.boxes.clear();
    window.log.clear();
    window.num = c.number;
    window.numColour = 255;
    store.WaveDirIdx = c.dirIdx;
    link->MidiOutBusy = true;
    ledOut.SetValue(true);
    Single(0);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "ObjectDownload() \r\nError uploading data object to Vesk");
    EXPECT_EQ(window.Of("fill"), c.filled ? std::vector<std::string>{"fill 0"} : std::vector<std::string>{});
    EXPECT_EQ(window.num, c.number) << "the box keeps what was typed";
    EXPECT_EQ(window.numColour, 255);
    EXPECT_FALSE(ledOut.Value());
    ExpectIdle();
  }
}

}  // namespace
}  // namespace tavoro::testing

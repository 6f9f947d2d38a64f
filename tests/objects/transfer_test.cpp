// The object transfer against the instrument emulator over the loopback bus: requests on the
// wire, every kind read into the store, uploads byte for byte, round trips, and the ways a read
// can go wrong, each leaving the store as it was.
#include <gtest/gtest.h>

#include "objects/codec.h"
#include "objects/parsers.h"
#include "tests/objects/transfer_fixture.h"

namespace tavoro::testing {
namespace {

using emu::Kind;
using plat::Bytes;

constexpr Kind kKinds[] = {Kind::Wave, Kind::Tone, Kind::Map, Kind::Preset, Kind::Multi};

bool Dump(ObjectTransfer& x, Kind k, std::int16_t n) {
  switch (k) {
    case Kind::Wave: return x.WaveObjDump(n);
    case Kind::Tone: return x.ToneObjDump(n);
    case Kind::Map: return x.MapObjDump(n);
    case Kind::Preset: return x.PresetObjDump(n);
    case Kind::Multi: return x.MultiObjDump(n);
    default: return false;
  }
}

ObjType Obj(Kind k) { return static_cast<ObjType>(static_cast<std::uint8_t>(k)); }

Bytes Frame(std::initializer_list<std::uint8_t> body) {
  Bytes m{0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F};
  for (auto b : body) m.append(b);
  return m.append(0xF7);
}

// ------------------------------------------------------------------------- reading

TEST_F(TransferFixture, EveryKindsStatusDirectoryAndFirstObject) {
  for (Kind k : kKinds) {
    SCOPED_TRACE(static_cast<int>(k));
    const auto& objects = vesk().bank().of(k);
    const auto t = static_cast<std::int16_t>(k);
    const ObjDirStatus s = xfer->GetObjDirStatus(t);
    EXPECT_EQ(s.ObjCount, static_cast<int>(objects.size()));
    EXPECT_EQ(s.LowestNum, objects.begin()->first);
    EXPECT_EQ(s.HighestNum, objects.rbegin()->first);
    EXPECT_EQ(s.HighestAllowed, 255);
    EXPECT_EQ(s.FreeSampleRam, emu::FreeSampleKw(vesk().bank()));
    EXPECT_EQ(store.FreeRamKw, emu::FreeSampleKw(vesk().bank()));
    EXPECT_TRUE(StoreOf(store, Obj(k)).Loaded);

    const ObjDir d = xfer->GetObjDir(t);
    ASSERT_EQ(d.Count, static_cast<int>(objects.size()));
    ASSERT_EQ(d.Entries.size(), objects.size());
    std::size_t i = 0;
    for (const auto& [num, dump] : objects) {
      EXPECT_EQ(d.Entries[i].Index, static_cast<int>(i));
      EXPECT_EQ(d.Entries[i].Number, num);
      EXPECT_EQ(d.Entries[i].Name, NameText(ToBytes(dump), 20));
      ++i;
    }

    const int first = d.Entries[0].Number;
    ASSERT_TRUE(Dump(*xfer, k, static_cast<std::int16_t>(first)));
    EXPECT_EQ(StoreOf(store, Obj(k)).Dump, EmuDump(k, first));
  }
  EXPECT_EQ(store.CurWave.Name, "Grand Piano C4");
  EXPECT_EQ(store.CurWave.WavePitch, 6000);
  EXPECT_EQ(store.WaveLoopOn, 1);
  EXPECT_EQ(store.CurMap.Name, "Piano Full    ");
  EXPECT_EQ(store.CurMap.Zones.size(), 1u);
  EXPECT_EQ(store.ZoneColour, std::vector<ColourValue>{0xD9FFD9});
  EXPECT_EQ(store.MapHeaderMsg, MakeMapHeaderMsg(store.MapDump));
  EXPECT_EQ(host.panels[kPanelWave], "w# 0");
  EXPECT_EQ(host.panels[kPanelTone], "t# " + std::to_string(store.CurTone.Number));
  EXPECT_EQ(host.panels[kPanelMap], "m# 0");
  EXPECT_EQ(host.panels[kPanelPreset], "p# " + std::to_string(store.CurPreset.Number));
  EXPECT_EQ(host.panels[kPanelMulti], "mu# " + std::to_string(store.CurMulti.Number));

  ASSERT_TRUE(xfer->GlobalObjDump());
  EXPECT_EQ(store.GlobalData.BankName, "Factory Bank 1");
  EXPECT_EQ(store.GlobalData.ReceiveMode, 2);
  EXPECT_EQ(store.GlobalData.OmniPolyVolume, 127);
  EXPECT_EQ(store.GlobalData.MasterTune, 0);
  EXPECT_TRUE(boxes.boxes.empty());
  ExpectIdle();
}

TEST_F(TransferFixture, RequestsOnTheWire) {
  xfer->WaveObjDump(37);  // not in the bank: refused by the instrument, nothing changes
  EXPECT_EQ(LastSent(), Frame({0x01, 0x00, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x02, 0x05}));
  xfer->MultiObjDump(20);
  EXPECT_EQ(LastSent(), Frame({0x01, 0x04, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x01, 0x04}));
  xfer->ToneObjDump(300);  // all four digits: never a character above 15
  EXPECT_EQ(LastSent(), Frame({0x01, 0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x01, 0x02, 0x0C}));
  xfer->GetObjDirStatus(3);
  EXPECT_EQ(LastSent(), Frame({0x12, 0x01, 0x01, 0x03}));
  xfer->GetObjDir(2);
  EXPECT_EQ(LastSent(), Frame({0x12, 0x02, 0x01, 0x02}));
  xfer->GlobalObjDump();
  const auto& r = vesk().received();
  ASSERT_GE(r.size(), 7u);
  EXPECT_EQ(ToBytes(r[r.size() - 7]), Frame({0x11, 0x02, 0x01, 0x00}));
  EXPECT_EQ(ToBytes(r[r.size() - 6]), Frame({0x11, 0x03, 0x02, 0x01, 0x00}));
  EXPECT_EQ(ToBytes(r[r.size() - 2]), Frame({0x11, 0x03, 0x02, 0x05, 0x00}));
  EXPECT_EQ(ToBytes(r.back()), Frame({0x32, 0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x01, 0x00, 0x00}));
  EXPECT_TRUE(boxes.boxes.empty());
  ExpectIdle();
}

TEST_F(TransferFixture, RefusedNumbersAreNeverSent) {
  const std::size_t sent = vesk().received().size();
  EXPECT_FALSE(xfer->WaveObjDump(-1));
  EXPECT_EQ(vesk().received().size(), sent);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "WaveObjDump()\r\nError downloading Wave object from Vesk");

  // A Multi request carries the number / 16 in one byte: 4095 is the last it can name.
  struct Case { std::int16_t number; bool sent; };
  for (const Case c : {Case{4096, false}, Case{32767, false}, Case{4095, true}}) {
    boxes.boxes.clear();
    store.MultiLoaded = true;
    const std::size_t before = vesk().received().size();
    EXPECT_FALSE(xfer->MultiObjDump(c.number));
    EXPECT_EQ(vesk().received().size(), before + (c.sent ? 1 : 0)) << c.number;
    EXPECT_EQ(store.MultiLoaded, c.sent) << c.number;
    ASSERT_EQ(boxes.boxes.size(), c.sent ? 0u : 1u) << c.number;
    if (!c.sent) {
      EXPECT_EQ(boxes.boxes[0].text, "MultiObjDump()\r\nError downloading Multi object from Vesk");
    }
  }
  boxes.boxes.clear();
  const std::size_t sentBeforeZones = vesk().received().size();

  // The zone messages carry two nibbles for the Map number.
  ASSERT_TRUE(xfer->MapObjDump(1));
  store.MapLoaded = true;
  store.CurMap.Number = 256;
  EXPECT_FALSE(xfer->MapZoneObjDump());
  EXPECT_FALSE(xfer->ObjectUpload(ObjType::MapZone, 256, std::int16_t{1}, 30, 2, true));
  EXPECT_EQ(vesk().received().size(), sentBeforeZones + 1);
  ExpectIdle();
}

TEST_F(TransferFixture, DirectoryStatusOfAnEmptyKind) {
  vesk().bank().of(Kind::Multi).clear();
  store.MultiLoaded = true;
  const ObjDirStatus s = xfer->GetObjDirStatus(4);
  EXPECT_EQ(s.ObjCount, 0);
  EXPECT_FALSE(store.MultiLoaded);
  EXPECT_EQ(store.FreeRamKw, emu::FreeSampleKw(vesk().bank()));
  const ObjDir d = xfer->GetObjDir(4);
  EXPECT_EQ(d.Count, 0);
  EXPECT_TRUE(d.Entries.empty());
  ExpectIdle();
}

// ------------------------------------------------------------------------- uploads

TEST_F(TransferFixture, ToneValueAtFiftyFourByteForByte) {
  const int n = FirstNumber(Kind::Tone);
  ASSERT_TRUE(xfer->ToneObjDump(static_cast<std::int16_t>(n)));
  const Bytes image = store.ToneDump;
  ASSERT_TRUE(xfer->ObjectUpload(ObjType::Tone, static_cast<std::int16_t>(n), std::int16_t{5}, 54, 2, true));
  Bytes want = image;
  want.set(54, 0);
  want.set(55, 5);
  want.set(14, 0);
  want.set(15, 0);
  want.set(16, static_cast<std::uint8_t>(n >> 4));
  want.set(17, static_cast<std::uint8_t>(n & 15));
  EXPECT_EQ(LastSent(), want);
  EXPECT_EQ(store.ToneDump, image);  // the stored image changes only by a new download
  ASSERT_TRUE(xfer->ToneObjDump(static_cast<std::int16_t>(n)));
  EXPECT_EQ(store.CurTone.Env1Att, 5);
  ExpectIdle();
}

TEST_F(TransferFixture, NameUploadPadsWithBlanks) {
  ASSERT_TRUE(xfer->WaveObjDump(2));
  ASSERT_TRUE(xfer->ObjectUpload(ObjType::Wave, 2, std::string("Snare"), 20, 28, true));
  const Bytes sent = LastSent();
  EXPECT_EQ(sent.mid(20, 10), (Bytes{5, 3, 6, 14, 6, 1, 7, 2, 6, 5}));
  for (std::size_t p = 30; p < 48; p += 2) EXPECT_EQ(sent.mid(p, 2), (Bytes{2, 0})) << p;
  ASSERT_TRUE(xfer->WaveObjDump(2));
  EXPECT_EQ(store.CurWave.Name, "Snare         ");
}

TEST_F(TransferFixture, MapZoneMessagesAddressTheZoneByTheOtherKey) {
  ASSERT_TRUE(xfer->MapObjDump(1));
  store.MapLoaded = true;
  store.CurZoneIdx = 1;  // keys 48-83
  const Bytes zone = store.ZoneMsgs[1];

  // Low key edit: addressed by the zone's high key.
  ASSERT_TRUE(xfer->ObjectUpload(ObjType::MapZone, 1, std::int16_t{50}, 24, 2, true));
  Bytes want = Frame({0x02, 0x06, 0x00, 0x00, 0x01, 0x03, 5, 3, 0, 1, 0, 0});
  want = want.mid(1, want.size() - 1);
  want += zone;
  want.append(0xF7);
  want.set(24, 3);
  want.set(25, 2);
  ASSERT_EQ(LastSent().size(), 52u);
  EXPECT_EQ(LastSent(), want);

  EXPECT_FALSE(xfer->MapZoneObjDump());  // re-read by its old low key 48: no such zone now
  store.CurMap.Zones[1].LowKey = 50;    // as the Map sender writes the accepted value
  ASSERT_TRUE(xfer->MapZoneObjDump());
  EXPECT_EQ(store.CurMap.Zones[1].LowKey, 50);
  EXPECT_EQ(store.ZoneMsgs[1].mid(5, 2), (Bytes{3, 2}));
  EXPECT_EQ(store.MapDump.mid(84 + 32, 32), store.ZoneMsgs[1]) << "the whole-Map copy carries the re-read zone";

  // High key edit: addressed by the zone's low key.
  ASSERT_TRUE(xfer->ObjectUpload(ObjType::MapZone, 1, std::int16_t{80}, 26, 2, true));
  const Bytes sent = LastSent();
  EXPECT_EQ(sent.mid(14, 6), (Bytes{3, 2, 0, 1, 0, 0}));
  EXPECT_EQ(sent.mid(26, 2), (Bytes{5, 0}));
  ASSERT_TRUE(xfer->MapObjDump(1));
  EXPECT_EQ(store.CurMap.Zones[1].LowKey, 50);
  EXPECT_EQ(store.CurMap.Zones[1].HighKey, 80);
  EXPECT_EQ(store.CurMap.Zones[0].HighKey, 47);
}

TEST_F(TransferFixture, MapRenameSendsTheHeaderOnly) {
  ASSERT_TRUE(xfer->MapObjDump(4));
  const MapRecord before = store.CurMap;
  ASSERT_TRUE(xfer->ObjectUpload(ObjType::MapHeader, 4, std::string("Kit"), 20, 28, true));
  const Bytes sent = LastSent();
  ASSERT_EQ(sent.size(), 84u);
  EXPECT_EQ(sent.mid(9, 9), (Bytes{5, 0, 0, 2, 3, 0, 0, 0, 4}));
  ASSERT_TRUE(xfer->MapObjDump(4));
  EXPECT_EQ(store.CurMap.Name, "Kit           ");
  EXPECT_EQ(store.CurMap.Zones, before.Zones);  // the header upload keeps the zones
}

TEST_F(TransferFixture, SendFalseWritesOnlyTheWaveImage) {
  // Nothing read yet: every kind but the Wave ends before its image is looked at.
  for (ObjType k : {ObjType::Tone, ObjType::Map, ObjType::Preset, ObjType::Multi, ObjType::MapHeader, ObjType::MapZone})
    EXPECT_TRUE(xfer->ObjectUpload(k, 3, std::int16_t{9}, 54, 2, false)) << static_cast<int>(k);
  EXPECT_TRUE(boxes.boxes.empty());
  // The value is still encoded first.
  EXPECT_FALSE(xfer->ObjectUpload(ObjType::Tone, 3, std::int16_t{-3}, 54, 2, false));
  EXPECT_EQ(boxes.boxes.size(), 1u);
  boxes.boxes.clear();

  ASSERT_TRUE(xfer->WaveObjDump(1));
  ASSERT_TRUE(xfer->ToneObjDump(static_cast<std::int16_t>(FirstNumber(Kind::Tone))));
  const std::size_t sent = vesk().received().size();
  const Bytes tone = store.ToneDump;
  EXPECT_TRUE(xfer->ObjectUpload(ObjType::Tone, store.CurTone.Number, std::int16_t{9}, 54, 2, false));
  EXPECT_EQ(store.ToneDump, tone);
  // The loop-point check's way: into WaveDump itself, carried by the next Wave upload.
  EXPECT_TRUE(xfer->ObjectUpload(ObjType::Wave, 1, std::int32_t{30000}, 92, 8, false));
  EXPECT_EQ(vesk().received().size(), sent);
  EXPECT_EQ(store.WaveDump.mid(92, 8), HexDigits(30000, ValueWidth::Int32, 8));
  ASSERT_TRUE(xfer->ObjectUpload(ObjType::Wave, 1, std::int32_t{110000}, 100, 8, true));
  EXPECT_EQ(LastSent().mid(92, 8), HexDigits(30000, ValueWidth::Int32, 8));
  EXPECT_EQ(LastSent().mid(100, 8), HexDigits(110000, ValueWidth::Int32, 8));
  ASSERT_TRUE(xfer->WaveObjDump(1));
  EXPECT_EQ(store.CurWave.LoopStart, 30000);
  EXPECT_EQ(store.CurWave.LoopEnd, 110000);
}

TEST_F(TransferFixture, UploadRefusals) {
  const std::size_t sent = vesk().received().size();
  // No Tone read yet: there is no image to send.
  EXPECT_FALSE(xfer->ObjectUpload(ObjType::Tone, 0, std::int16_t{5}, 54, 2, true));
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "ObjectUpload() Upload Tone Object\r\nError uploading data object to Vesk");
  EXPECT_EQ(boxes.boxes[0].icon, plat::BoxIcon::Critical);

  ASSERT_TRUE(xfer->ToneObjDump(static_cast<std::int16_t>(FirstNumber(Kind::Tone))));
  const std::size_t afterDump = vesk().received().size();
  // Too wide for its field: fails in the encoding, before the kind is chosen.
  EXPECT_FALSE(xfer->ObjectUpload(ObjType::Tone, 0, std::int16_t{-3}, 54, 2, true));
  EXPECT_EQ(boxes.boxes.back().text, "ObjectUpload() Upload  Object\r\nError uploading data object to Vesk");
  EXPECT_FALSE(xfer->ObjectUpload(ObjType::Tone, -1, std::int16_t{3}, 54, 2, true));
  EXPECT_FALSE(xfer->ObjectUpload(ObjType::Tone, 0, std::string(256, 'x'), 20, 28, true));
  EXPECT_FALSE(xfer->ObjectUpload(ObjType::Tone, 0, std::string("12x"), 54, 2, true));
  EXPECT_FALSE(xfer->ObjectUpload(ObjType::Global, 0, std::int16_t{1}, 54, 2, true));
  EXPECT_EQ(vesk().received().size(), afterDump);
  EXPECT_EQ(sent + 1, afterDump);
  EXPECT_EQ(boxes.boxes.size(), 6u);
  ExpectIdle();
  EXPECT_FALSE(ledOut.Value());

  // Text values: decimal or "&H" hexadecimal.
  EXPECT_EQ(xfer->ObjectUploadMsg(ObjType::Tone, 0, std::string("&H1F"), 54, 2).mid(54, 2), (Bytes{1, 15}));
  EXPECT_EQ(xfer->ObjectUploadMsg(ObjType::Tone, 0, std::string(" 200"), 54, 2).mid(54, 2), (Bytes{12, 8}));
  EXPECT_EQ(xfer->ObjectUploadMsg(ObjType::Tone, 0, std::string("&HFFFF"), 54, 4).mid(54, 4), (Bytes{15, 15, 15, 15}));
  EXPECT_THROW(xfer->ObjectUploadMsg(ObjType::Tone, 0, std::string("&HFFFFFFFF"), 54, 4), CodecError);
}

TEST_F(TransferFixture, RefusedStatusIsReportedOnce) {
  ASSERT_TRUE(xfer->ToneObjDump(static_cast<std::int16_t>(FirstNumber(Kind::Tone))));
  vesk().setForcedStatus(11);
  EXPECT_FALSE(xfer->ObjectUpload(ObjType::Tone, store.CurTone.Number, std::int16_t{5}, 54, 2, true));
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "Vesk Error\r\nVesk illegal data value encountered");
  ExpectIdle();
}

TEST_F(TransferFixture, RoundTripEveryKindUnchanged) {
  // Dump, upload a field with the value it already has, dump again: identical bytes.
  struct Case { Kind kind; std::int16_t pos; };
  for (const Case c : {Case{Kind::Wave, 48}, Case{Kind::Tone, 50}, Case{Kind::Map, 86}, Case{Kind::Preset, 50},
                       Case{Kind::Multi, 152}}) {
    for (const auto& [num, _] : vesk().bank().of(c.kind)) {
      SCOPED_TRACE(std::to_string(static_cast<int>(c.kind)) + "/" + std::to_string(num));
      const auto n = static_cast<std::int16_t>(num);
      ASSERT_TRUE(Dump(*xfer, c.kind, n));
      const Bytes before = StoreOf(store, Obj(c.kind)).Dump;
      const auto value = static_cast<std::uint8_t>(HexByte(before, static_cast<std::size_t>(c.pos)));
      ASSERT_TRUE(xfer->ObjectUpload(Obj(c.kind), n, value, c.pos, 2, true));
      ASSERT_TRUE(Dump(*xfer, c.kind, n));
      EXPECT_EQ(StoreOf(store, Obj(c.kind)).Dump, before);
    }
  }
  // The Map header and a Map zone.
  ASSERT_TRUE(xfer->MapObjDump(4));
  store.MapLoaded = true;
  const Bytes map = store.MapDump;
  ASSERT_TRUE(xfer->ObjectUpload(ObjType::MapHeader, 4, std::uint8_t{6}, 52, 2, true));
  store.CurZoneIdx = 3;
  ASSERT_TRUE(xfer->MapZoneObjDump());
  const Bytes zone = store.MapZoneDump;
  const auto vol = static_cast<std::uint8_t>(HexByte(store.ZoneMsgs[3], 11));
  ASSERT_TRUE(xfer->ObjectUpload(ObjType::MapZone, 4, vol, 30, 2, true));
  ASSERT_TRUE(xfer->MapZoneObjDump());
  EXPECT_EQ(store.MapZoneDump, zone);
  ASSERT_TRUE(xfer->MapObjDump(4));
  EXPECT_EQ(store.MapDump, map);
  EXPECT_TRUE(boxes.boxes.empty());
}

// ------------------------------------------------------------------------- failed reads

struct Snapshot {
  explicit Snapshot(const ObjectStore& s)
      : wave(s.CurWave), tone(s.CurTone), map(s.CurMap), preset(s.CurPreset), multi(s.CurMulti), global(s.GlobalData),
        dumps{s.WaveDump, s.ToneDump, s.MapDump, s.PresetDump, s.MultiDump}, header(s.MapHeaderMsg),
        zones(s.ZoneMsgs), colours(s.ZoneColour), flags{s.WaveLoopOn, s.WaveLoopDir, s.WaveStereo} {}
  WaveRecord wave;
  ToneRecord tone;
  MapRecord map;
  PresetRecord preset;
  MultiRecord multi;
  GlobalRecord global;
  std::vector<Bytes> dumps;
  Bytes header;
  std::vector<Bytes> zones;
  std::vector<ColourValue> colours;
  std::vector<std::int16_t> flags;
  bool operator==(const Snapshot&) const = default;
};

void LoadAll(TransferFixture& f, ObjectTransfer& x, emu::Vesk& v, ObjectStore& s) {
  (void)f;
  for (Kind k : kKinds) {
    ASSERT_TRUE(Dump(x, k, static_cast<std::int16_t>(v.bank().of(k).begin()->first)));
    StoreOf(s, Obj(k)).Loaded = true;
  }
  ASSERT_TRUE(x.GlobalObjDump());
}

TEST_F(TransferFixture, DamagedDumpsLeaveTheStoreWhole) {
  LoadAll(*this, *xfer, vesk(), store);
  const Snapshot before(store);
  struct Case { emu::Mangle mangle; bool box; };
  for (const Case c : {Case{emu::Mangle::Truncated, false}, Case{emu::Mangle::OverLong, false},
                       Case{emu::Mangle::WrongKind, true}, Case{emu::Mangle::NonNibble, true},
                       Case{emu::Mangle::Garbled, true}, Case{emu::Mangle::Short, false}}) {
    for (Kind k : kKinds) {
      SCOPED_TRACE(std::to_string(static_cast<int>(c.mangle)) + " kind " + std::to_string(static_cast<int>(k)));
      boxes.boxes.clear();
      StoreOf(store, Obj(k)).Loaded = true;
      vesk().setMangle(c.mangle);
      vesk().setFaultCount(1);
      // Numbers other than the first so that a wrongly taken reply would show.
      const int n = vesk().bank().of(k).rbegin()->first;
      EXPECT_FALSE(Dump(*xfer, k, static_cast<std::int16_t>(n)));
      EXPECT_EQ(Snapshot(store), before);
      // A Map reply long enough to hold its zone count goes to the box even when only its
      // length is wrong.
      const bool box = c.box || (k == Kind::Map && c.mangle != emu::Mangle::Short);
      EXPECT_EQ(boxes.boxes.size(), box ? 1u : 0u);
      EXPECT_EQ(StoreOf(store, Obj(k)).Loaded, !box);
      ExpectIdle();
    }
  }
  vesk().clearFaults();
  EXPECT_TRUE(xfer->MapObjDump(1));
}

TEST_F(TransferFixture, DamagedZoneAndDirectoryReplies) {
  ASSERT_TRUE(xfer->MapObjDump(4));
  store.MapLoaded = true;
  store.CurZoneIdx = 2;
  const Snapshot before(store);
  vesk().setMangle(emu::Mangle::NonNibble);
  vesk().setFaultCount(1);
  EXPECT_FALSE(xfer->MapZoneObjDump());
  EXPECT_EQ(Snapshot(store), before);
  EXPECT_TRUE(store.MapLoaded);  // the zone read leaves the Map loaded
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "MapZoneObjDump()\r\nError downloading Map Zone object from Vesk");
  ExpectIdle();

  // A status reply is read by its length alone; a malformed one is a zero record, without a box.
  boxes.boxes.clear();
  struct StatusCase { emu::Mangle mangle; bool read; };
  for (const StatusCase c : {StatusCase{emu::Mangle::WrongKind, true}, StatusCase{emu::Mangle::Truncated, false},
                             StatusCase{emu::Mangle::OverLong, false}, StatusCase{emu::Mangle::NonNibble, false}}) {
    store.ToneLoaded = false;
    vesk().setMangle(c.mangle);
    vesk().setFaultCount(1);
    const ObjDirStatus s = xfer->GetObjDirStatus(1);
    EXPECT_EQ(s.ObjCount > 0, c.read) << static_cast<int>(c.mangle);
    EXPECT_EQ(store.ToneLoaded, c.read) << static_cast<int>(c.mangle);
  }
  // A malformed directory is empty without a box; the kind at 9 is not looked at.
  struct DirCase { emu::Mangle mangle; bool read; };
  for (const DirCase c : {DirCase{emu::Mangle::WrongKind, true}, DirCase{emu::Mangle::OverLong, true},
                          DirCase{emu::Mangle::Truncated, false}, DirCase{emu::Mangle::Garbled, false},
                          DirCase{emu::Mangle::Short, false}}) {
    vesk().setMangle(c.mangle);
    vesk().setFaultCount(1);
    EXPECT_EQ(xfer->GetObjDir(1).Count > 0, c.read) << static_cast<int>(c.mangle);
  }
  EXPECT_TRUE(boxes.boxes.empty());
  // One that ends before the entries its DataLength announces shows the directory's box.
  const Bytes dir = Frame({0x02, 0x01, 0x0, 0x0, 0x3, 0x2, 0, 0, 0, 0});  // three entries announced
  vesk().setSilent(true);
  emulator->sendUnsolicited(ToMessage(dir), 10);
  EXPECT_EQ(xfer->GetObjDir(1), ObjDir{});
  vesk().setSilent(false);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "GetObjDir()\r\nError retrieving Object Directory from Vesk");
  vesk().clearFaults();
  ExpectIdle();
}

TEST_F(TransferFixture, ZoneReadNeedsALoadedMap) {
  const std::size_t sent = vesk().received().size();
  store.MapLoaded = false;
  EXPECT_FALSE(xfer->MapZoneObjDump());
  EXPECT_EQ(vesk().received().size(), sent);
  EXPECT_TRUE(boxes.boxes.empty());
}

// ------------------------------------------------------------------------- time-outs and late replies

TEST_F(TransferFixture, TimeOutInTheMiddleOfTheGlobalRead) {
  LoadAll(*this, *xfer, vesk(), store);
  link->LinkState = 1;
  vesk().bank().global.bankName = "Other Bank    ";
  vesk().bank().global.params = {1, 1, 5, 100, 1};
  const GlobalRecord before = store.GlobalData;
  int sends = 0;
  link->onControlLog = [&](const std::string& what) {
    if (what.rfind("out.sysex", 0) == 0 && ++sends == 4) {
      vesk().setSilent(true);  // the third parameter request (MIDI channel) gets no answer
      vesk().setFaultCount(1);
    }
  };
  EXPECT_FALSE(xfer->GlobalObjDump());
  EXPECT_EQ(sends, 4);
  // What was read before the time-out is kept; the rest is as it was.
  GlobalRecord mixed = before;
  mixed.BankName = "Other Bank    ";
  mixed.PlaybackMode = 1;
  mixed.ReceiveMode = 1;
  EXPECT_EQ(store.GlobalData, mixed);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "\r\nThe specified Vesk Device is not responding");
  EXPECT_EQ(link->LinkState, -1);
  EXPECT_EQ(host.panels[8], "OFFLINE");
  ExpectIdle();

  link->onControlLog = nullptr;
  ASSERT_TRUE(xfer->GlobalObjDump());
  EXPECT_EQ(store.GlobalData.BankName, "Other Bank    ");
  EXPECT_EQ(store.GlobalData.MidiChannel, 5);
  EXPECT_EQ(store.GlobalData.ProgChange, 1);
}

TEST_F(TransferFixture, TimeOutOnADumpKeepsTheObject) {
  LoadAll(*this, *xfer, vesk(), store);
  const Snapshot before(store);
  vesk().setSilent(true);
  for (Kind k : kKinds) EXPECT_FALSE(Dump(*xfer, k, 1));
  EXPECT_EQ(Snapshot(store), before);
  EXPECT_EQ(boxes.boxes.size(), 5u);
  EXPECT_TRUE(store.WaveLoaded);
  ExpectIdle();
}

TEST_F(TransferFixture, StaleLateReplyIsNotTakenAsTheNextOne) {
  LoadAll(*this, *xfer, vesk(), store);
  // The Wave reply comes after the wait has given up, while nothing is asked: dropped.
  vesk().setLateReplies(200);
  vesk().setFaultCount(1);
  EXPECT_FALSE(xfer->WaveObjDump(5));
  RunEventsFor(250);
  EXPECT_EQ(emulator->pendingReplies(), 0);
  ExpectIdle();
  ASSERT_TRUE(xfer->ToneObjDump(3));
  EXPECT_EQ(store.CurTone.Number, 3);
  EXPECT_EQ(store.ToneDump, EmuDump(Kind::Tone, 3));

  // A stale Wave dump that arrives while a Tone is awaited is not taken for the Tone.
  const Snapshot before(store);
  boxes.boxes.clear();
  plat::SetTimeoutScale(0.1);  // 500 ms
  vesk().setReplyDelay(150);
  emulator->sendUnsolicited(vesk().dump(Kind::Wave, 5), 20);
  EXPECT_FALSE(xfer->ToneObjDump(1));
  EXPECT_EQ(Snapshot(store), before);
  RunEventsFor(200);
  vesk().setReplyDelay(0);
  ASSERT_TRUE(xfer->ToneObjDump(1));
  EXPECT_EQ(store.ToneDump, EmuDump(Kind::Tone, 1));
  ExpectIdle();
}

}  // namespace
}  // namespace tavoro::testing

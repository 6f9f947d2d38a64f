// Each dump parser against a reply built by hand from its message table, and against replies
// damaged in each of the ways the checks catch.
#include <gtest/gtest.h>

#include "objects/parsers.h"
#include "tests/objects/golden.h"

using namespace tavoro;
using golden::Put;
using golden::PutHex;
using golden::PutName;
using plat::Bytes;

namespace {

// Every damage a fixed-length reply can carry, each on its own.
template <class ParseFn>
void ExpectDamageRefused(const Bytes& good, std::size_t nonNibblePos, ParseFn parse) {
  ASSERT_EQ(parse(good), ParseFault::None);
  EXPECT_EQ(parse(golden::Shorter(good)), ParseFault::Length);
  EXPECT_EQ(parse(golden::Longer(good)), ParseFault::Length);
  EXPECT_EQ(parse(Bytes{'6', '5'}), ParseFault::Length);
  EXPECT_EQ(parse(Bytes{}), ParseFault::Length);
  Bytes kind = good;
  kind.set(9, static_cast<std::uint8_t>(kind.at(9) + 1));
  EXPECT_EQ(parse(kind), ParseFault::Kind);
  Bytes end = good;
  end.set(end.size(), 0);
  EXPECT_EQ(parse(end), ParseFault::End);
  Bytes nib = good;
  nib.set(nonNibblePos, 0x10);
  EXPECT_EQ(parse(nib), ParseFault::NotNibble);
  Bytes dl = good;
  dl.set(13, static_cast<std::uint8_t>(dl.at(13) ^ 1));
  EXPECT_EQ(parse(dl), ParseFault::DataLength);
}

// ---------------------------------------------------------------- Wave

Bytes GoldenWave() {
  Bytes m = golden::ObjectReply(0, 148);
  PutHex(m, 14, 4, 9);  // the reply's own number; the record takes the requested one
  Put(m, 20, {4, 1, 4, 2, 0, 0, 4, 3});  // "AB", code 0, "C", then zeros
  PutHex(m, 48, 2, 0xE0);
  PutHex(m, 50, 2, 0x9D);          // fine tune -99
  PutHex(m, 52, 8, 0x1400);        // address 0x1400 kilowords
  PutHex(m, 60, 4, 0xFFFF);        // size -1
  PutHex(m, 64, 4, 0x8000);        // checksum -32768
  PutHex(m, 68, 8, 100);
  PutHex(m, 76, 8, 200000);
  PutHex(m, 84, 8, 250000);
  PutHex(m, 92, 8, 1000);
  PutHex(m, 100, 8, 199000);
  PutHex(m, 108, 8, 0xFFFFFF);
  PutHex(m, 116, 8, 22676);
  PutHex(m, 124, 4, 100);
  PutHex(m, 128, 4, 6000);
  PutHex(m, 132, 16, 0);
  Put(m, 140, {1, 2, 3, 4});       // carried, not read
  return m;
}

TEST(WaveParser, ReadsEveryFieldOfTheTable) {
  const auto p = ParseWaveDump(GoldenWave(), 37);
  ASSERT_TRUE(p.ok()) << FaultText(p.fault);
  const WaveRecord& w = p.value.rec;
  EXPECT_EQ(w.Name, "ABC");
  EXPECT_EQ(w.WaveFlags, 0xE0);
  EXPECT_EQ(w.FineTune, -99);
  EXPECT_EQ(w.WaveAddr, 5242880);
  EXPECT_EQ(w.WaveSize, -1);
  EXPECT_EQ(w.Checksum, -32768);
  EXPECT_EQ(w.PlayStart, 100);
  EXPECT_EQ(w.PlayEnd, 200000);
  EXPECT_EQ(w.WaveLen, 250000);
  EXPECT_EQ(w.LoopStart, 1000);
  EXPECT_EQ(w.LoopEnd, 199000);
  EXPECT_EQ(w.LoopFract, 0xFFFFFF);
  EXPECT_EQ(w.SampPeriod, 22676);
  EXPECT_EQ(w.WaveNorm, 100);
  EXPECT_EQ(w.WavePitch, 6000);
  EXPECT_EQ(w.Spare, "00000000");
  EXPECT_EQ(w.Number, 37);
  EXPECT_EQ(p.value.LoopOn, 1);
  EXPECT_EQ(p.value.LoopDir, 1);
  EXPECT_EQ(p.value.Stereo, 1);
}

TEST(WaveParser, FlagBitsAndFineTune) {
  struct Case { std::uint32_t flags; int on, dir, stereo; };
  for (const Case c : {Case{0xE0, 1, 1, 1}, Case{0x80, 1, 0, 0}, Case{0x1F, 0, 0, 0}, Case{0x20, 0, 0, 1}}) {
    Bytes m = GoldenWave();
    PutHex(m, 48, 2, c.flags);
    const auto p = ParseWaveDump(m, 1);
    ASSERT_TRUE(p.ok());
    EXPECT_EQ(p.value.LoopOn, c.on) << c.flags;
    EXPECT_EQ(p.value.LoopDir, c.dir) << c.flags;
    EXPECT_EQ(p.value.Stereo, c.stereo) << c.flags;
  }
  struct Tune { std::uint32_t byte; int value; };
  for (const Tune t : {Tune{0x63, 99}, Tune{0x80, 128}, Tune{0x81, -127}, Tune{0x9D, -99}, Tune{0xFF, -1}}) {
    Bytes m = GoldenWave();
    PutHex(m, 50, 2, t.byte);
    EXPECT_EQ(ParseWaveDump(m, 1).value.rec.FineTune, t.value) << t.byte;
  }
}

TEST(WaveParser, AddressProductMustFit32Bits) {
  Bytes m = GoldenWave();
  PutHex(m, 52, 8, 0x00200000);  // times 1024 is 2^31
  EXPECT_EQ(ParseWaveDump(m, 1).fault, ParseFault::Range);
  PutHex(m, 52, 8, 0x001FFFFF);  // the largest that fits
  EXPECT_EQ(ParseWaveDump(m, 1).value.rec.WaveAddr, 0x1FFFFF * 1024);
  PutHex(m, 52, 8, 0xFFFFFFFF);  // -1 kilowords
  EXPECT_EQ(ParseWaveDump(m, 1).value.rec.WaveAddr, -1024);
}

TEST(WaveParser, DamagedRepliesAreRefused) {
  ExpectDamageRefused(GoldenWave(), 140, [](const Bytes& m) { return ParseWaveDump(m, 1).fault; });
}

// ---------------------------------------------------------------- Tone

Bytes GoldenTone() {
  Bytes m = golden::ObjectReply(1, 180);
  PutName(m, 20, "Strings");
  PutHex(m, 48, 2, 0x55);  // not read
  PutHex(m, 50, 2, 12);    // wave number
  Put(m, 52, {7, 9});      // P52: only the first nibble
  // Every data byte from 54 to 139 gets its own value: byte k (from 54) holds k + 1.
  for (int k = 0; k < 43; ++k) PutHex(m, static_cast<std::size_t>(54 + 2 * k), 2, static_cast<std::uint32_t>(k + 1));
  Put(m, 140, {5, 3});     // DcaDcfModeBits: only position 141
  PutHex(m, 142, 2, 0x0C);
  return m;
}

TEST(ToneParser, ReadsEveryFieldOfTheTable) {
  Bytes m = GoldenTone();
  PutHex(m, 54, 2, 0x80);   // Env1Att +128
  PutHex(m, 72, 2, 0x81);   // Dca0 -127
  PutHex(m, 136, 2, 0xFF);  // Pan3 -1
  const auto p = ParseToneDump(m, 12);
  ASSERT_TRUE(p.ok()) << FaultText(p.fault);
  const ToneRecord& t = p.value;
  EXPECT_EQ(t.Name, "Strings       ");
  EXPECT_EQ(t.Reserved48, 0);
  EXPECT_EQ(t.WaveNum, 12);
  EXPECT_EQ(t.P52, 7);
  EXPECT_EQ(t.Env1Att, 128);
  EXPECT_EQ(t.Env1Sus, 2);
  EXPECT_EQ(t.Env1Dec, 3);
  EXPECT_EQ(t.Env1Rel, 4);
  EXPECT_EQ(t.Env2Att, 5);
  EXPECT_EQ(t.Env2Rel, 8);
  EXPECT_EQ(t.DcaEnvSel, 9);
  EXPECT_EQ(t.Dca0, -127);
  EXPECT_EQ(t.Dca1, 11);
  EXPECT_EQ(t.DcaAuxSrc, 12);
  EXPECT_EQ(t.Dca2, 13);
  EXPECT_EQ(t.Dcf4, 14);
  EXPECT_EQ(t.Dcf2, 20);
  EXPECT_EQ(t.DcoEnvSel, 21);
  EXPECT_EQ(t.Dco2, 26);
  EXPECT_EQ(t.Lfo0, 27);
  EXPECT_EQ(t.Lfo3, 33);
  EXPECT_EQ(t.DcoModeBits, 34);
  EXPECT_EQ(t.Lfo4, 35);
  EXPECT_EQ(t.LfoQuantSrc, 36);
  EXPECT_EQ(t.PanEnvSel, 37);
  EXPECT_EQ(t.Pan0, 38);
  EXPECT_EQ(t.Pan3, -1);
  EXPECT_EQ(t.PanModeBits, 43);
  EXPECT_EQ(t.DcaDcfModeBits, 3);
  EXPECT_EQ(t.Lfo5, 12);
  EXPECT_EQ(t.Spare, std::string(36, '0'));
  EXPECT_EQ(t.Number, 12);
}

TEST(ToneParser, DamagedRepliesAreRefused) {
  ExpectDamageRefused(GoldenTone(), 170, [](const Bytes& m) { return ParseToneDump(m, 1).fault; });
}

// ---------------------------------------------------------------- Map

void PutZone(Bytes& m, std::size_t b, int tone, int lo, int hi, int transpose, int pan, int group) {
  PutHex(m, b + 2, 2, static_cast<std::uint32_t>(tone));
  PutHex(m, b + 4, 2, static_cast<std::uint32_t>(lo));
  PutHex(m, b + 6, 2, static_cast<std::uint32_t>(hi));
  PutHex(m, b + 8, 2, static_cast<std::uint32_t>(transpose & 0xFF));
  PutHex(m, b + 10, 2, 100);
  PutHex(m, b + 12, 2, static_cast<std::uint32_t>(pan & 0xFF));
  PutHex(m, b + 14, 2, 1);
  Put(m, b + 16, {8, 3});
  PutHex(m, b + 18, 2, static_cast<std::uint32_t>(group));
}

Bytes GoldenMap(int zones) {
  Bytes m = golden::ObjectReply(2, 84 + 32 * static_cast<std::size_t>(zones));
  PutName(m, 20, "Split");
  PutHex(m, 52, 2, static_cast<std::uint32_t>(zones - 1));
  for (int k = 0; k < zones; ++k)
    PutZone(m, 84 + 32 * static_cast<std::size_t>(k), k + 1, 10 * k, 10 * k + 9, k == 0 ? -12 : 0x80, k == 0 ? -1 : 0x81, 0x13);
  return m;
}

TEST(MapParser, OneZone) {
  const Bytes m = GoldenMap(1);
  ASSERT_EQ(m.size(), 116u);
  const auto p = ParseMapDump(m, 4);
  ASSERT_TRUE(p.ok()) << FaultText(p.fault);
  const MapRecord& r = p.value.rec;
  EXPECT_EQ(r.Name, "Split         ");
  EXPECT_EQ(r.LastZone, 0);
  ASSERT_EQ(r.Zones.size(), 1u);
  const MapZone& z = r.Zones[0];
  EXPECT_EQ(z.ToneNum, 1);
  EXPECT_EQ(z.LowKey, 0);
  EXPECT_EQ(z.HighKey, 9);
  EXPECT_EQ(z.Transpose, -12);
  EXPECT_EQ(z.Volume, 100);
  EXPECT_EQ(z.Pan, -1);
  EXPECT_EQ(z.Output, 1);
  EXPECT_EQ(z.KeyMode, 8);
  EXPECT_EQ(z.GroupByte, 0x13);
  EXPECT_EQ(z.Label, std::string(12, '0'));
  EXPECT_EQ(r.Number, 4);
  ASSERT_EQ(p.value.zoneMsgs.size(), 1u);
  EXPECT_EQ(p.value.zoneMsgs[0], m.mid(84, 32));
  EXPECT_EQ(p.value.zoneColour, std::vector<ColourValue>{0xD9FFD9});
}

TEST(MapParser, SevenZonesCycleTheColours) {
  const auto p = ParseMapDump(GoldenMap(7), 1);
  ASSERT_TRUE(p.ok());
  ASSERT_EQ(p.value.rec.Zones.size(), 7u);
  EXPECT_EQ(p.value.rec.Zones[6].LowKey, 60);
  EXPECT_EQ(p.value.rec.Zones[6].Transpose, 128);
  EXPECT_EQ(p.value.rec.Zones[6].Pan, -127);
  const std::vector<ColourValue> want{0xD9FFD9, 0xD9D9FF, 0xFFD5D5, 0xD9FFFF, 0xFFD9FF, 0xFFFFD9, 0xD9FFD9};
  EXPECT_EQ(p.value.zoneColour, want);
}

TEST(MapParser, HeaderMessageIsTheHeadRetyped) {
  const Bytes m = GoldenMap(3);
  const auto p = ParseMapDump(m, 1);
  ASSERT_TRUE(p.ok());
  const Bytes& h = p.value.headerMsg;
  ASSERT_EQ(h.size(), 84u);
  EXPECT_EQ(h.mid(1, 8), m.mid(1, 8));
  EXPECT_EQ(h.mid(9, 5), (Bytes{5, 0, 0, 2, 3}));
  EXPECT_EQ(h.mid(14, 70), m.mid(14, 70));
  EXPECT_EQ(h.at(84), 0xF7);
  EXPECT_EQ(CheckImage(ObjType::MapHeader, h), ParseFault::None);
}

TEST(MapParser, LengthFollowsTheZoneCount) {
  // Fewer than 54 characters: the zone count itself is missing.
  Bytes head = golden::ObjectReply(2, 53);
  EXPECT_EQ(ParseMapDump(head, 1).fault, ParseFault::Length);
  // A zone count that the reply does not hold.
  Bytes m = GoldenMap(2);
  PutHex(m, 52, 2, 2);  // says three zones
  EXPECT_EQ(ParseMapDump(m, 1).fault, ParseFault::Length);
  PutHex(m, 52, 2, 0);  // says one zone
  EXPECT_EQ(ParseMapDump(m, 1).fault, ParseFault::Length);
  Put(m, 52, {16, 0});
  EXPECT_EQ(ParseMapDump(m, 1).fault, ParseFault::NotNibble);
}

TEST(MapParser, DamagedRepliesAreRefused) {
  ExpectDamageRefused(GoldenMap(2), 100, [](const Bytes& m) { return ParseMapDump(m, 1).fault; });
}

Bytes GoldenZone() {
  Bytes m = golden::ObjectReply(6, 52);
  PutHex(m, 14, 2, 36);  // addressed by key 36
  PutHex(m, 16, 2, 4);   // of Map 4
  PutZone(m, 20, 7, 36, 47, 5, 10, 0x02);
  return m;
}

TEST(MapZoneParser, ReadsTheZoneAtTwenty) {
  const Bytes m = GoldenZone();
  const auto p = ParseMapZoneDump(m);
  ASSERT_TRUE(p.ok()) << FaultText(p.fault);
  EXPECT_EQ(p.value.zone.ToneNum, 7);
  EXPECT_EQ(p.value.zone.LowKey, 36);
  EXPECT_EQ(p.value.zone.HighKey, 47);
  EXPECT_EQ(p.value.zone.Transpose, 5);
  EXPECT_EQ(p.value.zone.Pan, 10);
  EXPECT_EQ(p.value.zone.KeyMode, 8);
  EXPECT_EQ(p.value.zone.GroupByte, 2);
  EXPECT_EQ(p.value.zoneMsg, m.mid(20, 32));
  ExpectDamageRefused(m, 40, [](const Bytes& r) { return ParseMapZoneDump(r).fault; });
}

// ---------------------------------------------------------------- Preset

Bytes GoldenPreset() {
  Bytes m = golden::ObjectReply(3, 532);
  Put(m, 20, {5, 0, 0, 0, 4, 1});  // "P", code 0, "A", then zero pairs: all kept
  PutHex(m, 50, 2, 3);
  for (int n = 0; n < 8; ++n) PutHex(m, static_cast<std::size_t>(52 + 2 * n), 2, static_cast<std::uint32_t>(n + 1));
  for (int n = 0; n < 8; ++n) PutHex(m, static_cast<std::size_t>(68 + 2 * n), 2, static_cast<std::uint32_t>(n % 4));
  PutHex(m, 84, 2, 1);
  PutHex(m, 86, 2, 0xFF);
  PutHex(m, 88, 2, 120);
  PutHex(m, 90, 2, 0xF6);  // detune -10
  PutHex(m, 92, 2, 0x0C);
  PutHex(m, 94, 2, 0x80);
  PutHex(m, 96, 2, 8);
  PutHex(m, 98, 2, 60);
  PutHex(m, 100, 2, 24);
  PutHex(m, 102, 2, 0xA5);
  for (int layer = 0; layer < 2; ++layer) {
    const std::size_t b = 148 + 192 * static_cast<std::size_t>(layer);
    PutHex(m, b + 2, 2, 3);
    for (int n = 0; n < 4; ++n) PutHex(m, b + 4 + 2 * static_cast<std::size_t>(n), 2, static_cast<std::uint32_t>(10 * layer + n));
    for (int n = 0; n < 3; ++n) PutHex(m, b + 12 + 2 * static_cast<std::size_t>(n), 2, static_cast<std::uint32_t>(40 + n));
    PutHex(m, b + 18, 2, 0xFE);   // transpose -2
    PutHex(m, b + 20, 2, 12);
    PutHex(m, b + 22, 2, static_cast<std::uint32_t>(layer + 1));  // output: A main, B sub
    PutHex(m, b + 24, 2, 0x81);
    for (int k = 13; k < 22; ++k) PutHex(m, b + 2 * static_cast<std::size_t>(k), 2, static_cast<std::uint32_t>(k));
  }
  return m;
}

TEST(PresetParser, ReadsCommonPartAndBothLayers) {
  const auto p = ParsePresetDump(GoldenPreset(), 5);
  ASSERT_TRUE(p.ok()) << FaultText(p.fault);
  const PresetRecord& r = p.value;
  EXPECT_EQ(r.Name, std::string("P\0A\0\0\0\0\0\0\0\0\0\0\0", 14));
  EXPECT_EQ(r.PresetMode, 3);
  EXPECT_EQ(r.MaxPolyphony[7], 8);
  EXPECT_EQ(r.Priority[5], 1);
  EXPECT_EQ(r.AuxCtl[0], 1);
  EXPECT_EQ(r.AuxCtl[1], 255);
  EXPECT_EQ(r.AuxCtl[2], 120);
  EXPECT_EQ(r.Val0, -10);
  EXPECT_EQ(r.ModSource, 12);
  EXPECT_EQ(r.Val1, 128);
  EXPECT_EQ(r.XfadeCtlr, 8);
  EXPECT_EQ(r.PivotPoint, 60);
  EXPECT_EQ(r.Val4, 24);
  EXPECT_EQ(r.GroupEnable, 0xA5);
  for (int layer = 0; layer < 2; ++layer) {
    const PresetLayer& l = r.Layer[static_cast<std::size_t>(layer)];
    SCOPED_TRACE(layer);
    EXPECT_EQ(l.MapSwitchCtlr, 3);
    EXPECT_EQ(l.LayerMap[3], 10 * layer + 3);
    EXPECT_EQ(l.SwitchPoint[2], 42);
    EXPECT_EQ(l.Transpose, -2);
    EXPECT_EQ(l.Val13, 12);
    EXPECT_EQ(l.Output, layer + 1);
    EXPECT_EQ(l.Val16, -127);
    EXPECT_EQ(l.Val18, 13);
    EXPECT_EQ(l.Val24, 18);
    EXPECT_EQ(l.Val14, 19);
    EXPECT_EQ(l.Val20, 21);
  }
  EXPECT_EQ(r.Number, 5);
}

TEST(PresetParser, DamagedRepliesAreRefused) {
  ExpectDamageRefused(GoldenPreset(), 500, [](const Bytes& m) { return ParsePresetDump(m, 1).fault; });
}

// ---------------------------------------------------------------- Multi

Bytes GoldenMulti() {
  Bytes m = golden::ObjectReply(4, 212);
  PutName(m, 20, "Band");
  Put(m, 28, {0, 0});  // a zero character inside the name stays
  PutHex(m, 52, 4, 0x8000);
  for (int g = 0; g < 8; ++g) PutHex(m, static_cast<std::size_t>(56 + 2 * g), 2, static_cast<std::uint32_t>(4 * g));
  for (int g = 0; g < 8; ++g) PutHex(m, static_cast<std::size_t>(72 + 2 * g), 2, static_cast<std::uint32_t>(g % 4));
  for (int k = 0; k < 16; ++k) PutHex(m, static_cast<std::size_t>(88 + 2 * k), 2, static_cast<std::uint32_t>(k + 1));
  for (int k = 0; k < 16; ++k) PutHex(m, static_cast<std::size_t>(120 + 2 * k), 2, k == 15 ? 0xFF : 0x7F);
  PutHex(m, 152, 2, 0x81);
  return m;
}

TEST(MultiParser, ReadsEveryField) {
  const auto p = ParseMultiDump(GoldenMulti(), 20);
  ASSERT_TRUE(p.ok()) << FaultText(p.fault);
  const MultiRecord& r = p.value;
  EXPECT_EQ(r.Name.size(), 14u);
  EXPECT_EQ(r.Name.substr(0, 5), std::string("Band\0", 5));
  EXPECT_EQ(r.PartEnable, 32768);
  EXPECT_EQ(r.MaxPolyphony[7], 28);
  EXPECT_EQ(r.Priority[3], 3);
  EXPECT_EQ(r.PartPreset[0], 1);
  EXPECT_EQ(r.PartPreset[15], 16);
  EXPECT_EQ(r.PartVolume[0], 127);
  EXPECT_EQ(r.PartVolume[15], 255);
  EXPECT_EQ(r.GroupEnable, 0x81);
  EXPECT_EQ(r.Number, 20);
}

TEST(MultiParser, DamagedRepliesAreRefused) {
  ExpectDamageRefused(GoldenMulti(), 200, [](const Bytes& m) { return ParseMultiDump(m, 1).fault; });
}

// ---------------------------------------------------------------- Directory status and directory

Bytes GoldenDirStatus(std::uint8_t kind) {
  Bytes m = golden::ObjectReply(kind, 64);
  PutHex(m, 22, 4, 255);
  PutHex(m, 26, 4, 3);
  PutHex(m, 30, 4, 2);
  PutHex(m, 34, 4, 9);
  PutHex(m, 38, 6, 0x000400);
  PutHex(m, 44, 6, 0xFFFFFF);
  PutHex(m, 50, 6, 0x123456);
  PutHex(m, 56, 4, 2048);
  PutHex(m, 60, 4, 1520);
  return m;
}

TEST(DirStatusParser, ReadsTheFields) {
  const auto p = ParseDirStatus(GoldenDirStatus(1));
  ASSERT_TRUE(p.ok()) << FaultText(p.fault);
  EXPECT_EQ(p.value.HighestAllowed, 255);
  EXPECT_EQ(p.value.ObjCount, 3);
  EXPECT_EQ(p.value.LowestNum, 2);
  EXPECT_EQ(p.value.HighestNum, 9);
  EXPECT_EQ(p.value.ParmMemUsed, 0x400);
  EXPECT_EQ(p.value.ParmMemFree, 16777215);
  EXPECT_EQ(p.value.FreeParmRam, 0x123456);
  EXPECT_EQ(p.value.InstalledRam, 2048);
  EXPECT_EQ(p.value.FreeSampleRam, 1520);
}

TEST(DirStatusParser, TheLengthAloneMakesAStatusReply) {
  struct Case { const char* what; Bytes reply; ParseFault fault; };
  const Bytes good = GoldenDirStatus(1);
  Bytes kind = good, end = good, dl = good, nib = good;
  kind.set(9, 0x55);
  end.set(64, 0);
  PutHex(dl, 10, 4, 0x7777);
  nib.set(27, 0x10);
  for (const Case& c : {Case{"another kind at 9", kind, ParseFault::None}, Case{"no F7", end, ParseFault::None},
                        Case{"any DataLength", dl, ParseFault::None}, Case{"63", golden::Shorter(good), ParseFault::Length},
                        Case{"65", golden::Longer(good), ParseFault::Length}, Case{"time-out", Bytes{'6', '5'}, ParseFault::Length},
                        Case{"a field not a nibble", nib, ParseFault::Range}}) {
    const auto p = ParseDirStatus(c.reply);
    EXPECT_EQ(p.fault, c.fault) << c.what;
    if (p.ok()) {
      EXPECT_EQ(p.value.ObjCount, 3) << c.what;
    }
  }
}

Bytes GoldenDir(std::uint8_t kind, std::initializer_list<std::pair<int, const char*>> entries) {
  Bytes m = golden::ObjectReply(kind, 18 + 32 * entries.size());
  std::size_t b = 18;
  for (const auto& e : entries) {
    PutHex(m, b, 4, static_cast<std::uint32_t>(e.first));
    PutName(m, b + 4, e.second);
    b += 32;
  }
  return m;
}

TEST(DirParser, EntriesInReplyOrder) {
  Bytes m = GoldenDir(0, {{5, "Piano"}, {2, "Bass"}, {9, "Choir"}});
  EXPECT_EQ(m.mid(10, 4), (Bytes{0, 0, 3, 2}));  // DataLength 0032 = 2 + 16 * 3
  m.set(9, 4);  // the kind at 9 is not looked at
  const auto p = ParseDir(m);
  ASSERT_TRUE(p.ok()) << FaultText(p.fault);
  ASSERT_EQ(p.value.Count, 3);
  ASSERT_EQ(p.value.Entries.size(), 3u);
  EXPECT_EQ(p.value.Entries[1].Index, 1);
  EXPECT_EQ(p.value.Entries[1].Number, 2);
  EXPECT_EQ(p.value.Entries[1].Name, "Bass          ");
  EXPECT_EQ(p.value.Entries[2].Number, 9);
}

TEST(DirParser, EmptyAndSingleEntry) {
  const auto none = ParseDir(GoldenDir(3, {}));
  ASSERT_TRUE(none.ok());
  EXPECT_EQ(none.value.Count, 0);
  EXPECT_TRUE(none.value.Entries.empty());
  Bytes one = GoldenDir(3, {{1, "X"}});
  EXPECT_EQ(one.mid(10, 4), (Bytes{0, 0, 1, 2}));  // 0012: 18 bytes
  Put(one, 24, {0, 0});  // a zero character in the middle of the name is left out
  const auto p = ParseDir(one);
  ASSERT_TRUE(p.ok());
  EXPECT_EQ(p.value.Count, 1);
  EXPECT_EQ(p.value.Entries[0].Name, "X            ");
}

TEST(DirParser, CountComesFromDataLengthRoundedHalfToEven) {
  struct Case { int dataLength; int count; };
  for (const Case c : {Case{0x0002, 0}, Case{0x000A, 0}, Case{0x000B, 1}, Case{0x0012, 1}, Case{0x001A, 2},
                       Case{0x002A, 2}, Case{0x0022, 2}, Case{0x0032, 3}, Case{0x0000, 0}, Case{-1, 0},
                       Case{-32768, -2048}}) {
    EXPECT_EQ(DirEntryCount(c.dataLength), c.count) << c.dataLength;
  }
}

TEST(DirParser, MalformedReplies) {
  const Bytes three = GoldenDir(0, {{1, "A"}, {2, "B"}, {3, "C"}});  // 114 characters
  struct Case { const char* what; std::uint32_t dataLength; std::size_t length; ParseFault fault; std::size_t count; };
  for (const Case& c : {Case{"fewer entries announced", 0x0022, 114, ParseFault::None, 2},
                        Case{"one and a half rounds up", 0x001A, 114, ParseFault::None, 2},
                        Case{"last entry without F7", 0x0032, 113, ParseFault::None, 3},
                        Case{"shorter than announced", 0x0032, 112, ParseFault::DataLength, 0},
                        Case{"more announced than held", 0x0042, 114, ParseFault::DataLength, 0},
                        Case{"negative count", 0x8000, 114, ParseFault::Range, 0},
                        Case{"eleven characters", 0x0002, 11, ParseFault::Length, 0},
                        Case{"twelve characters: DataLength cut short", 0x0002, 12, ParseFault::NotNibble, 0},
                        Case{"thirteen characters, no entries", 0x0002, 13, ParseFault::None, 0}}) {
    Bytes m = three;
    PutHex(m, 10, 4, c.dataLength);
    m = m.mid(1, c.length);
    const auto p = ParseDir(m);
    EXPECT_EQ(p.fault, c.fault) << c.what;
    EXPECT_EQ(p.value.Entries.size(), c.count) << c.what;
  }
  Bytes nib = three;
  nib.set(30, 0x10);
  EXPECT_EQ(ParseDir(nib).fault, ParseFault::Range);
  nib = three;
  nib.set(11, 0x10);
  EXPECT_EQ(ParseDir(nib).fault, ParseFault::NotNibble);
}

// ---------------------------------------------------------------- Global data

Bytes ParmReply(std::initializer_list<int> body) {
  Bytes m{0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F};
  for (int c : body) m.append(static_cast<std::uint8_t>(c));
  m.append(0xF7);
  return m;
}

TEST(GlobalParsers, BankNameParameterAndTune) {
  Bytes bank = ParmReply({0x11, 0x02, 0x0F, 0x01, 'F', 'a', 'c', 't', 'o', 'r', 'y', ' ', 'B', 'a', 'n', 'k', 0, 0});
  ASSERT_EQ(bank.size(), 26u);
  const auto b = ParseBankNameReply(bank);
  ASSERT_TRUE(b.ok());
  EXPECT_EQ(b.value, std::string("Factory Bank\0\0", 14));

  const auto v = ParseGlobalParmReply(ParmReply({0x11, 0x03, 0x03, 0x02, 0x01, 0x02}));
  ASSERT_TRUE(v.ok());
  EXPECT_EQ(v.value, 2);
  // Read at 13 whatever follows.
  EXPECT_EQ(ParseGlobalParmReply(ParmReply({0x11, 0x03, 0x03, 0x02, 0x01, 0x7E, 1, 2, 3})).value, 0x7E);

  Bytes tune = golden::ObjectReply(1, 22, 0x32);
  Put(tune, 18, {15, 15, 9, 12});
  EXPECT_EQ(ParseMasterTuneReply(tune).value, -100);
  Put(tune, 18, {0, 0, 3, 2});
  EXPECT_EQ(ParseMasterTuneReply(tune).value, 50);
}

TEST(GlobalParsers, ShortAndDamagedReplies) {
  EXPECT_EQ(ParseBankNameReply(Bytes{'6', '5'}).fault, ParseFault::Length);
  EXPECT_EQ(ParseBankNameReply(ParmReply({0x11, 0x02, 0x0F, 0x01, 'A'})).fault, ParseFault::Length);
  EXPECT_EQ(ParseGlobalParmReply(ParmReply({0x11, 0x03, 0x03, 0x02})).fault, ParseFault::Length);
  Bytes noEnd = ParmReply({0x11, 0x03, 0x03, 0x02, 0x01, 0x02});
  noEnd.set(noEnd.size(), 0);
  EXPECT_EQ(ParseGlobalParmReply(noEnd).fault, ParseFault::End);
  Bytes tune = golden::ObjectReply(1, 22, 0x32);
  tune.set(19, 0x20);
  EXPECT_EQ(ParseMasterTuneReply(tune).fault, ParseFault::NotNibble);
  EXPECT_EQ(ParseMasterTuneReply(golden::ObjectReply(1, 21, 0x32)).fault, ParseFault::Length);
}

// ---------------------------------------------------------------- upload images

TEST(CheckImage, OnlyWholeValidDumpsOfTheKind) {
  EXPECT_EQ(CheckImage(ObjType::Wave, GoldenWave()), ParseFault::None);
  EXPECT_EQ(CheckImage(ObjType::Tone, GoldenWave()), ParseFault::Length);
  EXPECT_EQ(CheckImage(ObjType::Tone, GoldenTone()), ParseFault::None);
  EXPECT_EQ(CheckImage(ObjType::Map, GoldenMap(2)), ParseFault::None);
  EXPECT_EQ(CheckImage(ObjType::Preset, GoldenPreset()), ParseFault::None);
  EXPECT_EQ(CheckImage(ObjType::Multi, GoldenMulti()), ParseFault::None);
  EXPECT_EQ(CheckImage(ObjType::Wave, Bytes{'6', '5'}), ParseFault::Length);
  EXPECT_EQ(CheckImage(ObjType::MapHeader, GoldenMap(1)), ParseFault::Length);
  EXPECT_NE(CheckImage(ObjType::MapZone, GoldenZone()), ParseFault::None);
}

}  // namespace

#include "emulator/core/bank.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

namespace emu {

void Bank::clear() {
  for (auto& kind : objects) kind.clear();
}

int UsedSampleKw(const Bank& bank) {
  int used = 0;
  for (const auto& [num, dump] : bank.of(Kind::Wave)) {
    std::uint32_t size = 0;
    if (ReadNibbles(dump, wave::Size, 4, size)) used += static_cast<int>(size);
  }
  return used;
}

int FreeSampleKw(const Bank& bank) { return std::max(0, bank.installedKw - UsedSampleKw(bank)); }

Message NewDump(Kind kind, std::size_t length, int number, std::string_view name) {
  Message m(length, 0);
  std::copy(kHead, kHead + kHeadLength, m.begin());
  m[head::Command - 1] = cmd::Upload;
  m[head::Kind - 1] = static_cast<std::uint8_t>(kind);
  WriteNibbles(m, head::DataLength, 4, DataLengthFor(length));
  WriteNibbles(m, head::Number, 4, static_cast<std::uint32_t>(number));
  WriteName(m, head::Name, name);
  m.back() = kEox;
  return m;
}

namespace {

struct WaveSpec {
  int number;
  const char* name;
  std::uint8_t flags;
  int fineTune;
  std::uint32_t length;  // words
  std::uint32_t loopStart, loopEnd, loopFract;
  std::uint32_t periodNs;
  std::int16_t norm, pitch;
};

void AddWaves(Bank& bank) {
  const WaveSpec waves[] = {
      {0, "Grand Piano C4", wave::LoopOn, 0, 65536, 41000, 65000, 0, 22676, 100, 6000},
      {1, "Str Ensemble", wave::LoopOn | wave::LoopBoth | wave::Stereo, -3, 131072, 24000, 120000, 0x400000, 22676,
       92, 5500},
      {2, "Snare Tight", 0, 0, 16000, 0, 15999, 0, 31250, 96, 6200},
      {5, "Warm Pad", wave::Stereo, 2, 98304, 0, 98303, 0, 20833, 88, 4800},
      {12, "Fretless Bass", wave::LoopOn | wave::LoopBoth, 5, 30000, 12000, 29500, 0x800000, 31250, 100, 3600},
  };
  // Sample memory starts at word 500000h, 1400h in kilowords: the first Wave lies there.
  std::uint32_t addressKw = 0x1400;
  for (const auto& w : waves) {
    Message m = NewDump(Kind::Wave, kWaveLength, w.number, w.name);
    const std::uint32_t sizeKw = (w.length + 1023) / 1024;
    WriteByte(m, wave::Flags, w.flags);
    WriteSignedByte(m, wave::FineTune, w.fineTune);
    WriteNibbles(m, wave::Address, 8, addressKw);
    WriteNibbles(m, wave::Size, 4, sizeKw);
    WriteNibbles(m, wave::Checksum, 4, (w.length * 2654435761u) >> 16);
    WriteNibbles(m, wave::PlayStart, 8, 0);
    WriteNibbles(m, wave::PlayEnd, 8, w.length - 1);
    WriteNibbles(m, wave::Length, 8, w.length);
    WriteNibbles(m, wave::LoopStart, 8, w.loopStart);
    WriteNibbles(m, wave::LoopEnd, 8, w.loopEnd);
    WriteNibbles(m, wave::LoopFract, 8, w.loopFract);
    WriteNibbles(m, wave::Period, 8, w.periodNs);
    WriteWord(m, wave::Norm, w.norm);
    WriteWord(m, wave::Pitch, w.pitch);
    addressKw += sizeKw;
    bank.of(Kind::Wave)[w.number] = std::move(m);
  }
}

using ToneField = std::pair<std::size_t, int>;

// A Tone with the given fields set (signed values stored as the byte v + 256); the rest 0.
void AddTone(Bank& bank, int number, const char* name, std::initializer_list<ToneField> fields) {
  Message m = NewDump(Kind::Tone, kToneLength, number, name);
  for (const auto& [pos, value] : fields) WriteSignedByte(m, pos, value);
  bank.of(Kind::Tone)[number] = std::move(m);
}

void AddTones(Bank& bank) {
  using namespace tone;
  AddTone(bank, 0, "Piano Soft",
          {{WaveNum, 0}, {Env1Att, 0}, {Env1Sus, 0}, {Env1Dec, 99}, {Env1Rel, 30}, {Env2Att, -20}, {Env2Sus, 99},
           {Env2Dec, 60}, {Env2Rel, 20}, {DcaEnvSel, 1}, {Dca0, 99}, {Dca1, 20}, {DcaAuxSrc, 1}, {Dca2, 10},
           {Dcf4, 0}, {DcfEnvSel, 2}, {Dcf3, 30}, {Dcf0, 40}, {Dcf1, 10}, {DcfAuxSrc, 1}, {Lfo0, 30},
           {LfoWaveshape, 0}, {Lfo1, 40}, {LfoSrc1, 3}, {Lfo4, 0}, {Lfo5, 0}});
  AddTone(bank, 1, "Strings Slow",
          {{WaveNum, 1}, {Env1Att, 40}, {Env1Sus, 90}, {Env1Dec, 99}, {Env1Rel, 50}, {Env2Att, 20}, {Env2Sus, 80},
           {Env2Dec, 60}, {Env2Rel, 40}, {DcaEnvSel, 1}, {Dca0, 90}, {Dca1, 10}, {DcaAuxSrc, 3}, {Dca2, 5},
           {Dcf4, 60}, {DcfEnvSel, 2}, {Dcf3, 20}, {Dcf0, 50}, {Dcf1, 15}, {DcfAuxSrc, 3}, {Dcf2, 10},
           {DcoEnvSel, 1}, {Dco2, 2}, {Lfo0, 45}, {LfoWaveshape, 1}, {Lfo1, 10}, {LfoSrc1, 3}, {Lfo2, 20},
           {LfoSrc2, 4}, {DcoModeBits, 2}, {Lfo4, 1}, {LfoQuantSrc, 0}, {PanEnvSel, 0}, {Pan0, 10},
           {Pan1, -10}, {PanModeBits, 1}, {Lfo5, 0}});
  AddTone(bank, 2, "Snare Dry",
          {{WaveNum, 2}, {Env1Sus, 0}, {Env1Dec, 20}, {Env1Rel, 99}, {Env2Sus, 0}, {Env2Dec, 15}, {Env2Rel, 5},
           {DcaEnvSel, 1}, {Dca0, 99}, {DcaAuxSrc, 1}, {Dcf4, 80}, {DcaDcfModeBits, 1}});
  AddTone(bank, 3, "Pad Sweep",
          {{WaveNum, 5}, {Env1Att, 60}, {Env1Sus, 85}, {Env1Dec, 99}, {Env1Rel, 70}, {Env2Att, 50}, {Env2Sus, 70},
           {Env2Dec, 99}, {Env2Rel, 60}, {DcaEnvSel, 2}, {Dca0, 80}, {Dca1, 20}, {DcaAuxSrc, 4}, {Dca2, 15},
           {Dcf4, 40}, {DcfEnvSel, 2}, {Dcf3, 50}, {Dcf0, 20}, {Dcf1, 25}, {DcfAuxSrc, 4}, {Dcf2, 30},
           {Lfo0, 20}, {LfoWaveshape, 2}, {Lfo1, 15}, {LfoSrc1, 4}, {Lfo2, 30}, {LfoSrc2, 5}, {Lfo4, -20},
           {LfoQuantSrc, 8}, {PanEnvSel, 2}, {Pan0, 20}, {PanAuxSrc, 2}, {Pan3, 3}, {DcaDcfModeBits, 2},
           {Lfo5, 5}});
  AddTone(bank, 7, "Bass Round",
          {{WaveNum, 12}, {Env1Sus, 60}, {Env1Dec, 50}, {Env1Rel, 20}, {Env2Att, 0}, {Env2Sus, 40},
           {Env2Dec, 30}, {Env2Rel, 10}, {DcaEnvSel, 1}, {Dca0, 99}, {Dca1, 10}, {DcaAuxSrc, 1}, {Dca2, 20},
           {Dcf4, 20}, {DcfEnvSel, 2}, {Dcf3, 25}, {Dcf0, 30}, {Dcf1, 5}, {DcfAuxSrc, 1}});
}

struct ZoneSpec {
  int tone, low, high, transpose, volume, pan, output, keyMode, group;
};

void AddMap(Bank& bank, int number, const char* name, std::initializer_list<ZoneSpec> zones) {
  Message m = NewDump(Kind::Map, MapLength(zones.size()), number, name);
  WriteByte(m, map::LastZone, static_cast<std::uint8_t>(zones.size() - 1));
  std::size_t k = 0;
  for (const auto& z : zones) {
    const std::size_t b = map::ZoneBase(k++);
    WriteByte(m, b + map::ToneNum, static_cast<std::uint8_t>(z.tone));
    WriteByte(m, b + map::LowKey, static_cast<std::uint8_t>(z.low));
    WriteByte(m, b + map::HighKey, static_cast<std::uint8_t>(z.high));
    WriteSignedByte(m, b + map::Transpose, z.transpose);
    WriteByte(m, b + map::Volume, static_cast<std::uint8_t>(z.volume));
    WriteSignedByte(m, b + map::Pan, z.pan);
    WriteByte(m, b + map::Output, static_cast<std::uint8_t>(z.output));
    WriteByte(m, b + map::KeyMode, static_cast<std::uint8_t>(z.keyMode << 4));
    WriteByte(m, b + map::Group, static_cast<std::uint8_t>(z.group));
  }
  bank.of(Kind::Map)[number] = std::move(m);
}

void AddMaps(Bank& bank) {
  // Volumes 0-99 and pans -99..99, as the Map page shows them; the piano's keys end short of
  // both ends of the keyboard, the drum zones leave gaps between them.
  AddMap(bank, 0, "Piano Full", {{0, 21, 108, 0, 99, 0, 0, 0, 0}});
  AddMap(bank, 1, "Bass/Str Split", {{7, 0, 47, -12, 95, -10, 0, 0, 0},
                                     {1, 48, 83, 0, 90, 0, 0, 0, 1},
                                     {0, 84, 127, 0, 99, 10, 1, 0, 1}});
  AddMap(bank, 4, "Drum Kit", {{2, 36, 36, 0, 99, 0, 0, 8, 0},
                               {2, 38, 38, 2, 95, 5, 0, 8, 0},
                               {2, 40, 40, -2, 90, -5, 0, 8, 0},
                               {2, 42, 42, 7, 80, 20, 1, 8, 0x12},
                               {2, 44, 44, 5, 80, 20, 1, 8, 0x12},
                               {2, 46, 46, 3, 80, 20, 1, 8, 0x12},
                               {2, 49, 51, 12, 75, -20, 1, 8, 3}});
}

struct LayerSpec {
  int switchCtlr;
  std::array<int, 4> maps;
  std::array<int, 3> switchPoints;
  int transpose, bend, output, pan, volume, cutoff, dcaVel, dcfVel, dcfEnv, dcoMod, keyCentre, panKey, filterKey;
};

void WriteLayer(Message& m, std::size_t b, const LayerSpec& l) {
  WriteByte(m, b + preset::MapSwitchCtlr, static_cast<std::uint8_t>(l.switchCtlr));
  for (std::size_t n = 0; n < 4; ++n) WriteByte(m, b + preset::LayerMap + 2 * n, static_cast<std::uint8_t>(l.maps[n]));
  for (std::size_t n = 0; n < 3; ++n)
    WriteByte(m, b + preset::SwitchPoint + 2 * n, static_cast<std::uint8_t>(l.switchPoints[n]));
  WriteSignedByte(m, b + preset::Transpose, l.transpose);
  WriteSignedByte(m, b + preset::BendRange, l.bend);
  WriteByte(m, b + preset::Output, static_cast<std::uint8_t>(l.output));
  WriteSignedByte(m, b + preset::Pan, l.pan);
  WriteSignedByte(m, b + preset::Volume, l.volume);
  WriteSignedByte(m, b + preset::Cutoff, l.cutoff);
  WriteSignedByte(m, b + preset::DcaVelocity, l.dcaVel);
  WriteSignedByte(m, b + preset::DcfVelocity, l.dcfVel);
  WriteSignedByte(m, b + preset::DcfEnvAmt, l.dcfEnv);
  WriteByte(m, b + preset::DcoModRange, static_cast<std::uint8_t>(l.dcoMod));
  WriteByte(m, b + preset::KeyCentre, static_cast<std::uint8_t>(l.keyCentre));
  WriteSignedByte(m, b + preset::PanKeybd, l.panKey);
  WriteSignedByte(m, b + preset::FilterKeybd, l.filterKey);
}

void AddPreset(Bank& bank, int number, const char* name, int mode, std::array<int, 3> aux, int detune,
               int xfadeCtlr, int pivot, const LayerSpec& a, const LayerSpec& b) {
  Message m = NewDump(Kind::Preset, kPresetLength, number, name);
  WriteByte(m, preset::Mode, static_cast<std::uint8_t>(mode));
  for (std::size_t g = 0; g < 8; ++g) {
    WriteByte(m, preset::MaxPolyphony + 2 * g, static_cast<std::uint8_t>(g == 0 ? 16 : 4));
    WriteByte(m, preset::Priority + 2 * g, static_cast<std::uint8_t>(g == 0 ? 2 : 1));
  }
  for (std::size_t n = 0; n < 3; ++n) WriteByte(m, preset::AuxCtl + 2 * n, static_cast<std::uint8_t>(aux[n]));
  WriteSignedByte(m, preset::Detune, detune);
  WriteByte(m, preset::ModSource, 3);
  WriteSignedByte(m, preset::Modulation, 20);
  WriteByte(m, preset::XfadeCtlr, static_cast<std::uint8_t>(xfadeCtlr));
  WriteByte(m, preset::PivotPoint, static_cast<std::uint8_t>(pivot));
  WriteByte(m, preset::XfadeWidth, 12);
  WriteByte(m, preset::GroupEnable, 0x03);
  WriteLayer(m, preset::LayerA, a);
  WriteLayer(m, preset::LayerB, b);
  bank.of(Kind::Preset)[number] = std::move(m);
}

void AddPresets(Bank& bank) {
  // Layer volumes and amounts -99..99, as the Preset pages show them.
  const LayerSpec piano{0, {0, 0, 0, 0}, {128, 128, 128}, 0, 2, 0, 0, 90, 0, 40, 20, 10, 12, 60, 0, 10};
  const LayerSpec split{0, {1, 1, 1, 1}, {128, 128, 128}, 0, 2, 1, 0, 85, 10, 30, 10, 0, 12, 60, 0, 0};
  const LayerSpec strings{1, {0, 1, 1, 0}, {40, 80, 128}, 12, 7, 2, -30, 80, -10, 20, 0, 20, 0, 72, 10, -5};
  const LayerSpec drums{0, {4, 4, 4, 4}, {128, 128, 128}, 0, 0, 0, 0, 99, 0, 60, 0, 0, 0, 60, 0, 0};
  AddPreset(bank, 0, "Concert Piano", 0, {1, 255, 255}, 0, 0, 60, piano, piano);
  AddPreset(bank, 1, "Bass+Strings", 2, {1, 2, 255}, 4, 3, 48, split, strings);
  AddPreset(bank, 3, "Drums & Piano", 3, {64, 255, 255}, 0, 0, 72, drums, piano);
}

void AddMulti(Bank& bank, int number, const char* name, std::uint16_t partEnable, std::array<int, 16> presets,
              std::uint8_t groupEnable) {
  Message m = NewDump(Kind::Multi, kMultiLength, number, name);
  WriteNibbles(m, multi::PartEnable, 4, partEnable);
  for (std::size_t g = 0; g < 8; ++g) {
    WriteByte(m, multi::MaxPolyphony + 2 * g, static_cast<std::uint8_t>(g < 2 ? 16 : 8));
    WriteByte(m, multi::Priority + 2 * g, static_cast<std::uint8_t>(g % 4));
  }
  for (std::size_t p = 0; p < 16; ++p) {
    WriteByte(m, multi::PartPreset + 2 * p, static_cast<std::uint8_t>(presets[p]));
    WriteByte(m, multi::PartVolume + 2 * p, static_cast<std::uint8_t>(p < 4 ? 100 : 127));
  }
  WriteByte(m, multi::GroupEnable, groupEnable);
  bank.of(Kind::Multi)[number] = std::move(m);
}

void AddMultis(Bank& bank) {
  AddMulti(bank, 0, "Studio Setup", 0xFFF0, {0, 1, 3, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0}, 0x01);
  AddMulti(bank, 1, "Live Rig", 0xFFFE, {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0x03);
}

std::string Padded(std::string name) {
  name.resize(kNameChars, ' ');
  return name;
}

}  // namespace

Bank DefaultBank() {
  Bank bank;
  AddWaves(bank);
  AddTones(bank);
  AddMaps(bank);
  AddPresets(bank);
  AddMultis(bank);
  bank.global.bankName = Padded("Factory Bank 1");
  bank.global.params = {0, 2, 0, 127, 0};  // MIDI receive mode, multi, channel 1, full volume, enabled
  bank.global.masterTune = 0;
  return bank;
}

Bank DiskBank(int unit, int bankNumber) {
  Bank bank = DefaultBank();
  std::string name = unit == kAllMemory ? "Floppy " : "SCSI" + std::to_string(unit) + " ";
  name += "Bank " + std::to_string(bankNumber);
  bank.global.bankName = Padded(name);
  // Each bank differs a little: odd banks hold no Multis and one Wave less.
  if (bankNumber % 2 == 1) {
    bank.of(Kind::Multi).clear();
    bank.of(Kind::Wave).erase(5);
    for (auto& [num, dump] : bank.of(Kind::Tone)) {
      std::uint8_t w = 0;
      if (ReadByte(dump, tone::WaveNum, w) && w == 5) WriteByte(dump, tone::WaveNum, 1);
    }
  }
  return bank;
}

}  // namespace emu

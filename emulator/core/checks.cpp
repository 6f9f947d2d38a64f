#include "emulator/core/checks.h"

#include <initializer_list>

namespace emu {
namespace {

std::uint32_t Field(const Message& m, std::size_t pos, int nibbles) {
  std::uint32_t v = 0;
  ReadNibbles(m, pos, nibbles, v);
  return v;
}

unsigned Byte(const Message& m, std::size_t pos) { return Field(m, pos, 2); }

bool AllAtMost(const Message& m, std::initializer_list<std::size_t> positions, unsigned most) {
  for (std::size_t p : positions)
    if (Byte(m, p) > most) return false;
  return true;
}

bool WaveAcceptable(const Message& m, const Message& stored) {
  // The sample itself (where it lies, its size and length, its period) is not changed by an upload.
  for (std::size_t p : {wave::Address, wave::Length, wave::Period})
    if (Field(m, p, 8) != Field(stored, p, 8)) return false;
  if (Field(m, wave::Size, 4) != Field(stored, wave::Size, 4)) return false;
  const std::uint32_t length = Field(m, wave::Length, 8);
  const std::uint32_t playStart = Field(m, wave::PlayStart, 8), playEnd = Field(m, wave::PlayEnd, 8);
  if (!(playStart < playEnd && playEnd < length)) return false;
  if (Field(m, wave::LoopStart, 8) >= length || Field(m, wave::LoopEnd, 8) > length) return false;
  if (Field(m, wave::LoopFract, 8) > 0xFFFFFF) return false;
  return Field(m, wave::Pitch, 4) <= 12799;
}

bool ToneAcceptable(const Message& m) {
  using namespace tone;
  return AllAtMost(m, {Env1Dec, Env1Rel, Env2Dec, Env2Rel}, 99) &&
         AllAtMost(m, {DcaEnvSel, DcfEnvSel, DcoEnvSel, PanEnvSel}, 2) &&
         AllAtMost(m, {DcaAuxSrc, DcfAuxSrc, DcoAuxSrc, PanAuxSrc, LfoSrc1, LfoSrc2}, 6) &&
         AllAtMost(m, {LfoWaveshape}, 7) && AllAtMost(m, {LfoQuantSrc}, 8) && AllAtMost(m, {Lfo5}, 127);
}

bool MapAcceptable(const Message& m) {
  const int zones = ZoneCount(m);
  if (zones < 1) return false;
  for (int k = 0; k < zones; ++k)
    if (!ZoneAcceptable(m, map::ZoneBase(static_cast<std::size_t>(k)))) return false;
  return true;
}

bool PresetAcceptable(const Message& m) {
  using namespace preset;
  if (Byte(m, Mode) > 4 || Byte(m, ModSource) > 8 || Byte(m, XfadeCtlr) > 8 || Byte(m, PivotPoint) > 127)
    return false;
  for (std::size_t g = 0; g < 8; ++g)
    if (Byte(m, Priority + 2 * g) > 3) return false;
  for (std::size_t n = 0; n < 3; ++n) {
    const unsigned aux = Byte(m, AuxCtl + 2 * n);
    if (aux > 120 && aux != 255) return false;
  }
  for (std::size_t b : {LayerA, LayerB}) {
    if (Byte(m, b + MapSwitchCtlr) > 8 || Byte(m, b + Output) > 2 || Byte(m, b + KeyCentre) > 127) return false;
    int bend = 0;
    if (!ReadSignedByte(m, b + BendRange, bend) || bend > 24) return false;
  }
  return true;
}

bool MultiAcceptable(const Message& m) {
  for (std::size_t g = 0; g < 8; ++g)
    if (Byte(m, multi::Priority + 2 * g) > 3) return false;
  for (std::size_t p = 0; p < 16; ++p)
    if (Byte(m, multi::PartVolume + 2 * p) > 127) return false;
  return true;
}

}  // namespace

bool ZoneAcceptable(const Message& m, std::size_t base) {
  if (!AllNibbles(m, base, base + kZoneNibbles - 1)) return false;
  const unsigned low = Byte(m, base + map::LowKey), high = Byte(m, base + map::HighKey);
  const unsigned keyMode = At(m, base + map::KeyMode);
  return low <= high && high <= 127 && Byte(m, base + map::Output) <= 1 && (keyMode == 0 || keyMode == 8);
}

int ZoneCount(const Message& mapDump) {
  std::uint8_t last = 0;
  if (!ReadByte(mapDump, map::LastZone, last)) return -1;
  return last + 1;
}

int FindZone(const Message& mapDump, int key) {
  const int zones = ZoneCount(mapDump);
  if (zones < 1 || mapDump.size() < MapLength(static_cast<std::size_t>(zones))) return -1;
  auto keyAt = [&](int k, std::size_t offset) {
    return static_cast<int>(Byte(mapDump, map::ZoneBase(static_cast<std::size_t>(k)) + offset));
  };
  for (int k = 0; k < zones; ++k)
    if (keyAt(k, map::LowKey) == key) return k;
  for (int k = 0; k < zones; ++k)
    if (keyAt(k, map::HighKey) == key) return k;
  for (int k = 0; k < zones; ++k)
    if (keyAt(k, map::LowKey) <= key && key <= keyAt(k, map::HighKey)) return k;
  return -1;
}

bool ZoneFitsBetweenNeighbours(const Message& mapDump, int zone, const Message& m, std::size_t base) {
  const int zones = ZoneCount(mapDump);
  auto key = [&](int k, std::size_t offset) { return Byte(mapDump, map::ZoneBase(static_cast<std::size_t>(k)) + offset); };
  const unsigned low = Byte(m, base + map::LowKey), high = Byte(m, base + map::HighKey);
  if (zone > 0 && low <= key(zone - 1, map::HighKey)) return false;
  if (zone + 1 < zones && high >= key(zone + 1, map::LowKey)) return false;
  return true;
}

bool ValuesAcceptable(Kind kind, const Message& upload, const Message& stored) {
  switch (kind) {
    case Kind::Wave: return WaveAcceptable(upload, stored);
    case Kind::Tone: return ToneAcceptable(upload);
    case Kind::Map: return MapAcceptable(upload);
    case Kind::Preset: return PresetAcceptable(upload);
    case Kind::Multi: return MultiAcceptable(upload);
    default: return false;
  }
}

}  // namespace emu

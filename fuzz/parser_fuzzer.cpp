// One libFuzzer target per parser (chosen by FUZZ_PARSER_<name>): any bytes in, and a parse
// that succeeds must describe a reply that really has the shape it claims.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "objects/codec.h"
#include "objects/parsers.h"

using namespace tavoro;

namespace {

void Require(bool ok) {
  if (!ok) std::abort();
}

[[maybe_unused]] void CheckName(const std::string& name) { Require(name.size() <= 14); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const plat::Bytes m(data, size);
#if defined(FUZZ_PARSER_wave_dump)
  const auto p = ParseWaveDump(m, 7);
  if (p.ok()) {
    Require(m.size() == 148 && CheckImage(ObjType::Wave, m) == ParseFault::None);
    CheckName(p.value.rec.Name);
    Require(p.value.rec.Number == 7 && p.value.LoopOn <= 1 && p.value.Stereo <= 1);
  }
#elif defined(FUZZ_PARSER_tone_dump)
  const auto p = ParseToneDump(m, 7);
  if (p.ok()) {
    Require(m.size() == 180);
    CheckName(p.value.Name);
    Require(p.value.Env1Att >= -127 && p.value.Env1Att <= 128 && p.value.P52 <= 15);
  }
#elif defined(FUZZ_PARSER_map_dump)
  const auto p = ParseMapDump(m, 7);
  if (p.ok()) {
    const auto zones = static_cast<std::size_t>(p.value.rec.LastZone) + 1;
    Require(m.size() == 84 + 32 * zones);
    Require(p.value.rec.Zones.size() == zones && p.value.zoneMsgs.size() == zones && p.value.zoneColour.size() == zones);
    for (const auto& z : p.value.zoneMsgs) Require(z.size() == 32 && AllNibbles(z, 1, 32));
    Require(CheckImage(ObjType::MapHeader, p.value.headerMsg) == ParseFault::None);
    CheckName(p.value.rec.Name);
  }
#elif defined(FUZZ_PARSER_map_zone_dump)
  const auto p = ParseMapZoneDump(m);
  if (p.ok()) Require(m.size() == 52 && p.value.zoneMsg.size() == 32 && p.value.zone.KeyMode <= 15);
#elif defined(FUZZ_PARSER_preset_dump)
  const auto p = ParsePresetDump(m, 7);
  if (p.ok()) Require(m.size() == 532 && p.value.Name.size() == 14);
#elif defined(FUZZ_PARSER_multi_dump)
  const auto p = ParseMultiDump(m, 7);
  if (p.ok()) Require(m.size() == 212 && p.value.Name.size() == 14 && p.value.PartEnable >= 0 && p.value.PartEnable <= 0xFFFF);
#elif defined(FUZZ_PARSER_dir_status)
  const auto p = ParseDirStatus(m);
  if (p.ok()) Require(m.size() == 64 && p.value.ParmMemUsed >= 0 && p.value.InstalledRam <= 0xFFFF);
#elif defined(FUZZ_PARSER_dir)
  const auto p = ParseDir(m);
  if (p.ok()) {
    Require(p.value.Count >= 0 && static_cast<std::size_t>(p.value.Count) == p.value.Entries.size());
    Require(m.size() >= 12 && (p.value.Entries.empty() || m.size() >= 17 + 32 * p.value.Entries.size()));
    for (std::size_t i = 0; i < p.value.Entries.size(); ++i) {
      Require(p.value.Entries[i].Index == static_cast<int>(i));
      CheckName(p.value.Entries[i].Name);
    }
  }
#elif defined(FUZZ_PARSER_global_replies)
  const auto bank = ParseBankNameReply(m);
  if (bank.ok()) Require(bank.value.size() == 14 && m.size() >= 26);
  const auto parm = ParseGlobalParmReply(m);
  if (parm.ok()) Require(parm.value >= 0 && parm.value <= 255 && m.size() >= 14);
  const auto tune = ParseMasterTuneReply(m);
  if (tune.ok()) Require(m.size() >= 22);
#else
#error "FUZZ_PARSER_<name> selects the parser"
#endif
  return 0;
}

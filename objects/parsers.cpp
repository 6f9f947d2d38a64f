#include "objects/parsers.h"

#include <cstdint>

#include "objects/codec.h"
#include "objects/layouts.h"

namespace tavoro {

const char* FaultText(ParseFault f) {
  switch (f) {
    case ParseFault::None: return "valid";
    case ParseFault::Length: return "wrong length";
    case ParseFault::End: return "not ended by F7";
    case ParseFault::Kind: return "wrong object kind";
    case ParseFault::DataLength: return "data length disagrees with the length";
    case ParseFault::NotNibble: return "data character above 15";
    case ParseFault::Range: return "value out of range";
  }
  return "?";
}

ParseFault CheckObjectReply(const plat::Bytes& reply, std::size_t length, std::uint8_t kind) {
  if (reply.size() != length || length < 15) return ParseFault::Length;
  if (reply.at(length) != 0xF7) return ParseFault::End;
  if (reply.at(kHead.Kind.pos) != kind) return ParseFault::Kind;
  if (!AllNibbles(reply, kHead.DataLength.pos, length - 1)) return ParseFault::NotNibble;
  if (ReadNibbles(reply, kHead.DataLength.pos, 4) != ObjectHeadLayout::DataBytesFor(length)) return ParseFault::DataLength;
  return ParseFault::None;
}

namespace {

// Runs a decoder that reads only checked positions; a value its field cannot hold comes back
// as a CodecError and becomes a Range fault.
template <class T, class F>
Parsed<T> Decode(ParseFault head, F&& decode) {
  Parsed<T> out;
  if (head != ParseFault::None) {
    out.fault = head;
    return out;
  }
  try {
    decode(out.value);
  } catch (const CodecError&) {
    out = Parsed<T>{};
    out.fault = ParseFault::Range;
  } catch (const plat::ByteRangeError&) {
    out = Parsed<T>{};
    out.fault = ParseFault::Length;
  }
  return out;
}

int16_t I16(int v) { return static_cast<std::int16_t>(v); }

MapZone DecodeZone(const plat::Bytes& m, std::size_t b) {
  MapZone z;
  z.Z0 = 0;
  z.ToneNum = I16(HexByte(m, b + kZone.ToneNum.pos));
  z.LowKey = I16(HexByte(m, b + kZone.LowKey.pos));
  z.HighKey = I16(HexByte(m, b + kZone.HighKey.pos));
  z.Transpose = I16(SignedByte(m, b + kZone.Transpose.pos));
  z.Volume = I16(HexByte(m, b + kZone.Volume.pos));
  z.Pan = I16(SignedByte(m, b + kZone.Pan.pos));
  z.Output = I16(HexByte(m, b + kZone.Output.pos));
  z.KeyMode = I16(Nibble(m, b + kZone.KeyMode.pos));
  z.GroupByte = I16(HexByte(m, b + kZone.GroupByte.pos));
  z.Label = std::string(12, '0');
  return z;
}

PresetLayer DecodeLayer(const plat::Bytes& m, std::size_t b) {
  PresetLayer l;
  l.Reserved = 0;
  l.MapSwitchCtlr = I16(HexByte(m, b + kLayer.MapSwitchCtlr.pos));
  for (int n = 0; n < 4; ++n) l.LayerMap[n] = I16(HexByte(m, b + kLayer.LayerMap.pos + 2 * n));
  for (int n = 0; n < 3; ++n) l.SwitchPoint[n] = I16(HexByte(m, b + kLayer.SwitchPoint.pos + 2 * n));
  l.Transpose = I16(SignedByte(m, b + kLayer.Transpose.pos));
  l.Val13 = I16(SignedByte(m, b + kLayer.Val13.pos));
  l.Output = I16(HexByte(m, b + kLayer.Output.pos));
  l.Val16 = I16(SignedByte(m, b + kLayer.Val16.pos));
  l.Val18 = I16(SignedByte(m, b + kLayer.Val18.pos));
  l.Val19 = I16(SignedByte(m, b + kLayer.Val19.pos));
  l.Val21 = I16(SignedByte(m, b + kLayer.Val21.pos));
  l.Val22 = I16(SignedByte(m, b + kLayer.Val22.pos));
  l.Val23 = I16(SignedByte(m, b + kLayer.Val23.pos));
  l.Val24 = I16(HexByte(m, b + kLayer.Val24.pos));
  l.Val14 = I16(HexByte(m, b + kLayer.Val14.pos));
  l.Val17 = I16(SignedByte(m, b + kLayer.Val17.pos));
  l.Val20 = I16(SignedByte(m, b + kLayer.Val20.pos));
  return l;
}

}  // namespace

Parsed<WaveDumpData> ParseWaveDump(const plat::Bytes& m, std::int16_t number) {
  return Decode<WaveDumpData>(CheckObjectReply(m, kWave.Length, Code(ObjType::Wave)), [&](WaveDumpData& d) {
    WaveRecord& w = d.rec;
    w.Name = NameText(m, kWave.Name.pos);
    w.WaveFlags = static_cast<std::uint8_t>(HexByte(m, kWave.WaveFlags.pos));
    d.LoopOn = (w.WaveFlags & kWave.LoopOnBit) ? 1 : 0;
    d.LoopDir = (w.WaveFlags & kWave.LoopDirBit) ? 1 : 0;
    d.Stereo = (w.WaveFlags & kWave.StereoBit) ? 1 : 0;
    w.FineTune = I16(SignedByte(m, kWave.FineTune.pos));
    // The address field counts kilowords; the product is formed wide and must fit 32 bits.
    const std::int64_t addr = static_cast<std::int64_t>(HexLong(m, kWave.WaveAddr.pos, 8)) * 1024;
    if (addr < INT32_MIN || addr > INT32_MAX) throw CodecError("wave address out of range");
    w.WaveAddr = static_cast<std::int32_t>(addr);
    w.WaveSize = HexWord(m, kWave.WaveSize.pos);
    w.Checksum = HexWord(m, kWave.Checksum.pos);
    w.PlayStart = HexLong(m, kWave.PlayStart.pos, 8);
    w.PlayEnd = HexLong(m, kWave.PlayEnd.pos, 8);
    w.WaveLen = HexLong(m, kWave.WaveLen.pos, 8);
    w.LoopStart = HexLong(m, kWave.LoopStart.pos, 8);
    w.LoopEnd = HexLong(m, kWave.LoopEnd.pos, 8);
    w.LoopFract = HexLong(m, kWave.LoopFract.pos, 8);
    w.SampPeriod = HexLong(m, kWave.SampPeriod.pos, 8);
    w.WaveNorm = HexWord(m, kWave.WaveNorm.pos);
    w.WavePitch = HexWord(m, kWave.WavePitch.pos);
    w.Spare = "00000000";
    w.Number = number;
  });
}

Parsed<ToneRecord> ParseToneDump(const plat::Bytes& m, std::int16_t number) {
  return Decode<ToneRecord>(CheckObjectReply(m, kTone.Length, Code(ObjType::Tone)), [&](ToneRecord& t) {
    const auto hb = [&](Field f) { return I16(HexByte(m, f.pos)); };
    const auto sb = [&](Field f) { return I16(SignedByte(m, f.pos)); };
    t.Name = NameText(m, kTone.Name.pos);
    t.Reserved48 = 0;
    t.WaveNum = hb(kTone.WaveNum);
    t.P52 = I16(Nibble(m, kTone.P52.pos));
    t.Env1Att = sb(kTone.Env1Att);
    t.Env1Sus = hb(kTone.Env1Sus);
    t.Env1Dec = hb(kTone.Env1Dec);
    t.Env1Rel = hb(kTone.Env1Rel);
    t.Env2Att = sb(kTone.Env2Att);
    t.Env2Sus = hb(kTone.Env2Sus);
    t.Env2Dec = hb(kTone.Env2Dec);
    t.Env2Rel = hb(kTone.Env2Rel);
    t.DcaEnvSel = hb(kTone.DcaEnvSel);
    t.Dca0 = sb(kTone.Dca0);
    t.Dca1 = sb(kTone.Dca1);
    t.DcaAuxSrc = hb(kTone.DcaAuxSrc);
    t.Dca2 = sb(kTone.Dca2);
    t.Dcf4 = hb(kTone.Dcf4);
    t.DcfEnvSel = hb(kTone.DcfEnvSel);
    t.Dcf3 = sb(kTone.Dcf3);
    t.Dcf0 = sb(kTone.Dcf0);
    t.Dcf1 = sb(kTone.Dcf1);
    t.DcfAuxSrc = hb(kTone.DcfAuxSrc);
    t.Dcf2 = sb(kTone.Dcf2);
    t.DcoEnvSel = hb(kTone.DcoEnvSel);
    t.Dco3 = sb(kTone.Dco3);
    t.Dco0 = sb(kTone.Dco0);
    t.Dco1 = sb(kTone.Dco1);
    t.DcoAuxSrc = hb(kTone.DcoAuxSrc);
    t.Dco2 = sb(kTone.Dco2);
    t.Lfo0 = hb(kTone.Lfo0);
    t.LfoWaveshape = hb(kTone.LfoWaveshape);
    t.Lfo1 = hb(kTone.Lfo1);
    t.LfoSrc1 = hb(kTone.LfoSrc1);
    t.Lfo2 = hb(kTone.Lfo2);
    t.LfoSrc2 = hb(kTone.LfoSrc2);
    t.Lfo3 = hb(kTone.Lfo3);
    t.DcoModeBits = hb(kTone.DcoModeBits);
    t.Lfo4 = sb(kTone.Lfo4);
    t.LfoQuantSrc = hb(kTone.LfoQuantSrc);
    t.PanEnvSel = hb(kTone.PanEnvSel);
    t.Pan0 = sb(kTone.Pan0);
    t.Pan1 = sb(kTone.Pan1);
    t.Pan2 = sb(kTone.Pan2);
    t.PanAuxSrc = hb(kTone.PanAuxSrc);
    t.Pan3 = sb(kTone.Pan3);
    t.PanModeBits = hb(kTone.PanModeBits);
    t.DcaDcfModeBits = I16(Nibble(m, kTone.DcaDcfModeBits.pos));
    t.Lfo5 = hb(kTone.Lfo5);
    t.Spare = std::string(36, '0');
    t.Number = number;
  });
}

plat::Bytes MakeMapHeaderMsg(const plat::Bytes& dump) {
  plat::Bytes h = dump.mid(1, kMapHeader.Length - 1);
  h.append(0xF7);
  h.set(kHead.Kind.pos, Code(ObjType::MapHeader));
  PatchNibbles(h, kHead.DataLength.pos, NumberNibbles(kMapHeader.DataLength), 4);
  return h;
}

std::vector<ColourValue> ZoneColours(int zones) {
  std::vector<ColourValue> out;
  for (int k = 0; k < zones; ++k) out.push_back(kZoneColourList[static_cast<std::size_t>(k % 6)]);
  return out;
}

Parsed<MapDumpData> ParseMapDump(const plat::Bytes& m, std::int16_t number) {
  // The zone count decides the length: check what is needed to read it first.
  ParseFault head = ParseFault::None;
  std::size_t length = 0;
  if (m.size() < kMap.MinForLastZone) {
    head = ParseFault::Length;
  } else if (!AllNibbles(m, kMap.LastZone.pos, kMap.LastZone.last())) {
    head = ParseFault::NotNibble;
  } else {
    length = MapLayout::LengthFor(HexByte(m, kMap.LastZone.pos) + 1);
    head = CheckObjectReply(m, length, Code(ObjType::Map));
  }
  return Decode<MapDumpData>(head, [&](MapDumpData& d) {
    MapRecord& r = d.rec;
    r.Name = NameText(m, kMap.Name.pos);
    r.Reserved48 = 0;
    r.Reserved50 = 0;
    r.LastZone = I16(HexByte(m, kMap.LastZone.pos));
    r.Spare = std::string(30, '0');
    const int zones = r.LastZone + 1;
    for (int k = 0; k < zones; ++k) {
      const std::size_t b = kMap.ZoneStart(k);
      r.Zones.push_back(DecodeZone(m, b));
      d.zoneMsgs.push_back(m.mid(b, kZone.Size));
    }
    d.zoneColour = ZoneColours(zones);
    d.headerMsg = MakeMapHeaderMsg(m);
    r.Number = number;
  });
}

Parsed<MapZoneData> ParseMapZoneDump(const plat::Bytes& m) {
  return Decode<MapZoneData>(CheckObjectReply(m, kZoneMsg.Length, Code(ObjType::MapZone)), [&](MapZoneData& d) {
    d.zone = DecodeZone(m, kZoneMsg.ZoneStart);
    d.zoneMsg = m.mid(kZoneMsg.ZoneStart, kZone.Size);
  });
}

Parsed<PresetRecord> ParsePresetDump(const plat::Bytes& m, std::int16_t number) {
  return Decode<PresetRecord>(CheckObjectReply(m, kPreset.Length, Code(ObjType::Preset)), [&](PresetRecord& p) {
    p.Name = NameTextKeepZeros(m, kPreset.Name.pos);
    p.Reserved48 = 0;
    p.PresetMode = I16(HexByte(m, kPreset.PresetMode.pos));
    for (int n = 0; n < 8; ++n) p.MaxPolyphony[n] = I16(HexByte(m, kPreset.MaxPolyphony.pos + 2 * n));
    for (int n = 0; n < 8; ++n) p.Priority[n] = I16(HexByte(m, kPreset.Priority.pos + 2 * n));
    for (int n = 0; n < 3; ++n) p.AuxCtl[n] = I16(HexByte(m, kPreset.AuxCtl.pos + 2 * n));
    p.Val0 = I16(SignedByte(m, kPreset.Val0.pos));
    p.ModSource = I16(HexByte(m, kPreset.ModSource.pos));
    p.Val1 = I16(SignedByte(m, kPreset.Val1.pos));
    p.XfadeCtlr = I16(HexByte(m, kPreset.XfadeCtlr.pos));
    p.PivotPoint = I16(HexByte(m, kPreset.PivotPoint.pos));
    p.Val4 = I16(HexByte(m, kPreset.Val4.pos));
    p.GroupEnable = I16(HexByte(m, kPreset.GroupEnable.pos));
    p.Spare = std::string(44, '0');
    p.Layer[0] = DecodeLayer(m, kPreset.LayerStart(0));
    p.Layer[1] = DecodeLayer(m, kPreset.LayerStart(1));
    p.Number = number;
  });
}

Parsed<MultiRecord> ParseMultiDump(const plat::Bytes& m, std::int16_t number) {
  return Decode<MultiRecord>(CheckObjectReply(m, kMulti.Length, Code(ObjType::Multi)), [&](MultiRecord& r) {
    r.Name = NameTextKeepZeros(m, kMulti.Name.pos);
    r.Reserved48 = 0;
    r.Reserved50 = 0;
    r.PartEnable = HexLong(m, kMulti.PartEnable.pos, 4);
    for (int g = 0; g < 8; ++g) r.MaxPolyphony[g] = I16(HexByte(m, kMulti.MaxPolyphony.pos + 2 * g));
    for (int g = 0; g < 8; ++g) r.Priority[g] = I16(HexByte(m, kMulti.Priority.pos + 2 * g));
    for (int k = 0; k < 16; ++k) r.PartPreset[k] = I16(HexByte(m, kMulti.PartPreset.pos + 2 * k));
    for (int k = 0; k < 16; ++k) r.PartVolume[k] = I16(HexByte(m, kMulti.PartVolume.pos + 2 * k));
    r.GroupEnable = I16(HexByte(m, kMulti.GroupEnable.pos));
    r.Spare = std::string(58, '0');
    r.Number = number;
  });
}

Parsed<ObjDirStatus> ParseDirStatus(const plat::Bytes& m) {
  // Only the length makes a status reply; what stands around the fields is not looked at.
  const ParseFault head = m.size() != kDirStatus.Length ? ParseFault::Length : ParseFault::None;
  return Decode<ObjDirStatus>(head, [&](ObjDirStatus& s) {
    s.Result = 0;
    s.Reserved = HexWord(m, kDirStatus.Reserved.pos);
    s.HighestAllowed = HexWord(m, kDirStatus.HighestAllowed.pos);
    s.ObjCount = HexWord(m, kDirStatus.ObjCount.pos);
    s.LowestNum = HexWord(m, kDirStatus.LowestNum.pos);
    s.HighestNum = HexWord(m, kDirStatus.HighestNum.pos);
    s.ParmMemUsed = HexLong(m, kDirStatus.ParmMemUsed.pos, 6);
    s.ParmMemFree = HexLong(m, kDirStatus.ParmMemFree.pos, 6);
    s.FreeParmRam = HexLong(m, kDirStatus.FreeParmRam.pos, 6);
    s.InstalledRam = HexLong(m, kDirStatus.InstalledRam.pos, 4);
    s.FreeSampleRam = HexLong(m, kDirStatus.FreeSampleRam.pos, 4);
  });
}

int DirEntryCount(int dataLength) {
  // (DataLength - 2) / 16 rounded to the nearest whole number, halves to the even one.
  const int x = dataLength - 2;
  const int q = x >= 0 ? x / 16 : -((-x + 15) / 16);  // floor
  const int r = x - 16 * q;                             // 0..15
  if (r > 8 || (r == 8 && q % 2 != 0)) return q + 1;
  return q;
}

Parsed<ObjDir> ParseDir(const plat::Bytes& m) {
  Parsed<ObjDir> out;
  if (m.size() < kDir.MinLength) {
    out.fault = ParseFault::Length;
    return out;
  }
  if (!AllNibbles(m, kHead.DataLength.pos, kHead.DataLength.last())) {
    out.fault = ParseFault::NotNibble;
    return out;
  }
  const int count = DirEntryCount(HexWord(m, kHead.DataLength.pos));
  if (count < 0) {
    out.fault = ParseFault::Range;
    return out;
  }
  // The entries DataLength announces must all be there.
  const std::size_t needed = count == 0 ? 0 : kDir.EntryBase + kDir.EntrySize * static_cast<std::size_t>(count) - 1;
  if (m.size() < needed) {
    out.fault = ParseFault::DataLength;
    return out;
  }
  return Decode<ObjDir>(ParseFault::None, [&](ObjDir& d) {
    for (int k = 0; k < count; ++k) {
      const std::size_t b = kDir.EntryBase + kDir.EntrySize * static_cast<std::size_t>(k);
      DirEntry e;
      e.Index = I16(k);
      e.Number = HexWord(m, b + kDir.Number.pos);
      e.Name = NameText(m, b + kDir.Name.pos);
      d.Entries.push_back(std::move(e));
    }
    d.Count = I16(count);
  });
}

namespace {
// A parameter-family or master-tune reply: long enough to be a reply at all, reaching the last
// position read, and ended by F7 right after the fields or later.
ParseFault CheckGlobalReply(const plat::Bytes& m, std::size_t lastRead) {
  if (m.size() < kGlobal.MinLength || m.size() < lastRead + 1) return ParseFault::Length;
  if (m.at(m.size()) != 0xF7) return ParseFault::End;
  return ParseFault::None;
}
}  // namespace

Parsed<std::string> ParseBankNameReply(const plat::Bytes& m) {
  return Decode<std::string>(CheckGlobalReply(m, kGlobal.BankName.last()), [&](std::string& name) {
    for (std::size_t p = kGlobal.BankName.pos; p <= kGlobal.BankName.last(); ++p)
      name += static_cast<char>(PlainByte(m, p));
  });
}

Parsed<std::int16_t> ParseGlobalParmReply(const plat::Bytes& m) {
  return Decode<std::int16_t>(CheckGlobalReply(m, kGlobal.ParmValue.last()),
                              [&](std::int16_t& v) { v = I16(PlainByte(m, kGlobal.ParmValue.pos)); });
}

Parsed<std::int16_t> ParseMasterTuneReply(const plat::Bytes& m) {
  ParseFault head = CheckGlobalReply(m, kGlobal.MasterTune.last());
  if (head == ParseFault::None && !AllNibbles(m, kGlobal.MasterTune.pos, kGlobal.MasterTune.last()))
    head = ParseFault::NotNibble;
  return Decode<std::int16_t>(head, [&](std::int16_t& v) { v = HexWord(m, kGlobal.MasterTune.pos); });
}

ParseFault CheckImage(ObjType kind, const plat::Bytes& image) {
  switch (kind) {
    case ObjType::Wave: return ParseWaveDump(image, 0).fault;
    case ObjType::Tone: return ParseToneDump(image, 0).fault;
    case ObjType::Map: return ParseMapDump(image, 0).fault;
    case ObjType::Preset: return ParsePresetDump(image, 0).fault;
    case ObjType::Multi: return ParseMultiDump(image, 0).fault;
    case ObjType::MapHeader: return CheckObjectReply(image, kMapHeader.Length, Code(ObjType::MapHeader));
    default: return ParseFault::Kind;
  }
}

}  // namespace tavoro

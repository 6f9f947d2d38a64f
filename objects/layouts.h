#pragma once
// Where every field of every object message lies: one table per kind, shared by the dump parsers,
// ObjectUpload and the parameter senders, so a position is written down exactly once.
// Positions are 1-based characters of the whole message (F0 is position 1); `count` is the
// number of characters (nibbles, or plain bytes where the table says so).

#include <cstddef>
#include <cstdint>

namespace tavoro {

struct Field {
  std::uint16_t pos;
  std::uint8_t count;
  constexpr std::uint16_t last() const { return static_cast<std::uint16_t>(pos + count - 1); }
  // The same field `by` characters further on (array members, layer B, zone k).
  constexpr Field at(int by) const { return Field{static_cast<std::uint16_t>(pos + by), count}; }
};

// The head every object-family message and reply shares.
struct ObjectHeadLayout {
  Field Cmd{8, 1};
  Field Kind{9, 1};
  Field DataLength{10, 4};
  Field Number{14, 4};
  Field Name{20, 28};
  std::uint16_t DataStart = 14;  // first data character; DataLength counts bytes from here
  // Message length for a given DataLength: head (13), two characters per byte, F7.
  static constexpr std::size_t LengthFor(std::size_t dataBytes) { return 13 + 2 * dataBytes + 1; }
  static constexpr std::size_t DataBytesFor(std::size_t length) { return (length - 14) / 2; }
};
inline constexpr ObjectHeadLayout kHead{};

struct WaveLayout {
  std::size_t Length = 148;
  Field Name{20, 28};
  Field WaveFlags{48, 2};
  Field FineTune{50, 2};
  Field WaveAddr{52, 8};  // times 1024
  Field WaveSize{60, 4};
  Field Checksum{64, 4};
  Field PlayStart{68, 8};
  Field PlayEnd{76, 8};
  Field WaveLen{84, 8};
  Field LoopStart{92, 8};
  Field LoopEnd{100, 8};
  Field LoopFract{108, 8};
  Field SampPeriod{116, 8};
  Field WaveNorm{124, 4};
  Field WavePitch{128, 4};
  // Flag bits of WaveFlags.
  std::uint8_t LoopOnBit = 0x80, LoopDirBit = 0x40, StereoBit = 0x20;
};
inline constexpr WaveLayout kWave{};

struct ToneLayout {
  std::size_t Length = 180;
  Field Name{20, 28};
  Field WaveNum{50, 2};
  Field P52{52, 1};  // one nibble; 53 is not read
  Field Env1Att{54, 2}, Env1Sus{56, 2}, Env1Dec{58, 2}, Env1Rel{60, 2};
  Field Env2Att{62, 2}, Env2Sus{64, 2}, Env2Dec{66, 2}, Env2Rel{68, 2};
  Field DcaEnvSel{70, 2}, Dca0{72, 2}, Dca1{74, 2}, DcaAuxSrc{76, 2}, Dca2{78, 2};
  Field Dcf4{80, 2}, DcfEnvSel{82, 2}, Dcf3{84, 2}, Dcf0{86, 2}, Dcf1{88, 2}, DcfAuxSrc{90, 2}, Dcf2{92, 2};
  Field DcoEnvSel{94, 2}, Dco3{96, 2}, Dco0{98, 2}, Dco1{100, 2}, DcoAuxSrc{102, 2}, Dco2{104, 2};
  Field Lfo0{106, 2}, LfoWaveshape{108, 2}, Lfo1{110, 2}, LfoSrc1{112, 2}, Lfo2{114, 2}, LfoSrc2{116, 2};
  Field Lfo3{118, 2}, DcoModeBits{120, 2}, Lfo4{122, 2}, LfoQuantSrc{124, 2};
  Field PanEnvSel{126, 2}, Pan0{128, 2}, Pan1{130, 2}, Pan2{132, 2}, PanAuxSrc{134, 2}, Pan3{136, 2};
  Field PanModeBits{138, 2};
  Field DcaDcfModeBits{141, 1};  // one nibble; 140 is not read
  Field Lfo5{142, 2};
};
inline constexpr ToneLayout kTone{};

// One zone's 32 nibbles; offsets inside the zone.
struct ZoneLayout {
  std::uint8_t Size = 32;
  Field ToneNum{2, 2};
  Field LowKey{4, 2};
  Field HighKey{6, 2};
  Field Transpose{8, 2};
  Field Volume{10, 2};
  Field Pan{12, 2};
  Field Output{14, 2};
  Field KeyMode{16, 1};  // one nibble; offset 17 is not read
  Field GroupByte{18, 2};
};
inline constexpr ZoneLayout kZone{};

struct MapLayout {
  std::size_t HeaderLength = 84;  // positions 1-83 and F7: also the Map Header message length
  std::size_t MinForLastZone = 54;
  Field Name{20, 28};
  Field LastZone{52, 2};
  std::uint16_t ZoneBase = 84;  // zone k at ZoneBase + 32k
  static constexpr std::size_t LengthFor(int zones) { return 84 + 32 * static_cast<std::size_t>(zones); }
  constexpr std::uint16_t ZoneStart(int k) const { return static_cast<std::uint16_t>(ZoneBase + 32 * k); }
};
inline constexpr MapLayout kMap{};

// The Map Header message (kind 5): positions 1-83 of the Map dump, F7, kind and DataLength re-set.
struct MapHeaderLayout {
  std::size_t Length = 84;
  std::uint16_t DataLength = 0x23;  // 35 bytes
};
inline constexpr MapHeaderLayout kMapHeader{};

// The Map Zone dump reply and upload message: the zone's 32 nibbles from position 20.
struct MapZoneMsgLayout {
  std::size_t Length = 52;
  std::uint16_t DataLength = 0x13;  // 19 bytes
  Field Key{14, 2};       // the zone's address: a key inside it
  Field MapNumber{16, 2};
  std::uint16_t ZoneStart = 20;
  // A zone field's position in the zone message (the NibPos of a zone upload).
  constexpr std::uint16_t Pos(Field f) const { return static_cast<std::uint16_t>(ZoneStart + f.pos); }
};
inline constexpr MapZoneMsgLayout kZoneMsg{};

// One Preset layer; offsets inside the layer (layer A at 148, layer B 192 further on).
struct LayerLayout {
  Field MapSwitchCtlr{2, 2};
  Field LayerMap{4, 2};     // entry n at +2n, n = 0..3
  Field SwitchPoint{12, 2}; // entry n at +2n, n = 0..2
  Field Transpose{18, 2};
  Field Val13{20, 2};
  Field Output{22, 2};
  Field Val16{24, 2};
  Field Val18{26, 2};
  Field Val19{28, 2};
  Field Val21{30, 2};
  Field Val22{32, 2};
  Field Val23{34, 2};
  Field Val24{36, 2};
  Field Val14{38, 2};
  Field Val17{40, 2};
  Field Val20{42, 2};
};
inline constexpr LayerLayout kLayer{};

struct PresetLayout {
  std::size_t Length = 532;
  Field Name{20, 28};
  Field PresetMode{50, 2};
  Field MaxPolyphony{52, 2};  // group n at +2n, n = 0..7
  Field Priority{68, 2};      // group n at +2n
  Field AuxCtl{84, 2};        // n at +2n, n = 0..2
  Field Val0{90, 2};
  Field ModSource{92, 2};
  Field Val1{94, 2};
  Field XfadeCtlr{96, 2};
  Field PivotPoint{98, 2};
  Field Val4{100, 2};
  Field GroupEnable{102, 2};
  std::uint16_t LayerBase = 148;
  std::uint16_t LayerSize = 192;
  constexpr std::uint16_t LayerStart(int layer) const { return static_cast<std::uint16_t>(LayerBase + LayerSize * layer); }
  // A layer field's position in the dump for layer 0 (A) or 1 (B).
  constexpr Field LayerField(Field f, int layer) const { return f.at(LayerStart(layer)); }
};
inline constexpr PresetLayout kPreset{};

struct MultiLayout {
  std::size_t Length = 212;
  Field Name{20, 28};
  Field PartEnable{52, 4};    // read unsigned
  Field MaxPolyphony{56, 2};  // group g at +2g, g = 0..7
  Field Priority{72, 2};      // group g at +2g
  Field PartPreset{88, 2};    // part p (1-16) at +2(p-1)
  Field PartVolume{120, 2};   // part p at +2(p-1)
  Field GroupEnable{152, 2};
};
inline constexpr MultiLayout kMulti{};

struct DirStatusLayout {
  std::size_t Length = 64;
  Field Reserved{18, 4};
  Field HighestAllowed{22, 4};
  Field ObjCount{26, 4};
  Field LowestNum{30, 4};
  Field HighestNum{34, 4};
  Field ParmMemUsed{38, 6};
  Field ParmMemFree{44, 6};
  Field FreeParmRam{50, 6};
  Field InstalledRam{56, 4};
  Field FreeSampleRam{60, 4};
};
inline constexpr DirStatusLayout kDirStatus{};

struct DirLayout {
  std::size_t MinLength = 12;  // below this a reply is simply "no directory"
  std::uint16_t EntryBase = 18; // entry k at EntryBase + 32k
  std::uint8_t EntrySize = 32;
  Field Number{0, 4};  // offsets inside an entry
  Field Name{4, 28};
};
inline constexpr DirLayout kDir{};

// Replies to the Global data requests. The first six are parameter-family replies of plain bytes.
struct GlobalLayout {
  std::size_t MinLength = 12;     // a shorter reply is a missed read (time-out, status reply)
  Field BankName{12, 14};         // plain characters
  Field ParmValue{13, 1};         // plain byte
  Field MasterTune{18, 4};        // nibbles, 16-bit two's complement
};
inline constexpr GlobalLayout kGlobal{};

}  // namespace tavoro

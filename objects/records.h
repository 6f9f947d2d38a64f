#pragma once
// The object store: the records of the objects now in the editor, the raw dumps they came from,
// and each kind's directory status, directory, loaded flag and directory index. Plain structures
// copied by value; one ObjectStore belongs to the program object.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "objects/obj_types.h"
#include "platform/bytes.h"

namespace tavoro {

struct WaveRecord {
  std::string Name;
  std::uint8_t WaveFlags = 0;  // bit 7 loop on, bit 6 loop forward and reverse, bit 5 stereo
  std::int16_t FineTune = 0;
  std::int32_t WaveAddr = 0;   // the address field times 1024
  std::int16_t WaveSize = 0;
  std::int16_t Checksum = 0;
  std::int32_t PlayStart = 0;
  std::int32_t PlayEnd = 0;
  std::int32_t WaveLen = 0;
  std::int32_t LoopStart = 0;
  std::int32_t LoopEnd = 0;
  std::int32_t LoopFract = 0;
  std::int32_t SampPeriod = 0;
  std::int16_t WaveNorm = 0;
  std::int16_t WavePitch = 0;
  std::string Spare;
  std::int16_t Number = 0;
  friend bool operator==(const WaveRecord&, const WaveRecord&) = default;
};

struct ToneRecord {
  std::string Name;
  std::int16_t Reserved48 = 0;
  std::int16_t WaveNum = 0, P52 = 0;
  std::int16_t Env1Att = 0, Env1Sus = 0, Env1Dec = 0, Env1Rel = 0;
  std::int16_t Env2Att = 0, Env2Sus = 0, Env2Dec = 0, Env2Rel = 0;
  std::int16_t DcaEnvSel = 0, Dca0 = 0, Dca1 = 0, DcaAuxSrc = 0, Dca2 = 0;
  std::int16_t Dcf4 = 0, DcfEnvSel = 0, Dcf3 = 0, Dcf0 = 0, Dcf1 = 0, DcfAuxSrc = 0, Dcf2 = 0;
  std::int16_t DcoEnvSel = 0, Dco3 = 0, Dco0 = 0, Dco1 = 0, DcoAuxSrc = 0, Dco2 = 0;
  std::int16_t Lfo0 = 0, LfoWaveshape = 0, Lfo1 = 0, LfoSrc1 = 0, Lfo2 = 0, LfoSrc2 = 0, Lfo3 = 0;
  std::int16_t DcoModeBits = 0, Lfo4 = 0, LfoQuantSrc = 0;
  std::int16_t PanEnvSel = 0, Pan0 = 0, Pan1 = 0, Pan2 = 0, PanAuxSrc = 0, Pan3 = 0, PanModeBits = 0;
  std::int16_t DcaDcfModeBits = 0, Lfo5 = 0;
  std::string Spare;
  std::int16_t Number = 0;
  friend bool operator==(const ToneRecord&, const ToneRecord&) = default;
};

struct MapZone {
  std::int16_t Z0 = 0;
  std::int16_t ToneNum = 0;
  std::int16_t LowKey = 0;
  std::int16_t HighKey = 0;
  std::int16_t Transpose = 0;
  std::int16_t Volume = 0;
  std::int16_t Pan = 0;
  std::int16_t Output = 0;    // 0 main, 1 sub
  std::int16_t KeyMode = 0;   // 0 note number, 8 fixed
  std::int16_t GroupByte = 0; // low nibble the group, high nibble 0 normal, 1 exclusive
  std::string Label;
  friend bool operator==(const MapZone&, const MapZone&) = default;
};

struct MapRecord {
  std::string Name;
  std::int16_t Reserved48 = 0;
  std::int16_t Reserved50 = 0;
  std::int16_t LastZone = 0;
  std::string Spare;
  std::vector<MapZone> Zones;  // 0 to LastZone
  std::int16_t Number = 0;
  friend bool operator==(const MapRecord&, const MapRecord&) = default;
};

struct PresetLayer {
  std::int16_t Reserved = 0;
  std::int16_t MapSwitchCtlr = 0;
  std::array<std::int16_t, 4> LayerMap{};
  std::array<std::int16_t, 3> SwitchPoint{};
  std::int16_t Transpose = 0;
  std::int16_t Val13 = 0;   // pitch bend range
  std::int16_t Output = 0;  // 0 [Map], 1 Main, 2 Sub
  std::int16_t Val16 = 0;   // layer pan
  std::int16_t Val18 = 0;   // volume
  std::int16_t Val19 = 0;   // filter cutoff
  std::int16_t Val21 = 0;   // DCA velocity
  std::int16_t Val22 = 0;   // DCF velocity
  std::int16_t Val23 = 0;   // DCF envelope amount
  std::int16_t Val24 = 0;   // DCO modulation range
  std::int16_t Val14 = 0;   // keyboard tracking centre
  std::int16_t Val17 = 0;   // pan keyboard tracking
  std::int16_t Val20 = 0;   // filter keyboard tracking
  std::string Spare;
  friend bool operator==(const PresetLayer&, const PresetLayer&) = default;
};

struct PresetRecord {
  std::string Name;  // 14 characters, zero characters kept
  std::int16_t Reserved48 = 0;
  std::int16_t PresetMode = 0;
  std::array<std::int16_t, 8> MaxPolyphony{};
  std::array<std::int16_t, 8> Priority{};
  std::array<std::int16_t, 3> AuxCtl{};  // 255 = off
  std::int16_t Val0 = 0;        // layer detune
  std::int16_t ModSource = 0;
  std::int16_t Val1 = 0;        // modulation
  std::int16_t XfadeCtlr = 0;
  std::int16_t PivotPoint = 0;
  std::int16_t Val4 = 0;        // crossfade region width
  std::int16_t GroupEnable = 0;
  std::string Spare;
  std::array<PresetLayer, 2> Layer{};  // 0 layer A, 1 layer B
  std::int16_t Number = 0;
  friend bool operator==(const PresetRecord&, const PresetRecord&) = default;
};

struct MultiRecord {
  std::string Name;  // 14 characters, zero characters kept
  std::int16_t Reserved48 = 0;
  std::int16_t Reserved50 = 0;
  std::int32_t PartEnable = 0;  // bit p-1 set: part p off-line
  std::array<std::int16_t, 8> MaxPolyphony{};
  std::array<std::int16_t, 8> Priority{};
  std::array<std::int16_t, 16> PartPreset{};
  std::array<std::int16_t, 16> PartVolume{};
  std::int16_t GroupEnable = 0;  // bit g set: group g overflow on
  std::string Spare;
  std::int16_t Number = 0;
  friend bool operator==(const MultiRecord&, const MultiRecord&) = default;
};

struct GlobalRecord {
  std::string BankName;  // all 14 characters, blanks and zero characters included
  std::int16_t PlaybackMode = 0;
  std::int16_t ReceiveMode = 0;
  std::int16_t MidiChannel = 0;
  std::int16_t OmniPolyVolume = 0;
  std::int16_t ProgChange = 0;
  std::int16_t MasterTune = 0;  // hundredths
  friend bool operator==(const GlobalRecord&, const GlobalRecord&) = default;
};

struct ObjDirStatus {
  std::uint8_t Result = 0;
  std::int16_t Reserved = 0;
  std::int16_t HighestAllowed = 0;
  std::int16_t ObjCount = 0;
  std::int16_t LowestNum = 0;
  std::int16_t HighestNum = 0;
  std::int32_t ParmMemUsed = 0;
  std::int32_t ParmMemFree = 0;
  std::int32_t FreeParmRam = 0;
  std::int32_t InstalledRam = 0;
  std::int32_t FreeSampleRam = 0;
  friend bool operator==(const ObjDirStatus&, const ObjDirStatus&) = default;
};

struct DirEntry {
  std::int16_t Index = 0;
  std::int16_t Number = 0;
  std::string Name;
  friend bool operator==(const DirEntry&, const DirEntry&) = default;
};

struct ObjDir {
  std::int16_t Count = 0;
  std::vector<DirEntry> Entries;  // 0 to Count - 1
  friend bool operator==(const ObjDir&, const ObjDir&) = default;
};

// Windows colour values 0x00BBGGRR.
using ColourValue = std::uint32_t;
inline constexpr std::array<ColourValue, 6> kZoneColourList{0xD9FFD9, 0xD9D9FF, 0xFFD5D5, 0xD9FFFF, 0xFFD9FF, 0xFFFFD9};

struct ObjectStore {
  // Wave
  WaveRecord CurWave;
  plat::Bytes WaveDump;
  ObjDirStatus WaveStatus;
  ObjDir WaveDir;
  bool WaveLoaded = false;
  std::int16_t WaveDirIdx = 0;
  std::int16_t WaveLoopOn = 0, WaveLoopDir = 0, WaveStereo = 0;  // 1 or 0
  // Tone
  ToneRecord CurTone;
  plat::Bytes ToneDump;
  ObjDirStatus ToneStatus;
  ObjDir ToneDir;
  bool ToneLoaded = false;
  std::int16_t ToneDirIdx = 0;
  // Map
  MapRecord CurMap;
  plat::Bytes MapDump;
  ObjDirStatus MapStatus;
  ObjDir MapDir;
  bool MapLoaded = false;
  std::int16_t MapDirIdx = 0;
  plat::Bytes MapHeaderMsg;
  plat::Bytes MapZoneDump;          // the last zone reply that passed its checks
  std::vector<plat::Bytes> ZoneMsgs; // per zone, its 32 nibbles
  std::vector<ColourValue> ZoneColour;
  std::array<ColourValue, 6> ZoneColourList{};
  std::int16_t CurZoneIdx = 0;
  std::int16_t ZoneToneEntry = -1;  // directory index of the shown zone's Tone, -1 none
  // Preset
  PresetRecord CurPreset;
  plat::Bytes PresetDump;
  ObjDirStatus PresetStatus;
  ObjDir PresetDir;
  bool PresetLoaded = false;
  std::int16_t PresetDirIdx = 0;
  std::uint8_t PresetLayerSel = 0;  // 0 layer A, 1 layer B
  // Multi
  MultiRecord CurMulti;
  plat::Bytes MultiDump;
  ObjDirStatus MultiStatus;
  ObjDir MultiDir;
  bool MultiLoaded = false;
  std::int16_t MultiDirIdx = 0;
  // Global
  GlobalRecord GlobalData;
  // Shared
  std::int32_t FreeRamKw = 0;
  plat::Bytes DirStatusReply;
  plat::Bytes DirReply;
};

// The members of one kind (0-4), for code that works on any kind.
struct KindStore {
  plat::Bytes& Dump;
  ObjDirStatus& Status;
  ObjDir& Dir;
  bool& Loaded;
  std::int16_t& DirIdx;
};
// Throws std::out_of_range for a kind outside 0-4.
KindStore StoreOf(ObjectStore& s, ObjType kind);

}  // namespace tavoro

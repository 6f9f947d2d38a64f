#pragma once
// Where the instrument keeps each field of its object dumps: one table per kind, used by the
// default bank that writes them and by the upload checks that read them back.

#include <cstddef>
#include <cstdint>

namespace emu {

enum class Kind : std::uint8_t { Wave = 0, Tone = 1, Map = 2, Preset = 3, Multi = 4, MapHeader = 5, MapZone = 6 };
inline constexpr int kObjectKinds = 5;  // Wave .. Multi hold numbered objects
inline constexpr std::uint8_t kAllMemory = 0x7F;

// Commands (position 8).
namespace cmd {
inline constexpr std::uint8_t DumpRequest = 0x01, Upload = 0x02, Delete = 0x03, Parameter = 0x11, Directory = 0x12,
                              LoadBank = 0x30, StereoMerge = 0x31, MasterTune = 0x32;
}

// Common head of every object message.
namespace head {
inline constexpr std::size_t Command = 8, Kind = 9, DataLength = 10, Number = 14, Name = 20, Fields = 48;
}

// Whole-message lengths of the dumps (F0 .. F7).
inline constexpr std::size_t kWaveLength = 148, kToneLength = 180, kPresetLength = 532, kMultiLength = 212;
inline constexpr std::size_t kMapHeadLength = 84, kZoneNibbles = 32, kZoneMessageLength = 52,
                             kMapHeaderLength = 84, kDirStatusLength = 64, kDumpRequestLength = 18;
inline constexpr std::size_t MapLength(std::size_t zones) { return kMapHeadLength + kZoneNibbles * zones; }
// The fixed length of a kind's dump; 0 for the Map, whose length follows its zone count.
std::size_t FixedDumpLength(Kind k);

namespace wave {
inline constexpr std::size_t Flags = 48, FineTune = 50, Address = 52, Size = 60, Checksum = 64, PlayStart = 68,
                             PlayEnd = 76, Length = 84, LoopStart = 92, LoopEnd = 100, LoopFract = 108,
                             Period = 116, Norm = 124, Pitch = 128;
inline constexpr std::uint8_t LoopOn = 0x80, LoopBoth = 0x40, Stereo = 0x20;
}  // namespace wave

namespace tone {
// One data byte per field from position 48; field k sits at 48 + 2k.
inline constexpr std::size_t WaveNum = 50, P52 = 52, Env1Att = 54, Env1Sus = 56, Env1Dec = 58, Env1Rel = 60,
                             Env2Att = 62, Env2Sus = 64, Env2Dec = 66, Env2Rel = 68, DcaEnvSel = 70, Dca0 = 72,
                             Dca1 = 74, DcaAuxSrc = 76, Dca2 = 78, Dcf4 = 80, DcfEnvSel = 82, Dcf3 = 84, Dcf0 = 86,
                             Dcf1 = 88, DcfAuxSrc = 90, Dcf2 = 92, DcoEnvSel = 94, Dco3 = 96, Dco0 = 98, Dco1 = 100,
                             DcoAuxSrc = 102, Dco2 = 104, Lfo0 = 106, LfoWaveshape = 108, Lfo1 = 110, LfoSrc1 = 112,
                             Lfo2 = 114, LfoSrc2 = 116, Lfo3 = 118, DcoModeBits = 120, Lfo4 = 122,
                             LfoQuantSrc = 124, PanEnvSel = 126, Pan0 = 128, Pan1 = 130, Pan2 = 132,
                             PanAuxSrc = 134, Pan3 = 136, PanModeBits = 138, DcaDcfModeBits = 140, Lfo5 = 142;
}  // namespace tone

namespace map {
inline constexpr std::size_t LastZone = 52, FirstZone = 84;
// Offsets inside a zone's 32 nibbles.
inline constexpr std::size_t ToneNum = 2, LowKey = 4, HighKey = 6, Transpose = 8, Volume = 10, Pan = 12,
                             Output = 14, KeyMode = 16, Group = 18;
inline constexpr std::size_t ZoneBase(std::size_t k) { return FirstZone + kZoneNibbles * k; }
// The zone message (upload and zone dump): key at 14-15, Map number at 16-17, zone data from 20.
inline constexpr std::size_t ZoneKey = 14, ZoneMap = 16, ZoneData = 20;
}  // namespace map

namespace preset {
inline constexpr std::size_t Mode = 50, MaxPolyphony = 52, Priority = 68, AuxCtl = 84, Detune = 90, ModSource = 92,
                             Modulation = 94, XfadeCtlr = 96, PivotPoint = 98, XfadeWidth = 100, GroupEnable = 102;
inline constexpr std::size_t LayerA = 148, LayerB = 340;
// Offsets inside a layer.
inline constexpr std::size_t MapSwitchCtlr = 2, LayerMap = 4, SwitchPoint = 12, Transpose = 18, BendRange = 20,
                             Output = 22, Pan = 24, Volume = 26, Cutoff = 28, DcaVelocity = 30, DcfVelocity = 32,
                             DcfEnvAmt = 34, DcoModRange = 36, KeyCentre = 38, PanKeybd = 40, FilterKeybd = 42;
}  // namespace preset

namespace multi {
inline constexpr std::size_t PartEnable = 52, MaxPolyphony = 56, Priority = 72, PartPreset = 88, PartVolume = 120,
                             GroupEnable = 152;
}  // namespace multi

}  // namespace emu

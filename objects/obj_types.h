#pragma once
// The object kind codes used in every request, upload and page of the editor.

#include <cstdint>

namespace tavoro {

enum class ObjType : std::uint8_t {
  Wave = 0,
  Tone = 1,
  Map = 2,
  Preset = 3,
  Multi = 4,
  MapHeader = 5,  // upload only: a Map's header by itself (name edits)
  MapZone = 6,    // one zone of a Map: zone dump request and zone upload
  Global = 18,    // never sent: selects the Global page
  AllMemory = 127 // delete message only
};

// Request kinds handed to ReqObjectDump beside the object kinds.
inline constexpr std::uint8_t kReqDirStatus = 16;
inline constexpr std::uint8_t kReqDir = 17;
inline constexpr std::uint8_t kReqGlobal = 18;  // the command is the whole body; no argument

constexpr std::uint8_t Code(ObjType t) { return static_cast<std::uint8_t>(t); }

// The five kinds that have numbered objects, dumps and directories.
constexpr bool IsObjectKind(int t) { return t >= 0 && t <= 4; }

// "w#", "t#", "m#", "p#", "mu#": the page label of kinds 0-4; empty for the others.
const char* PageLabel(ObjType t);
// "Wave", "Tone", "Map", "Preset", "Multi", "Map Header", "Map Zone"; empty for the others.
const char* KindName(ObjType t);

}  // namespace tavoro

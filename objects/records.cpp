#include "objects/records.h"

#include <stdexcept>

namespace tavoro {

KindStore StoreOf(ObjectStore& s, ObjType kind) {
  switch (kind) {
    case ObjType::Wave: return {s.WaveDump, s.WaveStatus, s.WaveDir, s.WaveLoaded, s.WaveDirIdx};
    case ObjType::Tone: return {s.ToneDump, s.ToneStatus, s.ToneDir, s.ToneLoaded, s.ToneDirIdx};
    case ObjType::Map: return {s.MapDump, s.MapStatus, s.MapDir, s.MapLoaded, s.MapDirIdx};
    case ObjType::Preset: return {s.PresetDump, s.PresetStatus, s.PresetDir, s.PresetLoaded, s.PresetDirIdx};
    case ObjType::Multi: return {s.MultiDump, s.MultiStatus, s.MultiDir, s.MultiLoaded, s.MultiDirIdx};
    default: throw std::out_of_range("object kind " + std::to_string(Code(kind)) + " has no store");
  }
}

const char* PageLabel(ObjType t) {
  switch (t) {
    case ObjType::Wave: return "w#";
    case ObjType::Tone: return "t#";
    case ObjType::Map: return "m#";
    case ObjType::Preset: return "p#";
    case ObjType::Multi: return "mu#";
    default: return "";
  }
}

const char* KindName(ObjType t) {
  switch (t) {
    case ObjType::Wave: return "Wave";
    case ObjType::Tone: return "Tone";
    case ObjType::Map: return "Map";
    case ObjType::Preset: return "Preset";
    case ObjType::Multi: return "Multi";
    case ObjType::MapHeader: return "Map Header";
    case ObjType::MapZone: return "Map Zone";
    default: return "";
  }
}

}  // namespace tavoro

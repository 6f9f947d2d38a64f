#pragma once
// Pure parsers: a reply from the instrument in, a record out. Each checks the reply before it
// reads a field of it (an object dump: exact length for its kind, the kind at position 9,
// DataLength agreeing with the length, F7 last, every data character a nibble; the directory
// replies: their lengths and nibbles only) and decodes into a fresh value; the caller commits
// that value to the store only when the parse succeeded. No parser throws.

#include <cstdint>
#include <string>
#include <vector>

#include "objects/obj_types.h"
#include "objects/records.h"
#include "platform/bytes.h"

namespace tavoro {

enum class ParseFault {
  None,
  Length,      // not the length its kind needs
  End,         // the last character is not F7
  Kind,        // position 9 is not the kind requested
  DataLength,  // DataLength disagrees with the length
  NotNibble,   // a data character above 15
  Range,       // a decoded value outside what its field can hold
};
const char* FaultText(ParseFault f);

template <class T>
struct Parsed {
  ParseFault fault = ParseFault::None;
  T value{};
  bool ok() const { return fault == ParseFault::None; }
};

struct WaveDumpData {
  WaveRecord rec;
  std::int16_t LoopOn = 0, LoopDir = 0, Stereo = 0;
};

struct MapDumpData {
  MapRecord rec;
  std::vector<plat::Bytes> zoneMsgs;
  std::vector<ColourValue> zoneColour;
  plat::Bytes headerMsg;
};

struct MapZoneData {
  MapZone zone;
  plat::Bytes zoneMsg;  // the 32 zone nibbles
};

// `number` is the object number that was requested: the record takes it, not the reply's own.
Parsed<WaveDumpData> ParseWaveDump(const plat::Bytes& reply, std::int16_t number);
Parsed<ToneRecord> ParseToneDump(const plat::Bytes& reply, std::int16_t number);
Parsed<MapDumpData> ParseMapDump(const plat::Bytes& reply, std::int16_t number);
Parsed<MapZoneData> ParseMapZoneDump(const plat::Bytes& reply);
Parsed<PresetRecord> ParsePresetDump(const plat::Bytes& reply, std::int16_t number);
Parsed<MultiRecord> ParseMultiDump(const plat::Bytes& reply, std::int16_t number);
// A status reply is any reply of exactly 64 characters.
Parsed<ObjDirStatus> ParseDirStatus(const plat::Bytes& reply);
// A directory reply holds DirEntryCount(DataLength) entries: shorter than 12 characters it is
// Length, and a reply that ends before the entries it announces is DataLength.
Parsed<ObjDir> ParseDir(const plat::Bytes& reply);
int DirEntryCount(int dataLength);

// The Global data replies.
Parsed<std::string> ParseBankNameReply(const plat::Bytes& reply);
Parsed<std::int16_t> ParseGlobalParmReply(const plat::Bytes& reply);
Parsed<std::int16_t> ParseMasterTuneReply(const plat::Bytes& reply);

// The Map Header message (kind 5) made from a Map dump: positions 1-83 and F7, with kind 5 and
// DataLength 0023 at 9-13. The dump must have at least 83 characters.
plat::Bytes MakeMapHeaderMsg(const plat::Bytes& mapDump);

// Zone colours for `zones` zones: zone k gets colour k mod 6 of kZoneColourList.
std::vector<ColourValue> ZoneColours(int zones);

// Whether `image` is a whole, valid message of its kind as ObjectUpload sends it: a dump of
// kinds 0-4, or the Map Header message (kind 5).
ParseFault CheckImage(ObjType kind, const plat::Bytes& image);

// The checks every object-family reply of a fixed length gets (length, F7, kind, nibbles,
// DataLength), in that order.
ParseFault CheckObjectReply(const plat::Bytes& reply, std::size_t length, std::uint8_t kind);

}  // namespace tavoro

#include "objects/transfer.h"

#include <cctype>
#include <cstdlib>
#include <stdexcept>

#include "link/trap.h"
#include "objects/codec.h"
#include "objects/layouts.h"
#include "objects/parsers.h"
#include "objects/requests.h"

namespace tavoro {

namespace {

// A reply that passed the length test but not the other checks of its kind.
struct MalformedReply : std::runtime_error {
  explicit MalformedReply(ParseFault f) : std::runtime_error(FaultText(f)) {}
};

// A text value as a number: decimal, or hexadecimal after "&H".
std::int64_t TextNumber(const std::string& text) {
  std::size_t b = 0, e = text.size();
  while (b < e && std::isspace(static_cast<unsigned char>(text[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(text[e - 1]))) --e;
  const std::string t = text.substr(b, e - b);
  int base = 10;
  std::size_t start = 0;
  if (t.size() > 2 && t[0] == '&' && (t[1] == 'H' || t[1] == 'h')) {
    base = 16;
    start = 2;
  }
  if (start >= t.size()) throw CodecError("'" + text + "' is not a number");
  const char* first = t.c_str() + start;
  char* end = nullptr;
  const long long v = std::strtoll(first, &end, base);
  if (end == first || *end != '\0') throw CodecError("'" + text + "' is not a number");
  if (base == 16) {
    // Hexadecimal digits stand for themselves: "&HFFFF" is the four digits FFFF, "&HFFFFFFFF"
    // the 32-bit pattern of -1.
    if (v < 0 || v > 0xFFFFFFFFLL) throw CodecError("'" + text + "' is out of range");
    if (v > 0x7FFFFFFFLL) return v - 0x100000000LL;
  }
  return v;
}

plat::Bytes Encode(const UploadValue& value, std::int16_t nibPos, std::uint8_t nibCount, bool nameField) {
  const auto& v = value.get();
  if (nameField) {
    if (const auto* s = std::get_if<std::string>(&v)) return NameNibbles(*s);
    return std::visit(
        [](const auto& x) -> plat::Bytes {
          if constexpr (std::is_same_v<std::decay_t<decltype(x)>, std::string>) return NameNibbles(x);
          else return NameNibbles(std::to_string(static_cast<long long>(x)));
        },
        v);
  }
  (void)nibPos;
  if (const auto* b = std::get_if<std::uint8_t>(&v)) return HexDigits(*b, ValueWidth::Byte8, nibCount);
  if (const auto* w = std::get_if<std::int16_t>(&v)) return HexDigits(*w, ValueWidth::Int16, nibCount);
  if (const auto* l = std::get_if<std::int32_t>(&v)) return HexDigits(*l, ValueWidth::Int32, nibCount);
  return HexDigits(TextNumber(std::get<std::string>(v)), ValueWidth::Int32, nibCount);
}

}  // namespace

void ObjectTransfer::ReplyTaken() {
  link_.MidiInBusy = false;
  link_.ledMIDIin.SetValue(false);
}

// ---------------------------------------------------------------------------------- requests

VeskResponse ObjectTransfer::ReqObjectDump(std::uint8_t Kind, const plat::Bytes& Cmd, const plat::Bytes& Arg) {
  VeskResponse failed;
  failed.outcome = VeskResponse::Outcome::Failed;
  failed.text = "False";
  return Trap(link_, "ReqObjectDump() ", "Error requesting data object from Vesk", failed, [&] {
    plat::Bytes body = Cmd;
    if (Kind != kReqGlobal) body += Arg;
    link_.MidiOutLongMsg(link_.Frame(body));
    return link_.GetVeskResponse(kRequestTimeoutMs, kReplyMode);
  });
}

plat::Bytes ObjectTransfer::Ask(const DumpRequest& q) {
  const VeskResponse r = ReqObjectDump(q.Kind, q.Cmd, q.Arg);
  if (!r.GotReply()) return {};
  ReplyTaken();
  return r.reply;
}

ObjDirStatus ObjectTransfer::GetObjDirStatus(std::int16_t ObjType) {
  const bool objectKind = IsObjectKind(ObjType);
  auto setLoaded = [&](bool v) {
    if (objectKind) StoreOf(store_, static_cast<tavoro::ObjType>(ObjType)).Loaded = v;
  };
  auto onError = [&] {
    setLoaded(false);
    RunErrorPath(link_, "GetObjDirStatus()", "Error retrieving Object Directory Status from Vesk");
  };
  return TrapWith(onError, ObjDirStatus{}, [&] {
    if (ObjType < 0 || ObjType > 0x7F) throw std::out_of_range("object kind " + std::to_string(ObjType));
    const auto t = static_cast<std::uint8_t>(ObjType);
    store_.DirStatusReply.clear();
    store_.DirStatusReply = Ask(ObjDirStatusRequest(t));
    // A missing or malformed reply is reported by the all-zero record alone.
    const auto p = ParseDirStatus(store_.DirStatusReply);
    if (!p.ok()) {
      setLoaded(false);
      return ObjDirStatus{};
    }
    setLoaded(p.value.ObjCount > 0);
    store_.FreeRamKw = p.value.FreeSampleRam;
    return p.value;
  });
}

ObjDir ObjectTransfer::GetObjDir(std::int16_t ObjType) {
  return Trap(link_, "GetObjDir()", "Error retrieving Object Directory from Vesk", ObjDir{}, [&] {
    if (ObjType < 0 || ObjType > 0x7F) throw std::out_of_range("object kind " + std::to_string(ObjType));
    const auto t = static_cast<std::uint8_t>(ObjType);
    store_.DirReply = Ask(ObjDirRequest(t));
    const auto p = ParseDir(store_.DirReply);
    // A reply that ends before the entries its DataLength announces is a failed read; other
    // damage gives the empty directory without a box.
    if (p.fault == ParseFault::DataLength) throw MalformedReply(p.fault);
    return p.ok() ? p.value : ObjDir{};
  });
}

// ---------------------------------------------------------------------------------- upload

plat::Bytes ObjectTransfer::MapZoneUploadMsg(std::int16_t MapNum, std::int16_t NibPos, const plat::Bytes& nibbles,
                                             std::uint8_t NibCount) {
  const MapRecord& map = store_.CurMap;
  const int idx = store_.CurZoneIdx;
  if (idx < 0 || static_cast<std::size_t>(idx) >= map.Zones.size() || static_cast<std::size_t>(idx) >= store_.ZoneMsgs.size())
    throw std::out_of_range("zone " + std::to_string(idx) + " is not a zone of the Map");
  const plat::Bytes& zone = store_.ZoneMsgs[static_cast<std::size_t>(idx)];
  if (zone.size() != kZone.Size || !AllNibbles(zone, 1, zone.size())) throw MalformedReply(ParseFault::NotNibble);
  const MapZone& z = map.Zones[static_cast<std::size_t>(idx)];
  // A low-key edit addresses the zone by its high key, every other edit by its low key.
  const int key = NibPos == kZoneMsg.Pos(kZone.LowKey) ? z.HighKey : z.LowKey;
  plat::Bytes body{0x02, Code(ObjType::MapZone)};
  body += NumberNibbles(kZoneMsg.DataLength);
  body += ByteNibbles(key);
  body += ByteNibbles(MapNum);  // the zone messages carry two nibbles: Maps 0-255 only
  body += plat::Bytes{0x00, 0x00};
  body += zone;
  plat::Bytes msg = link_.Frame(body);
  PatchNibbles(msg, static_cast<std::size_t>(NibPos), nibbles, NibCount);
  return msg;
}

plat::Bytes ObjectTransfer::EncodeUpload(ObjType Kind, const UploadValue& Value, std::int16_t NibPos,
                                         std::uint8_t NibCount) {
  // The name rule holds for the kinds whose messages carry a name at 20; in a zone message
  // position 20 is the zone's first nibble.
  return Encode(Value, NibPos, NibCount, NibPos == kHead.Name.pos && Kind != ObjType::MapZone);
}

plat::Bytes ObjectTransfer::PatchedImage(ObjType Kind, std::int16_t ObjNum, const plat::Bytes& nibbles,
                                         std::int16_t NibPos, std::uint8_t NibCount) {
  const int k = Code(Kind);
  if (k > Code(ObjType::MapZone)) throw std::out_of_range("object kind " + std::to_string(k) + " cannot be uploaded");
  if (ObjNum < 0) throw CodecError("object number " + std::to_string(ObjNum) + " cannot be sent");
  if (NibPos < 1) throw plat::ByteRangeError("nibble position " + std::to_string(NibPos));
  if (Kind == ObjType::MapZone) return MapZoneUploadMsg(ObjNum, NibPos, nibbles, NibCount);

  const plat::Bytes& image = Kind == ObjType::MapHeader ? store_.MapHeaderMsg : StoreOf(store_, Kind).Dump;
  // Only a whole, valid message of the kind is ever patched and sent.
  if (const ParseFault f = CheckImage(Kind, image); f != ParseFault::None) throw MalformedReply(f);
  plat::Bytes msg = image;
  PatchNibbles(msg, static_cast<std::size_t>(NibPos), nibbles, NibCount);
  PatchNibbles(msg, kHead.Number.pos, NumberNibbles(ObjNum), kHead.Number.count);
  return msg;
}

plat::Bytes ObjectTransfer::ObjectUploadMsg(ObjType Kind, std::int16_t ObjNum, const UploadValue& Value,
                                            std::int16_t NibPos, std::uint8_t NibCount) {
  return PatchedImage(Kind, ObjNum, EncodeUpload(Kind, Value, NibPos, NibCount), NibPos, NibCount);
}

bool ObjectTransfer::ObjectUpload(ObjType Kind, std::int16_t ObjNum, const UploadValue& Value, std::int16_t NibPos,
                                  std::uint8_t NibCount, bool Send) {
  std::string kindName;
  auto onError = [&] {
    RunErrorPath(link_, "ObjectUpload() Upload " + kindName + " Object", "Error uploading data object to Vesk");
  };
  return TrapWith(onError, false, [&] {
    const plat::Bytes nibbles = EncodeUpload(Kind, Value, NibPos, NibCount);
    kindName = KindName(Kind);
    if (!Send) {
      // A Wave change travels with the next Wave upload, which copies WaveDump; any other
      // kind's check ends here, before its image is looked at.
      if (Kind == ObjType::Wave) {
        if (NibPos < 1) throw plat::ByteRangeError("nibble position " + std::to_string(NibPos));
        PatchNibbles(store_.WaveDump, static_cast<std::size_t>(NibPos), nibbles, NibCount);
      }
      return true;
    }
    link_.MidiOutLongMsg(PatchedImage(Kind, ObjNum, nibbles, NibPos, NibCount));
    const VeskResponse r = link_.GetVeskResponse(kRequestTimeoutMs, kStatusMode);
    ReplyTaken();
    if (r.outcome == VeskResponse::Outcome::Failed) throw std::runtime_error("no status in the reply");
    return r.Accepted();
  });
}

// ---------------------------------------------------------------------------------- dumps

namespace {
std::string PanelText(const char* prefix, std::int16_t number) { return std::string(prefix) + " " + std::to_string(number); }
}  // namespace

bool ObjectTransfer::WaveObjDump(std::int16_t WaveNum) {
  auto onError = [&] {
    store_.WaveLoaded = false;
    RunErrorPath(link_, "WaveObjDump()", "Error downloading Wave object from Vesk");
  };
  return TrapWith(onError, false, [&] {
    const plat::Bytes reply = Ask(ObjectDumpRequest(ObjType::Wave, WaveNum));
    if (reply.size() != kWave.Length) return false;  // a status reply, a time-out: no message here
    auto p = ParseWaveDump(reply, WaveNum);
    if (!p.ok()) throw MalformedReply(p.fault);
    store_.WaveDump = reply;
    store_.CurWave = std::move(p.value.rec);
    store_.WaveLoopOn = p.value.LoopOn;
    store_.WaveLoopDir = p.value.LoopDir;
    store_.WaveStereo = p.value.Stereo;
    link_.host.SetPanelText(kPanelWave, PanelText("w#", WaveNum));
    return true;
  });
}

bool ObjectTransfer::ToneObjDump(std::int16_t ToneNum) {
  auto onError = [&] {
    store_.ToneLoaded = false;
    RunErrorPath(link_, "ToneObjDump()", "Error downloading Tone object from Vesk");
  };
  return TrapWith(onError, false, [&] {
    const plat::Bytes reply = Ask(ObjectDumpRequest(ObjType::Tone, ToneNum));
    if (reply.size() != kTone.Length) return false;
    auto p = ParseToneDump(reply, ToneNum);
    if (!p.ok()) throw MalformedReply(p.fault);
    store_.ToneDump = reply;
    store_.CurTone = std::move(p.value);
    link_.host.SetPanelText(kPanelTone, PanelText("t#", ToneNum));
    return true;
  });
}

bool ObjectTransfer::MapObjDump(std::int16_t MapNum) {
  auto onError = [&] {
    store_.MapLoaded = false;
    RunErrorPath(link_, "MapObjDump()", "Error downloading Map object from Vesk");
  };
  return TrapWith(onError, false, [&] {
    const plat::Bytes reply = Ask(ObjectDumpRequest(ObjType::Map, MapNum));
    if (reply.size() < 12) return false;  // a time-out or a status reply
    auto p = ParseMapDump(reply, MapNum);
    if (!p.ok()) throw MalformedReply(p.fault);
    store_.MapDump = reply;
    store_.MapHeaderMsg = std::move(p.value.headerMsg);
    store_.CurMap = std::move(p.value.rec);
    store_.ZoneMsgs = std::move(p.value.zoneMsgs);
    store_.ZoneColourList = kZoneColourList;
    store_.ZoneColour = std::move(p.value.zoneColour);
    link_.host.SetPanelText(kPanelMap, PanelText("m#", MapNum));
    store_.CurZoneIdx = 0;
    return true;
  });
}

bool ObjectTransfer::MapZoneObjDump() {
  return Trap(link_, "MapZoneObjDump()", "Error downloading Map Zone object from Vesk", false, [&] {
    if (!store_.MapLoaded) return false;
    const int idx = store_.CurZoneIdx;
    if (idx < 0 || static_cast<std::size_t>(idx) >= store_.CurMap.Zones.size() ||
        static_cast<std::size_t>(idx) >= store_.ZoneMsgs.size())
      throw std::out_of_range("zone " + std::to_string(idx) + " is not a zone of the Map");
    const plat::Bytes reply =
        Ask(MapZoneDumpRequest(store_.CurMap.Zones[static_cast<std::size_t>(idx)].LowKey, store_.CurMap.Number));
    if (reply.size() != kZoneMsg.Length) return false;
    auto p = ParseMapZoneDump(reply);
    if (!p.ok()) throw MalformedReply(p.fault);
    store_.MapZoneDump = reply;
    // The whole-Map copy that an option click sends must carry every accepted zone edit.
    PatchNibbles(store_.MapDump, kMap.ZoneStart(idx), p.value.zoneMsg, kZone.Size);
    store_.CurMap.Zones[static_cast<std::size_t>(idx)] = p.value.zone;
    store_.ZoneMsgs[static_cast<std::size_t>(idx)] = std::move(p.value.zoneMsg);
    return true;
  });
}

bool ObjectTransfer::PresetObjDump(std::int16_t PresetNum) {
  auto onError = [&] {
    store_.PresetLoaded = false;
    RunErrorPath(link_, "PresetObjDump()", "Error downloading Preset object from Vesk");
  };
  return TrapWith(onError, false, [&] {
    const plat::Bytes reply = Ask(ObjectDumpRequest(ObjType::Preset, PresetNum));
    if (reply.size() != kPreset.Length) return false;
    auto p = ParsePresetDump(reply, PresetNum);
    if (!p.ok()) throw MalformedReply(p.fault);
    store_.PresetDump = reply;
    store_.CurPreset = std::move(p.value);
    link_.host.SetPanelText(kPanelPreset, PanelText("p#", PresetNum));
    return true;
  });
}

bool ObjectTransfer::MultiObjDump(std::int16_t MultiNum) {
  auto onError = [&] {
    store_.MultiLoaded = false;
    RunErrorPath(link_, "MultiObjDump()", "Error downloading Multi object from Vesk");
  };
  return TrapWith(onError, false, [&] {
    // The request's high part (the number / 16) must fit one byte.
    if (MultiNum > kHighestMultiRequest) throw std::out_of_range("Multi " + std::to_string(MultiNum) + " cannot be requested");
    const plat::Bytes reply = Ask(ObjectDumpRequest(ObjType::Multi, MultiNum));
    if (reply.size() != kMulti.Length) return false;
    auto p = ParseMultiDump(reply, MultiNum);
    if (!p.ok()) throw MalformedReply(p.fault);
    store_.MultiDump = reply;
    store_.CurMulti = std::move(p.value);
    link_.host.SetPanelText(kPanelMulti, PanelText("mu#", MultiNum));
    return true;
  });
}

bool ObjectTransfer::GlobalObjDump() {
  return Trap(link_, "GlobalObjDump()", "Error downloading Global object from Vesk", false, [&] {
    // Each field is stored as soon as its reply is read: a read that stops early leaves the
    // fields it did not reach as they were.
    GlobalRecord& g = store_.GlobalData;
    auto fail = [](ParseFault f) { throw MalformedReply(f); };

    const plat::Bytes bank = Ask(BankNameRequest());
    if (bank.size() < kGlobal.MinLength) return false;
    auto name = ParseBankNameReply(bank);
    if (!name.ok()) fail(name.fault);
    g.BankName = std::move(name.value);

    std::int16_t GlobalRecord::*const params[5] = {&GlobalRecord::PlaybackMode, &GlobalRecord::ReceiveMode,
                                                    &GlobalRecord::MidiChannel, &GlobalRecord::OmniPolyVolume,
                                                    &GlobalRecord::ProgChange};
    for (std::uint8_t n = 1; n <= 5; ++n) {
      const plat::Bytes reply = Ask(GlobalParmRequest(n));
      if (reply.size() < kGlobal.MinLength) return false;
      auto v = ParseGlobalParmReply(reply);
      if (!v.ok()) fail(v.fault);
      g.*params[n - 1] = v.value;
    }

    const plat::Bytes tune = Ask(MasterTuneRequest());
    if (tune.size() < kGlobal.MinLength) return false;
    auto t = ParseMasterTuneReply(tune);
    if (!t.ok()) fail(t.fault);
    g.MasterTune = t.value;
    return true;
  });
}

}  // namespace tavoro

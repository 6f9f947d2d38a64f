#include "objects/transfer.h"

#include <cctype>
#include <cstdlib>
#include <stdexcept>

#include "link/trap.h"
#include "objects/codec.h"
#include "objects/layouts.h"
#include "objects/parsers.h"

namespace tavoro {

namespace {

// A reply that passed the length test but not the other checks of its kind.
struct MalformedReply : std::runtime_error {
  explicit MalformedReply(ParseFault f) : std::runtime_error(FaultText(f)) {}
};

plat::Bytes DumpRequestCmd(ObjType kind) { return plat::Bytes{0x01, Code(kind), 0x00, 0x00, 0x00, 0x02}; }

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

plat::Bytes ObjectTransfer::RequestDump(ObjType kind, std::int16_t number) {
  // All four digits of the number; a negative number is refused before anything is sent.
  const VeskResponse r = ReqObjectDump(Code(kind), DumpRequestCmd(kind), NumberNibbles(number));
  if (!r.GotReply()) return {};
  ReplyTaken();
  return r.reply;
}

plat::Bytes ObjectTransfer::RequestGlobal(const plat::Bytes& body) {
  const VeskResponse r = ReqObjectDump(kReqGlobal, body, {});
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
    const VeskResponse r = ReqObjectDump(kReqDirStatus, plat::Bytes{0x12, 0x01, 0x01}, plat::Bytes{t});
    if (r.GotReply()) {
      store_.DirStatusReply = r.reply;
      ReplyTaken();
    }
    // A missing or malformed reply is reported by the all-zero record alone.
    const auto p = ParseDirStatus(r.reply, t);
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
    const VeskResponse r = ReqObjectDump(kReqDir, plat::Bytes{0x12, 0x02, 0x01}, plat::Bytes{t});
    if (!r.GotReply()) return ObjDir{};
    store_.DirReply = r.reply;
    ReplyTaken();
    if (r.reply.size() < kDir.MinLength) return ObjDir{};
    const auto p = ParseDir(r.reply, t);
    // A reply whose length disagrees with its DataLength is a failed read; other damage
    // gives the empty directory without a box.
    if (p.fault == ParseFault::Length || p.fault == ParseFault::DataLength) throw MalformedReply(p.fault);
    return p.ok() ? p.value : ObjDir{};
  });
}

// ---------------------------------------------------------------------------------- upload

plat::Bytes ObjectTransfer::ZoneUploadMessage(std::int16_t MapNum, std::int16_t NibPos) {
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
  return link_.Frame(body);
}

plat::Bytes ObjectTransfer::Patched(ObjType Kind, std::int16_t ObjNum, const UploadValue& Value, std::int16_t NibPos,
                                    std::uint8_t NibCount, bool Send, std::string& kindName) {
  const int k = Code(Kind);
  if (k > Code(ObjType::MapZone)) throw std::out_of_range("object kind " + std::to_string(k) + " cannot be uploaded");
  // The name rule holds for the kinds whose messages carry a name at 20; in a zone message
  // position 20 is the zone's first nibble.
  const plat::Bytes nibbles = Encode(Value, NibPos, NibCount, NibPos == kHead.Name.pos && Kind != ObjType::MapZone);
  kindName = KindName(Kind);
  if (ObjNum < 0) throw CodecError("object number " + std::to_string(ObjNum) + " cannot be sent");
  if (NibPos < 1) throw plat::ByteRangeError("nibble position " + std::to_string(NibPos));

  if (Kind == ObjType::MapZone) {
    plat::Bytes msg = ZoneUploadMessage(ObjNum, NibPos);
    PatchNibbles(msg, static_cast<std::size_t>(NibPos), nibbles, NibCount);
    return msg;
  }
  plat::Bytes& image = Kind == ObjType::MapHeader ? store_.MapHeaderMsg : StoreOf(store_, Kind).Dump;
  // Only a whole, valid message of the kind is ever patched and sent.
  if (const ParseFault f = CheckImage(Kind, image); f != ParseFault::None) throw MalformedReply(f);
  if (Kind == ObjType::Wave && !Send) {
    PatchNibbles(image, static_cast<std::size_t>(NibPos), nibbles, NibCount);
    return image;
  }
  plat::Bytes msg = image;
  PatchNibbles(msg, static_cast<std::size_t>(NibPos), nibbles, NibCount);
  PatchNibbles(msg, kHead.Number.pos, NumberNibbles(ObjNum), kHead.Number.count);
  return msg;
}

plat::Bytes ObjectTransfer::BuildUploadMessage(ObjType Kind, std::int16_t ObjNum, const UploadValue& Value,
                                               std::int16_t NibPos, std::uint8_t NibCount) {
  std::string kindName;
  return Patched(Kind, ObjNum, Value, NibPos, NibCount, true, kindName);
}

bool ObjectTransfer::ObjectUpload(ObjType Kind, std::int16_t ObjNum, const UploadValue& Value, std::int16_t NibPos,
                                  std::uint8_t NibCount, bool Send) {
  std::string kindName;
  auto onError = [&] {
    RunErrorPath(link_, "ObjectUpload() Upload " + kindName + " Object", "Error uploading data object to Vesk");
  };
  return TrapWith(onError, false, [&] {
    const plat::Bytes msg = Patched(Kind, ObjNum, Value, NibPos, NibCount, Send, kindName);
    if (!Send) return true;  // Wave: written into WaveDump; other kinds: nothing sent or stored
    link_.MidiOutLongMsg(msg);
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
    const plat::Bytes reply = RequestDump(ObjType::Wave, WaveNum);
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
    const plat::Bytes reply = RequestDump(ObjType::Tone, ToneNum);
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
    const plat::Bytes reply = RequestDump(ObjType::Map, MapNum);
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
    // The zone is addressed by its low key and the Map's number, two nibbles each.
    plat::Bytes arg = ByteNibbles(store_.CurMap.Zones[static_cast<std::size_t>(idx)].LowKey);
    arg += ByteNibbles(store_.CurMap.Number);
    const VeskResponse r = ReqObjectDump(Code(ObjType::MapZone), DumpRequestCmd(ObjType::MapZone), arg);
    if (!r.GotReply()) return false;
    ReplyTaken();
    if (r.reply.size() != kZoneMsg.Length) return false;
    auto p = ParseMapZoneDump(r.reply);
    if (!p.ok()) throw MalformedReply(p.fault);
    store_.MapZoneDump = r.reply;
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
    const plat::Bytes reply = RequestDump(ObjType::Preset, PresetNum);
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
    const plat::Bytes reply = RequestDump(ObjType::Multi, MultiNum);
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
    // Read into a copy: the store takes the Global data only when all seven reads succeeded.
    GlobalRecord g = store_.GlobalData;
    auto fail = [](ParseFault f) { throw MalformedReply(f); };

    const plat::Bytes bank = RequestGlobal(plat::Bytes{0x11, 0x02, 0x01, 0x00});
    if (bank.size() < kGlobal.MinLength) return false;
    auto name = ParseBankNameReply(bank);
    if (!name.ok()) fail(name.fault);
    g.BankName = std::move(name.value);

    std::int16_t* const params[5] = {&g.PlaybackMode, &g.ReceiveMode, &g.MidiChannel, &g.OmniPolyVolume, &g.ProgChange};
    for (std::uint8_t n = 1; n <= 5; ++n) {
      const plat::Bytes reply = RequestGlobal(plat::Bytes{0x11, 0x03, 0x02, n, 0x00});
      if (reply.size() < kGlobal.MinLength) return false;
      auto v = ParseGlobalParmReply(reply);
      if (!v.ok()) fail(v.fault);
      *params[n - 1] = v.value;
    }

    const plat::Bytes tune = RequestGlobal(plat::Bytes{0x32, 0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x01, 0x00, 0x00});
    if (tune.size() < kGlobal.MinLength) return false;
    auto t = ParseMasterTuneReply(tune);
    if (!t.ok()) fail(t.fault);
    g.MasterTune = t.value;

    store_.GlobalData = std::move(g);
    return true;
  });
}

}  // namespace tavoro

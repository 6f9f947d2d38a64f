#include "emulator/core/vesk.h"

#include <algorithm>

#include "emulator/core/checks.h"

namespace emu {
namespace {

constexpr std::size_t kParamCount = 10;  // position of the count byte in a parameter or directory message

bool IsObjectKind(std::uint8_t k) { return k < kObjectKinds; }

// The head of a nibble-coded message: F7 last, a readable data length that matches the
// message's length. Returns 0 or the status that refuses the message.
std::uint8_t CheckObjectFrame(const Message& m, std::uint16_t& dataLength) {
  if (m.size() < 14) return status::Truncated;
  std::uint32_t dl = 0;
  if (!ReadNibbles(m, head::DataLength, 4, dl)) return status::BadString;
  const std::size_t expected = 14 + 2 * static_cast<std::size_t>(dl);
  if (m.size() < expected) return status::Truncated;
  if (m.size() > expected) return status::BadString;
  if (!AllNibbles(m, 14, m.size() - 1)) return status::BadString;
  dataLength = static_cast<std::uint16_t>(dl);
  return status::Ok;
}

int Number(const Message& m, std::size_t pos) {
  std::uint32_t v = 0;
  ReadNibbles(m, pos, 4, v);
  return static_cast<int>(v);
}

}  // namespace

Request RequestOf(const Message& m, int& kind) {
  kind = -1;
  if (m.size() < head::Kind + 1) return Request::Other;
  const std::uint8_t group = m[head::Kind - 1];
  switch (m[head::Command - 1]) {
    case cmd::DumpRequest: kind = group; return Request::Dump;
    case cmd::Upload: kind = group; return Request::Upload;
    case cmd::Directory:
      if (m.size() > 11) kind = m[10];
      return group == 0x01 ? Request::DirStatus : group == 0x02 ? Request::Directory : Request::Other;
    case cmd::Parameter: return group == 0x01 ? Request::Key : Request::Global;
    case cmd::MasterTune: return Request::Global;
    default: return Request::Other;
  }
}

bool Vesk::faultsHit(const Message& m) const {
  if (faults_.only == Request::Any) return true;
  int kind = -1;
  return RequestOf(m, kind) == faults_.only && (faults_.onlyKind < 0 || kind == faults_.onlyKind);
}

Vesk::Vesk(std::uint8_t deviceId) : deviceId_(static_cast<std::uint8_t>(deviceId & 0x7F)), bank_(DefaultBank()) {
  disks_[0] = {true, 1};    // the floppy drive: one bank per disk
  disks_[1] = {true, 100};  // SCSI id 0: a hard disk
}

Message Vesk::unsolicitedMessage() const {
  if (!unsolicitedMessage_.empty()) return unsolicitedMessage_;
  // Looks like nothing the instrument answers with: command 40, and 7E where a status would be.
  return Frame(deviceId_, {0x40, 0x7E});
}

Message Vesk::dump(Kind kind, int number) const {
  const auto k = static_cast<std::uint8_t>(kind);
  if (!IsObjectKind(k)) return {};
  const auto& objects = bank_.of(kind);
  auto it = objects.find(number);
  if (it == objects.end()) return {};
  Message m = it->second;
  m[6] = deviceId_;
  return m;
}

std::vector<Reply> Vesk::handle(const Message& message) {
  received_.push_back(message);
  ++counters_.received;
  const bool addressed = message.size() >= 7 && HasHead(message) &&
                         (message[6] == deviceId_ || message[6] == kAllDevices);
  if (!addressed) {
    ++counters_.ignored;
    return {};
  }

  const bool hit = faultsHit(message);
  std::vector<Reply> out;
  if (!(faults_.silent && hit)) {
    std::vector<Message> answers;
    if (faults_.forcedStatus > 0 && hit)
      answers.push_back(statusMsg(static_cast<std::uint8_t>(faults_.forcedStatus & 0x7F)));
    else
      answers = dispatch(message);

    int delay = faults_.lateMs > 0 && hit ? faults_.lateMs : faults_.replyDelayMs;
    if (message.size() >= head::Command) delay += commandDelayMs_[message[head::Command - 1] & 0x7F];
    const int repeat = hit ? faults_.repeat : 1;
    for (auto& a : answers) {
      if (a.size() == 10 && a[7] == 0x00) {
        counters_.lastStatus = a[8];
        if (a[8] != status::Ok) ++counters_.refused;
      }
      Message sent = hit ? mangled(std::move(a), message) : std::move(a);
      for (int i = 0; i < repeat; ++i) out.push_back({sent, delay, false});
    }
    if (!out.empty()) ++counters_.answered;
    if (faults_.unsolicited && hit) out.push_back({unsolicitedMessage(), delay + faults_.unsolicitedGapMs, true});
    counters_.replies += static_cast<int>(out.size());
  }

  if (hit && faultCount_ > 0 && --faultCount_ == 0) {
    const int keepDelay = faults_.replyDelayMs;
    faults_ = Faults{};
    faults_.replyDelayMs = keepDelay;
    faultCount_ = -1;
  }
  return out;
}

Message Vesk::mangled(Message m, const Message& request) {
  if (m.size() < 9) return m;
  if (faults_.mangleKind >= 0 &&
      !(request.size() > head::Kind && request[head::Command - 1] == cmd::DumpRequest &&
        request[head::Kind - 1] == faults_.mangleKind))
    return m;
  switch (faults_.mangle) {
    case Mangle::None: break;
    case Mangle::Short:
      m.resize(7);
      m.push_back(kEox);
      break;
    case Mangle::Garbled:
      for (std::size_t i = 7; i + 1 < m.size(); ++i) {
        noise_ = noise_ * 1664525u + 1013904223u;
        m[i] = static_cast<std::uint8_t>(0x10 + (noise_ >> 24) % 0x70);
      }
      break;
    case Mangle::Truncated: m.erase(m.end() - 2); break;
    case Mangle::OverLong: m.insert(m.end() - 1, 0x00); break;
    case Mangle::WrongKind: m[8] = static_cast<std::uint8_t>((m[8] + 1) % kObjectKinds); break;
    case Mangle::NonNibble: {
      const std::size_t pos = m.size() > head::Fields + 1 ? head::Fields : std::min<std::size_t>(14, m.size() - 1);
      m[pos - 1] = 0x4E;
      break;
    }
  }
  return m;
}

std::vector<Message> Vesk::dispatch(const Message& m) {
  if (m.back() != kEox || m.size() < 9) return {statusMsg(status::Truncated)};
  switch (m[head::Command - 1]) {
    case cmd::DumpRequest: return dumpRequest(m);
    case cmd::Upload: return upload(m);
    case cmd::Delete: return deleteObjects(m);
    case cmd::LoadBank: return loadBank(m);
    case cmd::StereoMerge: return stereoMerge(m);
    case cmd::MasterTune: return masterTune(m);
    case cmd::Parameter: return parameter(m);
    case cmd::Directory: return directory(m);
    default: return {statusMsg(status::Unrecognised)};
  }
}

std::vector<Message> Vesk::dumpRequest(const Message& m) {
  std::uint16_t dl = 0;
  if (auto s = CheckObjectFrame(m, dl)) return {statusMsg(s)};
  if (dl != 2) return {statusMsg(status::BadString)};
  const std::uint8_t kind = m[head::Kind - 1];
  if (IsObjectKind(kind)) {
    const int number = Number(m, head::Number);
    if (number > highestAllowed(static_cast<Kind>(kind))) return {statusMsg(status::OutOfRange)};
    Message d = dump(static_cast<Kind>(kind), number);
    if (d.empty()) return {statusMsg(status::Empty)};
    ++counters_.dumps;
    return {d};
  }
  if (kind == static_cast<std::uint8_t>(Kind::MapZone)) {
    std::uint8_t key = 0, mapNum = 0;
    ReadByte(m, map::ZoneKey, key);
    ReadByte(m, map::ZoneMap, mapNum);
    if (key > 127) return {statusMsg(status::IllegalValue)};
    const Message mapDump = dump(Kind::Map, mapNum);
    if (mapDump.empty()) return {statusMsg(status::Empty)};
    const int zone = FindZone(mapDump, key);
    if (zone < 0) return {statusMsg(status::Empty)};
    const std::size_t base = map::ZoneBase(static_cast<std::size_t>(zone));
    Message body{cmd::Upload, static_cast<std::uint8_t>(Kind::MapZone), 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    Message r = reply(body);
    WriteNibbles(r, head::DataLength, 4, DataLengthFor(kZoneMessageLength));
    WriteByte(r, map::ZoneKey, static_cast<std::uint8_t>(At(mapDump, base + map::LowKey) * 16 + At(mapDump, base + map::LowKey + 1)));
    WriteByte(r, map::ZoneMap, mapNum);
    r.insert(r.end() - 1, mapDump.begin() + static_cast<std::ptrdiff_t>(base - 1),
             mapDump.begin() + static_cast<std::ptrdiff_t>(base - 1 + kZoneNibbles));
    ++counters_.dumps;
    return {r};
  }
  return {statusMsg(status::BadFormat)};
}

std::vector<Message> Vesk::upload(const Message& m) {
  std::uint16_t dl = 0;
  if (auto s = CheckObjectFrame(m, dl)) return {statusMsg(s)};
  const std::uint8_t kindByte = m[head::Kind - 1];

  if (IsObjectKind(kindByte)) {
    const auto kind = static_cast<Kind>(kindByte);
    std::size_t expected = FixedDumpLength(kind);
    if (kind == Kind::Map) {
      const int zones = ZoneCount(m);
      if (zones < 0) return {statusMsg(status::Truncated)};
      expected = MapLength(static_cast<std::size_t>(zones));
    }
    if (m.size() < expected) return {statusMsg(status::Truncated)};
    if (m.size() > expected) return {statusMsg(status::BadString)};
    const int number = Number(m, head::Number);
    if (number > highestAllowed(kind)) return {statusMsg(status::OutOfRange)};
    auto& objects = bank_.of(kind);
    auto it = objects.find(number);
    if (it == objects.end()) return {statusMsg(status::Empty)};
    if (!ValuesAcceptable(kind, m, it->second)) return {statusMsg(status::IllegalValue)};
    it->second = m;
    it->second[6] = 0;
    ++counters_.uploads;
    return {statusMsg(status::Ok)};
  }

  if (kindByte == static_cast<std::uint8_t>(Kind::MapHeader)) {
    if (m.size() != kMapHeaderLength) return {statusMsg(status::BadString)};
    const int number = Number(m, head::Number);
    if (number > highestAllowed(Kind::Map)) return {statusMsg(status::OutOfRange)};
    auto& maps = bank_.of(Kind::Map);
    auto it = maps.find(number);
    if (it == maps.end()) return {statusMsg(status::Empty)};
    // The header carries the zone count; the zones themselves stay as they are.
    if (ZoneCount(m) != ZoneCount(it->second)) return {statusMsg(status::IllegalValue)};
    std::copy(m.begin() + head::Name - 1, m.begin() + kMapHeaderLength - 1, it->second.begin() + head::Name - 1);
    ++counters_.uploads;
    return {statusMsg(status::Ok)};
  }

  if (kindByte == static_cast<std::uint8_t>(Kind::MapZone)) {
    if (m.size() != kZoneMessageLength) return {statusMsg(status::BadString)};
    std::uint8_t key = 0, mapNum = 0;
    ReadByte(m, map::ZoneKey, key);
    ReadByte(m, map::ZoneMap, mapNum);
    if (key > 127) return {statusMsg(status::IllegalValue)};
    auto& maps = bank_.of(Kind::Map);
    auto it = maps.find(mapNum);
    if (it == maps.end()) return {statusMsg(status::Empty)};
    const int zone = FindZone(it->second, key);
    if (zone < 0) return {statusMsg(status::Empty)};
    // Zones stay in key order and never share a key.
    if (!ZoneAcceptable(m, map::ZoneData) || !ZoneFitsBetweenNeighbours(it->second, zone, m, map::ZoneData))
      return {statusMsg(status::IllegalValue)};
    std::copy(m.begin() + map::ZoneData - 1, m.begin() + map::ZoneData - 1 + kZoneNibbles,
              it->second.begin() + static_cast<std::ptrdiff_t>(map::ZoneBase(static_cast<std::size_t>(zone)) - 1));
    ++counters_.uploads;
    return {statusMsg(status::Ok)};
  }
  return {statusMsg(status::BadFormat)};
}

std::vector<Message> Vesk::deleteObjects(const Message& m) {
  std::uint16_t dl = 0;
  if (auto s = CheckObjectFrame(m, dl)) return {statusMsg(s)};
  if (dl != 2) return {statusMsg(status::BadString)};
  const std::uint8_t kind = m[head::Kind - 1];
  const int number = Number(m, head::Number);
  if (kind == kAllMemory) {
    if (number != 0) return {statusMsg(status::IllegalRequest)};
    bank_.clear();
    bank_.global.bankName = std::string(kNameChars, ' ');
    return {statusMsg(status::Ok)};
  }
  if (!IsObjectKind(kind)) return {statusMsg(status::BadFormat)};
  auto& objects = bank_.of(static_cast<Kind>(kind));
  if (number == 0xFFFF) {
    objects.clear();
    return {statusMsg(status::Ok)};
  }
  if (number > highestAllowed(static_cast<Kind>(kind))) return {statusMsg(status::OutOfRange)};
  if (objects.erase(number) == 0) return {statusMsg(status::Empty)};
  return {statusMsg(status::Ok)};
}

std::vector<Message> Vesk::loadBank(const Message& m) {
  std::uint16_t dl = 0;
  if (auto s = CheckObjectFrame(m, dl)) return {statusMsg(s)};
  if (m[head::Kind - 1] != 0x01) return {statusMsg(status::IllegalRequest)};
  if (dl != 3) return {statusMsg(status::BadString)};
  std::uint8_t unit = 0;
  ReadByte(m, 14, unit);
  const int bankNumber = Number(m, 16);
  std::size_t index = 0;
  if (unit == kAllMemory)
    index = 0;
  else if (unit <= 6)
    index = unit + 1u;
  else
    return {statusMsg(status::IllegalValue)};
  const DiskUnit& disk = disks_[index];
  if (!disk.installed) return {statusMsg(status::Failed)};
  if (bankNumber >= disk.banks) return {statusMsg(status::OutOfRange)};
  bank_ = DiskBank(unit, bankNumber);
  return {statusMsg(status::Ok)};
}

std::vector<Message> Vesk::stereoMerge(const Message& m) {
  std::uint16_t dl = 0;
  if (auto s = CheckObjectFrame(m, dl)) return {statusMsg(s)};
  if (m[head::Kind - 1] != 0x01) return {statusMsg(status::IllegalRequest)};
  if (dl != 4) return {statusMsg(status::BadString)};
  const int left = Number(m, 14), right = Number(m, 18);
  if (left == right) return {statusMsg(status::IllegalRequest)};
  auto& waves = bank_.of(Kind::Wave);
  auto l = waves.find(left), r = waves.find(right);
  if (l == waves.end() || r == waves.end()) return {statusMsg(status::Empty)};
  std::uint8_t lf = 0, rf = 0;
  ReadByte(l->second, wave::Flags, lf);
  ReadByte(r->second, wave::Flags, rf);
  if ((lf | rf) & wave::Stereo) return {statusMsg(status::IllegalValue)};
  std::uint32_t lsize = 0, rsize = 0;
  ReadNibbles(l->second, wave::Size, 4, lsize);
  ReadNibbles(r->second, wave::Size, 4, rsize);
  if (rsize < lsize) return {statusMsg(status::Failed)};
  // The right channel joins the left Wave, which keeps its number; the right Wave is used up.
  WriteByte(l->second, wave::Flags, static_cast<std::uint8_t>(lf | wave::Stereo));
  WriteNibbles(l->second, wave::Size, 4, std::min<std::uint32_t>(lsize + rsize, 0xFFFF));
  waves.erase(r);
  return {statusMsg(status::Ok)};
}

std::vector<Message> Vesk::masterTune(const Message& m) {
  std::uint16_t dl = 0;
  if (auto s = CheckObjectFrame(m, dl)) return {statusMsg(s)};
  if (m[head::Kind - 1] != 0x01) return {statusMsg(status::IllegalRequest)};
  std::uint32_t op = 0;
  ReadNibbles(m, 14, 4, op);  // data bytes 01 00: request; 01 01 + value: change
  if (dl == 2 && op == 0x0100) {
    Message r = reply({cmd::MasterTune, 0x01, 0, 0, 0, 4, 0, 1, 0, 1, 0, 0, 0, 0});
    WriteWord(r, 18, bank_.global.masterTune);
    ++counters_.dumps;
    return {r};
  }
  if (dl == 4 && op == 0x0101) {
    std::int16_t tune = 0;
    ReadWord(m, 18, tune);
    if (tune < -12000 || tune > 12000) return {statusMsg(status::IllegalValue)};
    bank_.global.masterTune = tune;
    ++counters_.changes;
    return {statusMsg(status::Ok)};
  }
  return {statusMsg(status::IllegalRequest)};
}

std::vector<Message> Vesk::parameter(const Message& m) {
  if (m.size() < 12) return {statusMsg(status::Truncated)};
  const std::size_t count = m[kParamCount - 1];
  const std::size_t expected = 11 + count;
  if (m.size() < expected) return {statusMsg(status::Truncated)};
  if (m.size() > expected) return {statusMsg(status::BadString)};
  const std::uint8_t group = m[8];
  auto data = [&](std::size_t i) { return m[kParamCount + i]; };  // i-th byte after the count

  switch (group) {
    case 0x01:  // front-panel key
      if (count != 1) return {statusMsg(status::IllegalRequest)};
      if (data(0) > 11) return {statusMsg(status::IllegalValue)};
      ++counters_.keys;
      return {statusMsg(status::Ok)};
    case 0x02:  // bank name
      if (count == 1 && data(0) == 0x00) {
        Message body(4 + kNameChars, ' ');
        body[0] = cmd::Parameter;
        body[1] = 0x02;
        body[2] = 0x0F;
        body[3] = 0x01;
        for (std::size_t i = 0; i < kNameChars && i < bank_.global.bankName.size(); ++i)
          body[4 + i] = static_cast<std::uint8_t>(bank_.global.bankName[i]);
        ++counters_.dumps;
        return {reply(body)};
      }
      if (count == 1 + kNameChars && data(0) == 0x01) {
        bank_.global.bankName.assign(m.begin() + kParamCount + 1, m.begin() + kParamCount + 1 + kNameChars);
        ++counters_.changes;
        return {statusMsg(status::Ok)};
      }
      return {statusMsg(status::IllegalRequest)};
    case 0x03: {  // Global parameters 1-5
      const std::uint8_t n = count >= 2 ? data(0) : 0;
      if (n < 1 || n > 5) return {statusMsg(status::IllegalRequest)};
      auto& value = bank_.global.params[n - 1u];
      if (count == 2 && data(1) == 0x00) {
        ++counters_.dumps;
        return {reply({cmd::Parameter, 0x03, 0x03, n, 0x01, value})};
      }
      if (count == 3 && data(1) == 0x01) {
        static constexpr std::uint8_t kMost[5] = {5, 2, 15, 127, 1};
        if (data(2) > kMost[n - 1u]) return {statusMsg(status::IllegalValue)};
        value = data(2);
        ++counters_.changes;
        return {statusMsg(status::Ok)};
      }
      return {statusMsg(status::IllegalRequest)};
    }
    default: return {statusMsg(status::Unrecognised)};
  }
}

std::vector<Message> Vesk::directory(const Message& m) {
  if (m.size() < 12) return {statusMsg(status::Truncated)};
  if (m.size() > 12 || m[kParamCount - 1] != 0x01) return {statusMsg(status::BadString)};
  const std::uint8_t group = m[8], kind = m[10];
  if (group != 0x01 && group != 0x02) return {statusMsg(status::Unrecognised)};
  if (!IsObjectKind(kind)) return {statusMsg(status::IllegalRequest)};
  ++counters_.dumps;
  return {group == 0x01 ? dirStatus(static_cast<Kind>(kind)) : dirList(static_cast<Kind>(kind))};
}

Message Vesk::dirStatus(Kind kind) const {
  Message r(kDirStatusLength, 0);
  std::copy(kHead, kHead + kHeadLength, r.begin());
  r[6] = deviceId_;
  r[head::Command - 1] = cmd::Directory;
  r[head::Kind - 1] = static_cast<std::uint8_t>(kind);
  r.back() = kEox;
  WriteNibbles(r, head::DataLength, 4, DataLengthFor(kDirStatusLength));
  WriteNibbles(r, head::Number, 4, static_cast<std::uint32_t>(kind));

  // Parameter memory: every stored data byte counts, in whole words; one pool for all kinds. The
  // kind's used and the free figures go out in bytes, the free parameter RAM in words.
  constexpr std::uint32_t kParmWords = 0x10000;
  std::uint32_t usedAll = 0, usedKind = 0;
  for (std::size_t k = 0; k < kObjectKinds; ++k)
    for (const auto& [num, d] : bank_.objects[k]) {
      const std::uint32_t words = (DataLengthFor(d.size()) + 1u) / 2u;
      usedAll += words;
      if (k == static_cast<std::size_t>(kind)) usedKind += words;
    }
  const std::uint32_t freeParm = usedAll < kParmWords ? kParmWords - usedAll : 0;
  const auto& objects = bank_.of(kind);
  const int reported = listing_.lowest[static_cast<std::size_t>(kind)];
  const int lowest = reported >= 0 ? reported : objects.empty() ? 0 : objects.begin()->first;
  const int highest = objects.empty() ? 0 : objects.rbegin()->first;

  WriteNibbles(r, 18, 4, 0);  // reserved
  WriteNibbles(r, 22, 4, static_cast<std::uint32_t>(highestAllowed(kind)));
  WriteNibbles(r, 26, 4, static_cast<std::uint32_t>(objects.size()));
  WriteNibbles(r, 30, 4, static_cast<std::uint32_t>(lowest));
  WriteNibbles(r, 34, 4, static_cast<std::uint32_t>(highest));
  WriteNibbles(r, 38, 6, usedKind * 2);
  WriteNibbles(r, 44, 6, freeParm * 2);
  WriteNibbles(r, 50, 6, freeParm);
  WriteNibbles(r, 56, 4, static_cast<std::uint32_t>(bank_.installedKw));
  WriteNibbles(r, 60, 4, static_cast<std::uint32_t>(FreeSampleKw(bank_)));
  return r;
}

Message Vesk::dirList(Kind kind) const {
  const auto& objects = bank_.of(kind);  // a std::map: ascending numbers
  const std::size_t length = 18 + 32 * objects.size();
  Message r(length, 0);
  std::copy(kHead, kHead + kHeadLength, r.begin());
  r[6] = deviceId_;
  r[head::Command - 1] = cmd::Directory;
  r[head::Kind - 1] = static_cast<std::uint8_t>(kind);
  r.back() = kEox;
  WriteNibbles(r, head::DataLength, 4, static_cast<std::uint32_t>(2 + 16 * objects.size()));
  WriteNibbles(r, head::Number, 4, static_cast<std::uint32_t>(kind));
  // The listed numbers first, in their order; the rest ascending.
  std::vector<int> numbers;
  for (int n : listing_.order[static_cast<std::size_t>(kind)])
    if (objects.count(n) && std::find(numbers.begin(), numbers.end(), n) == numbers.end()) numbers.push_back(n);
  for (const auto& [num, d] : objects)
    if (std::find(numbers.begin(), numbers.end(), num) == numbers.end()) numbers.push_back(num);
  std::size_t pos = 18;
  for (int num : numbers) {
    const Message& d = objects.at(num);
    WriteNibbles(r, pos, 4, static_cast<std::uint32_t>(num));
    std::copy(d.begin() + head::Name - 1, d.begin() + head::Name - 1 + 2 * kNameChars,
              r.begin() + static_cast<std::ptrdiff_t>(pos + 4 - 1));
    pos += 32;
  }
  return r;
}

std::size_t FixedDumpLength(Kind k) {
  switch (k) {
    case Kind::Wave: return kWaveLength;
    case Kind::Tone: return kToneLength;
    case Kind::Preset: return kPresetLength;
    case Kind::Multi: return kMultiLength;
    case Kind::MapHeader: return kMapHeaderLength;
    case Kind::MapZone: return kZoneMessageLength;
    default: return 0;
  }
}

}  // namespace emu

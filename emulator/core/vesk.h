#pragma once
// The instrument itself, without any I/O: it takes one whole incoming MIDI message and returns
// the replies it sends, each with the delay after which it leaves. Transport adapters (the
// in-process loopback peer, the vesk-emulator program on a real port) deliver the replies.
//
//   emu::Vesk vesk;                          // device id 0, the default bank
//   auto replies = vesk.handle(message);     // e.g. one status reply F0 00 00 1B 02 05 00 00 00 F7
//   vesk.setSilent(true);                    // fault switches, see Faults
//   vesk.received();                         // every message received, in order
//
// It answers messages for its own device id and for 7F (all devices); messages of other makers
// or other device ids are recorded and left unanswered. A message it cannot take gets a status
// reply with the reason (see Status).

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "emulator/core/bank.h"
#include "emulator/core/layouts.h"
#include "emulator/core/wire.h"

namespace emu {

// Status codes of the status reply (position 9).
namespace status {
inline constexpr std::uint8_t Ok = 0, Unrecognised = 1, Truncated = 2, BadString = 3, Empty = 4, OutOfRange = 5,
                              NoMemory = 6, BadFormat = 7, IllegalRequest = 8, Busy = 9, Failed = 10,
                              IllegalValue = 11;
}

struct Reply {
  Message bytes;
  int delayMs = 0;           // from the moment the message was received
  bool unsolicited = false;  // sent by a fault switch, not an answer
};

// How a reply is damaged before it leaves.
enum class Mangle {
  None,
  Short,      // cut to its first 7 bytes and F7: no status position
  Garbled,    // every byte from position 8 to the F7 replaced by noise (0x10..0x7F)
  Truncated,  // the last character before F7 left out
  OverLong,   // one extra 0 character before F7
  WrongKind,  // position 9 (the kind, or a status) changed
  NonNibble,  // one data character made larger than 15
};

// The requests a fault can be limited to (see Faults::only).
enum class Request {
  Any,        // every message
  DirStatus,  // directory status request (12 01)
  Directory,  // directory request (12 02)
  Dump,       // object and Map zone dump requests (01)
  Global,     // bank name, Global parameter and master tune requests and changes
  Key,        // front-panel keys (11 01)
  Upload,     // object, Map header and Map zone uploads (02)
  Other,      // delete, load bank, stereo merge and anything unknown
};

// The request a message makes and the object kind it names (-1 when it names none).
Request RequestOf(const Message& m, int& kind);

struct Faults {
  int replyDelayMs = 0;        // every reply leaves after this delay
  bool silent = false;         // nothing is answered
  int lateMs = 0;              // > 0: replies leave after this delay instead (past the client's time-out)
  bool unsolicited = false;    // an unasked System Exclusive message follows each reply
  int unsolicitedGapMs = 20;   // ... this long after the reply
  int repeat = 1;              // each reply is sent this many times
  Mangle mangle = Mangle::None;
  int mangleKind = -1;         // >= 0: only dumps of this kind (Map zone: 6) are damaged
  int forcedStatus = 0;        // 1..255: every message is answered with this status instead
  Request only = Request::Any; // the faults above (not replyDelayMs) hit only these requests...
  int onlyKind = -1;           // ... and, when >= 0, only those naming this object kind
};

// How the directory replies list the objects, beside what the bank holds.
struct Listing {
  // Per kind (Wave .. Multi): these numbers first, in this order (numbers the bank does not hold
  // are left out); the other objects follow in ascending order.
  std::array<std::vector<int>, kObjectKinds> order;
  // Per kind: >= 0 is reported as the lowest number in use, whatever the bank holds.
  std::array<int, kObjectKinds> lowest{-1, -1, -1, -1, -1};
};

struct Counters {
  int received = 0;     // every message, ours or not
  int ignored = 0;      // not addressed to this instrument (other maker, other device id, short messages)
  int answered = 0;     // messages that got at least one reply
  int replies = 0;      // reply messages produced (repeats and unsolicited ones included)
  int refused = 0;      // status replies with a non-zero status
  int dumps = 0;        // dump, directory and Global requests answered with data
  int uploads = 0;      // object, Map header and Map zone uploads stored
  int changes = 0;      // Global parameter, bank name and master tune changes stored
  int keys = 0;         // front-panel keys accepted
  int lastStatus = -1;  // the status of the last status reply, -1 before any
};

// A disk drive of the instrument: unit 0x7F is the floppy drive, 0..6 the SCSI ids.
struct DiskUnit {
  bool installed = false;
  int banks = 0;  // banks 0 .. banks-1 can be loaded
};

class Vesk {
 public:
  explicit Vesk(std::uint8_t deviceId = 0);

  // One whole incoming message (F0..F7, or a short message) in; the replies out.
  std::vector<Reply> handle(const Message& message);

  std::uint8_t deviceId() const { return deviceId_; }
  void setDeviceId(std::uint8_t id) { deviceId_ = static_cast<std::uint8_t>(id & 0x7F); }

  // Fault switches. They stay as set until changed, unless limited by setFaultCount.
  const Faults& faults() const { return faults_; }
  void setFaults(const Faults& f) { faults_ = f; }
  void clearFaults() { faults_ = Faults{}; faultCount_ = -1; }
  void setReplyDelay(int ms) { faults_.replyDelayMs = ms; }
  // The replies to one command (cmd::LoadBank, a slow disk) leave this much later; 0 removes it.
  void setCommandDelay(std::uint8_t command, int ms) { commandDelayMs_[command & 0x7F] = ms < 0 ? 0 : ms; }
  void setSilent(bool on) { faults_.silent = on; }
  void setLateReplies(int ms) { faults_.lateMs = ms; }
  void setUnsolicited(bool on, int gapMs = 20) { faults_.unsolicited = on; faults_.unsolicitedGapMs = gapMs; }
  void setRepeat(int times) { faults_.repeat = times < 1 ? 1 : times; }
  void setMangle(Mangle m, int onlyKind = -1) {
    faults_.mangle = m;
    faults_.mangleKind = onlyKind;
  }
  void setForcedStatus(int s) { faults_.forcedStatus = s; }
  void setBusy(bool on) { faults_.forcedStatus = on ? status::Busy : 0; }
  // Limits the faults to one request, and with kind >= 0 to one object kind of it.
  void setFaultsOnly(Request r, int kind = -1) {
    faults_.only = r;
    faults_.onlyKind = kind;
  }
  // The faults (all but the reply delay) apply to the next n messages they hit and are then
  // switched off; -1 (the default) keeps them on.
  void setFaultCount(int n) { faultCount_ = n; }
  // The message a fault switch sends unasked (a default one unless set).
  void setUnsolicitedMessage(const Message& m) { unsolicitedMessage_ = m; }
  Message unsolicitedMessage() const;

  // The directory listing's order and reported lowest number (not cleared by clearFaults).
  const Listing& listing() const { return listing_; }
  void setListing(const Listing& l) { listing_ = l; }
  void setDirectoryOrder(Kind k, std::vector<int> numbers) { listing_.order[static_cast<std::size_t>(k)] = std::move(numbers); }
  void setReportedLowest(Kind k, int number) { listing_.lowest[static_cast<std::size_t>(k)] = number; }

  // What was received, and the counters.
  const std::vector<Message>& received() const { return received_; }
  const Counters& counters() const { return counters_; }
  void clearReceived() { received_.clear(); }
  void resetCounters() { counters_ = Counters{}; }

  // The memory.
  Bank& bank() { return bank_; }
  const Bank& bank() const { return bank_; }
  void setBank(Bank b) { bank_ = std::move(b); }
  // An object's dump as the instrument would send it; empty when it does not exist.
  Message dump(Kind kind, int number) const;
  int highestAllowed(Kind) const { return 255; }

  std::array<DiskUnit, 8>& disks() { return disks_; }  // index 0 the floppy drive, 1..7 SCSI ids 0..6

 private:
  Message reply(const Message& body) const { return Frame(deviceId_, body); }
  Message statusMsg(std::uint8_t s) const { return StatusReply(deviceId_, s); }
  std::vector<Message> dispatch(const Message& m);
  std::vector<Message> dumpRequest(const Message& m);
  std::vector<Message> upload(const Message& m);
  std::vector<Message> deleteObjects(const Message& m);
  std::vector<Message> loadBank(const Message& m);
  std::vector<Message> stereoMerge(const Message& m);
  std::vector<Message> masterTune(const Message& m);
  std::vector<Message> parameter(const Message& m);
  std::vector<Message> directory(const Message& m);
  Message dirStatus(Kind kind) const;
  Message dirList(Kind kind) const;
  Message mangled(Message m, const Message& request);
  bool faultsHit(const Message& m) const;

  std::uint8_t deviceId_;
  Bank bank_;
  std::array<DiskUnit, 8> disks_{};
  Faults faults_;
  std::array<int, 128> commandDelayMs_{};
  Listing listing_;
  int faultCount_ = -1;
  Message unsolicitedMessage_;
  std::vector<Message> received_;
  Counters counters_;
  std::uint32_t noise_ = 0x2545F491u;
};

}  // namespace emu

#pragma once
// Object transfer: the requests, the directory reads, every dump parser that fills the object
// store from the instrument, and the object upload that sends an edited copy of a stored dump.
//
// Each procedure runs under the link's error trap (its box, both busy flags cleared, both lamps
// off, its failure value). An object dump changes the store only when its reply passed every
// check of its kind: a failed read keeps the previous object whole. The Global data are stored
// field by field as their replies come in. Every request releases MidiInBusy and the in lamp
// once it has taken its reply, whatever the reply was.

#include <cstdint>
#include <string>
#include <variant>

#include "link/link.h"
#include "objects/obj_types.h"
#include "objects/records.h"
#include "objects/requests.h"
#include "platform/bytes.h"

namespace tavoro {

// The value an upload writes: an 8-bit, 16-bit or 32-bit integer at its own width, or a text
// (a name at position 20, else a number: decimal, or hexadecimal after "&H").
class UploadValue {
 public:
  UploadValue(std::uint8_t v) : v_(v) {}
  UploadValue(std::int16_t v) : v_(v) {}
  UploadValue(std::int32_t v) : v_(v) {}  // a plain int is a 32-bit value
  UploadValue(std::string v) : v_(std::move(v)) {}
  UploadValue(const char* v) : v_(std::string(v)) {}
  const std::variant<std::uint8_t, std::int16_t, std::int32_t, std::string>& get() const { return v_; }

 private:
  std::variant<std::uint8_t, std::int16_t, std::int32_t, std::string> v_;
};

// Status-bar panels the dump parsers write.
inline constexpr int kPanelPreset = 1, kPanelMap = 2, kPanelTone = 3, kPanelWave = 4, kPanelMulti = 5;

// The reply time-out of every request and upload.
inline constexpr int kRequestTimeoutMs = 5000;

// The highest Multi a dump request can name.
inline constexpr int kHighestMultiRequest = 4095;

class ObjectTransfer {
 public:
  ObjectTransfer(Link& link, ObjectStore& store) : link_(link), store_(store) {}

  // One request and its whole reply: SysExHeader, the device id, Cmd, Arg (left out for kind
  // 18), F7; then the reply wait in reply mode. After its own failure the response's text is
  // "False" (outcome Failed).
  VeskResponse ReqObjectDump(std::uint8_t Kind, const plat::Bytes& Cmd, const plat::Bytes& Arg);

  // The directory status of kind 0-4: sets the kind's loaded flag and FreeRamKw; an all-zero
  // record (loaded flag False) when the reply is missing or malformed.
  ObjDirStatus GetObjDirStatus(std::int16_t ObjType);
  // The directory of a kind; empty when the reply is missing or malformed, and after the box
  // when the reply ends before the entries it announces.
  ObjDir GetObjDir(std::int16_t ObjType);

  // Writes Value into a copy of the kind's stored image at NibPos (NibCount nibbles), the
  // object number at 14-17, sends it and waits for the status. Kind 6 builds the Map zone
  // message of zone CurZoneIdx instead. With Send False only the value is encoded: kind 0
  // writes it into WaveDump itself, the other kinds do nothing more. True when accepted (or
  // Send False); False otherwise, after its box.
  bool ObjectUpload(ObjType Kind, std::int16_t ObjNum, const UploadValue& Value, std::int16_t NibPos,
                    std::uint8_t NibCount, bool Send);

  bool WaveObjDump(std::int16_t WaveNum);
  bool ToneObjDump(std::int16_t ToneNum);
  bool MapObjDump(std::int16_t MapNum);
  bool MapZoneObjDump();
  bool PresetObjDump(std::int16_t PresetNum);
  bool MultiObjDump(std::int16_t MultiNum);
  bool GlobalObjDump();

  // The message ObjectUpload would send (Send True), without sending it. Throws as the upload
  // would fail; for tests and the senders' checks.
  plat::Bytes ObjectUploadMsg(ObjType Kind, std::int16_t ObjNum, const UploadValue& Value, std::int16_t NibPos,
                              std::uint8_t NibCount);

  Link& link() { return link_; }
  ObjectStore& store() { return store_; }

 private:
  static plat::Bytes EncodeUpload(ObjType Kind, const UploadValue& Value, std::int16_t NibPos, std::uint8_t NibCount);
  // A copy of the kind's stored image (or a new zone message) with `nibbles` written in.
  plat::Bytes PatchedImage(ObjType Kind, std::int16_t ObjNum, const plat::Bytes& nibbles, std::int16_t NibPos,
                           std::uint8_t NibCount);
  plat::Bytes MapZoneUploadMsg(std::int16_t MapNum, std::int16_t NibPos, const plat::Bytes& nibbles,
                               std::uint8_t NibCount);
  // Releases MidiInBusy and the in lamp after a reply was taken.
  void ReplyTaken();
  // The whole reply to a request; empty when none came.
  plat::Bytes Ask(const DumpRequest& q);

  Link& link_;
  ObjectStore& store_;
};

}  // namespace tavoro

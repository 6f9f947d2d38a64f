#pragma once
// What the instrument holds in memory: its objects as raw dumps (exactly as it sends them), the
// Global data, and the sample memory. The default bank is a small, realistic set of objects of
// every kind, written field by field here.

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "emulator/core/layouts.h"
#include "emulator/core/wire.h"

namespace emu {

struct GlobalData {
  std::string bankName = std::string(kNameChars, ' ');  // always 14 characters
  // The five Global parameters, numbered 1-5: playback mode, receive mode, MIDI channel,
  // omni/poly volume, program change.
  std::array<std::uint8_t, 5> params{0, 0, 0, 127, 0};
  std::int16_t masterTune = 0;  // hundredths of a semitone
};

struct Bank {
  // Raw dumps by object number, one map per kind (Wave .. Multi), position 7 left 0: the
  // instrument's device id is put in when a dump is sent.
  std::array<std::map<int, Message>, kObjectKinds> objects;
  GlobalData global;
  int installedKw = 4096;  // installed sample memory, kilowords

  const std::map<int, Message>& of(Kind k) const { return objects[static_cast<std::size_t>(k)]; }
  std::map<int, Message>& of(Kind k) { return objects[static_cast<std::size_t>(k)]; }
  void clear();
};

// Sample memory used by the Waves (the sum of their sizes) and what is left, in kilowords.
int UsedSampleKw(const Bank& bank);
int FreeSampleKw(const Bank& bank);

// A dump of the kind with the common head filled in (command 02, kind, data length, number,
// name) and every other data character 0.
Message NewDump(Kind kind, std::size_t length, int number, std::string_view name);

// The bank the instrument starts with.
Bank DefaultBank();

// The bank a disk holds: bank `bankNumber` on disk unit `unit` (0x7F the floppy drive, 0-6 SCSI).
// Derived from the default bank with its own name and a different selection of objects.
Bank DiskBank(int unit, int bankNumber);

}  // namespace emu

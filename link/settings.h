#pragma once
// The program's settings, kept in the per-user registry under
// HKEY_CURRENT_USER\Software\Brevix\Tavoro: read once at start (Link::GetRegistry), written once
// at exit (Link::SetRegistry), changed in memory by the configuration window in between.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "platform/registry/registry.h"

namespace tavoro {

// One entry of the instrument's disk table: 0 the floppy drive, 1-7 the SCSI ids 0-6.
struct DiskDevice {
  std::int16_t DevNum = 0;      // equal to its index
  std::uint8_t Installed = 1;   // 1 installed, 0 not
  std::int16_t DevType = 1;     // 0 CD-ROM, 1 hard disk, 2 Zip/Jaz, 3 floppy, -1 none
  std::string VolName;
};

inline constexpr int kDiskDeviceCount = 8;

struct Settings {
  std::string InDeviceName;
  std::int16_t InDeviceId = 0;
  std::string OutDeviceName;
  std::int16_t OutDeviceId = 0;
  std::int16_t MidiThru = 0;
  std::array<DiskDevice, kDiskDeviceCount> DiskDevices = DefaultDiskDevices();
  std::uint8_t LastDisk = 0;
  std::int16_t PlaybackNote = 60;
  std::int16_t PlaybackVelocityOn = 64;
  std::int16_t PlaybackVelocityOff = 64;
  std::int16_t PlaybackChannel = 0;
  std::int16_t SysExDeviceId = 127;
  std::string HomeDir;

  // The disk table as it stands with no "Disk Devices" key: all installed, the floppy type 3,
  // the SCSI disks type 1, named "Floppy Disk" and "SCSI 0" to "SCSI 6".
  static std::array<DiskDevice, kDiskDeviceCount> DefaultDiskDevices();
};

// Registry layout.
inline constexpr std::string_view kRegistryBase = "Software\\Brevix\\Tavoro";
inline constexpr std::string_view kMidiInterfaceKey = "\\MIDI Interface";
inline constexpr std::string_view kDiskDevicesKey = "\\Disk Devices";
inline constexpr std::string_view kVeskConfigKey = "\\Vesk Config";
inline constexpr std::string_view kApplicationKey = "\\Application";
inline constexpr std::string_view kHomeDirectoryValue = "Home Directory";
inline constexpr std::string_view kLastDiskValue = "Last Disk Accessed";
inline constexpr std::string_view kRegistryKeyClass = "tavoro";

// The value names of "MIDI Interface" and "Vesk Config", in the order they are read.
inline constexpr std::array<std::string_view, 3> MidiValueNames = {"Input", "MIDI Thru", "Output"};
inline constexpr std::array<std::string_view, 5> ConfigValueNames = {
    "PlayBack MIDI Channel", "PlayBack Note", "PlayBack Velocity OFF", "PlayBack Velocity ON", "SysEx Device ID"};

// "Dev" i "_Installed" and its siblings.
std::string DiskValueName(int index, std::string_view field);
// "Floppy Disk", "SCSI 0" .. "SCSI 6".
std::string DefaultVolName(int index);

// A registry value as read: nothing, a text (REG_SZ) or a number (REG_DWORD).
using RegValue = std::variant<std::monostate, std::string, std::uint32_t>;

// Reads one value. 0 when read; -1 when it does not exist, cannot be queried or has another type
// than REG_SZ and REG_DWORD (Value then unchanged for another type, else empty); otherwise the
// error code of the read itself (Value empty). Shows nothing.
long ReadRegValue(plat::reg::HKEY key, std::string_view valueName, RegValue& Value);
// Writes a value: type 1 (REG_SZ) the text plus a zero byte, type 4 (REG_DWORD) a 32-bit number;
// returns the registry's result (0 and nothing written for any other type).
long WriteRegValue(plat::reg::HKEY key, std::string_view valueName, std::uint32_t valueType, const RegValue& Value);

// The text of a value, or nothing when it is empty or missing ("present but empty" counts as
// missing). A number is given as its decimal text.
std::optional<std::string> RegText(const RegValue& v);
// A whole number within [lo, hi] from a text (decimal, blanks around allowed) or a number;
// nothing when the value is missing, empty, not a number or out of range.
std::optional<long> RegNumber(const RegValue& v, long lo, long hi);

}  // namespace tavoro

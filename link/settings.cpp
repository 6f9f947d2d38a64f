// The settings in the registry: defaults, value parsing, ReadRegValue/WriteRegValue and the
// link's GetRegistry/SetRegistry.
#include "link/settings.h"

#include <charconv>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "link/link.h"

namespace tavoro {

namespace reg = plat::reg;

std::array<DiskDevice, kDiskDeviceCount> Settings::DefaultDiskDevices() {
  std::array<DiskDevice, kDiskDeviceCount> disks;
  for (int i = 0; i < kDiskDeviceCount; ++i) {
    auto& d = disks[static_cast<std::size_t>(i)];
    d.DevNum = static_cast<std::int16_t>(i);
    d.Installed = 1;
    d.DevType = i == 0 ? 3 : 1;
    d.VolName = DefaultVolName(i);
  }
  return disks;
}

std::string DiskValueName(int index, std::string_view field) {
  return "Dev" + std::to_string(index) + std::string(field);
}

std::string DefaultVolName(int index) {
  return index == 0 ? std::string("Floppy Disk") : "SCSI " + std::to_string(index - 1);
}

std::optional<std::string> RegText(const RegValue& v) {
  if (const auto* s = std::get_if<std::string>(&v)) {
    if (s->empty()) return std::nullopt;
    return *s;
  }
  if (const auto* n = std::get_if<std::uint32_t>(&v)) return std::to_string(*n);
  return std::nullopt;
}

std::optional<long> RegNumber(const RegValue& v, long lo, long hi) {
  long n = 0;
  if (const auto* d = std::get_if<std::uint32_t>(&v)) {
    // A REG_DWORD holds the 32-bit pattern; read it as the signed number it was written from.
    n = static_cast<long>(static_cast<std::int32_t>(*d));
  } else if (const auto* s = std::get_if<std::string>(&v)) {
    std::size_t first = s->find_first_not_of(" \t");
    std::size_t last = s->find_last_not_of(" \t");
    if (first == std::string::npos) return std::nullopt;
    const char* b = s->data() + first;
    const char* e = s->data() + last + 1;
    if (*b == '+') ++b;
    auto [p, ec] = std::from_chars(b, e, n);
    if (ec != std::errc() || p != e) return std::nullopt;
  } else {
    return std::nullopt;
  }
  if (n < lo || n > hi) return std::nullopt;
  return n;
}

long ReadRegValue(reg::HKEY key, std::string_view valueName, RegValue& Value) {
  return TrapWith([&] { Value = std::monostate{}; }, -1L, [&]() -> long {
    std::uint32_t type = reg::REG_NONE;
    std::uint32_t size = 0;
    if (reg::RegQueryValueEx(key, valueName, &type, nullptr, &size) != reg::ERROR_SUCCESS) {
      Value = std::monostate{};
      return -1;
    }
    if (type == reg::REG_SZ) {
      if (size == 0) {  // stored without even its terminating zero
        Value = std::string();
        return 0;
      }
      std::vector<std::uint8_t> buf(size);
      std::uint32_t got = size;
      const long rc = reg::RegQueryValueEx(key, valueName, &type, buf.data(), &got);
      if (rc != reg::ERROR_SUCCESS) {
        Value = std::monostate{};
        return rc;
      }
      std::size_t n = std::min<std::size_t>(got, buf.size());
      if (n > 0 && buf[n - 1] == 0) --n;  // the terminating zero, when there is one
      Value = std::string(buf.begin(), buf.begin() + static_cast<std::ptrdiff_t>(n));
      return 0;
    }
    if (type == reg::REG_DWORD) {
      std::uint8_t buf[4] = {};
      std::uint32_t got = sizeof buf;
      const long rc = reg::RegQueryValueEx(key, valueName, &type, buf, &got);
      if (rc != reg::ERROR_SUCCESS) {
        Value = std::monostate{};
        return rc;
      }
      std::uint32_t n = 0;
      std::memcpy(&n, buf, sizeof n);
      Value = n;
      return 0;
    }
    return -1;  // another type: Value unchanged
  });
}

long WriteRegValue(reg::HKEY key, std::string_view valueName, std::uint32_t valueType, const RegValue& Value) {
  if (valueType == reg::REG_SZ) {
    std::string text;
    if (const auto* s = std::get_if<std::string>(&Value)) text = *s;
    else if (const auto* n = std::get_if<std::uint32_t>(&Value)) text = std::to_string(*n);
    std::vector<std::uint8_t> data(text.begin(), text.end());
    data.push_back(0);
    return reg::RegSetValueEx(key, valueName, 0, reg::REG_SZ, data.data(), static_cast<std::uint32_t>(data.size()));
  }
  if (valueType == reg::REG_DWORD) {
    std::uint32_t n = 0;
    if (const auto* d = std::get_if<std::uint32_t>(&Value)) {
      n = *d;
    } else {
      auto parsed = RegNumber(Value, INT32_MIN, UINT32_MAX);
      if (!parsed) throw std::invalid_argument("not a number for a REG_DWORD value");
      n = static_cast<std::uint32_t>(*parsed);
    }
    std::uint8_t buf[4];
    std::memcpy(buf, &n, sizeof n);
    return reg::RegSetValueEx(key, valueName, 0, reg::REG_DWORD, buf, sizeof buf);
  }
  return 0;
}

namespace {

// An open key below the base key, closed when it goes out of scope (also on the error path).
class SettingsKey {
 public:
  SettingsKey() = default;
  SettingsKey(const SettingsKey&) = delete;
  SettingsKey& operator=(const SettingsKey&) = delete;
  ~SettingsKey() { Close(); }

  bool Open(std::string_view subKey) {
    Close();
    return reg::RegOpenKeyEx(reg::HKEY_CURRENT_USER, Path(subKey), 0, reg::KEY_ALL_ACCESS, &h_) ==
               reg::ERROR_SUCCESS && h_ != 0;
  }
  bool Create(std::string_view subKey) {
    Close();
    return reg::RegCreateKeyEx(reg::HKEY_CURRENT_USER, Path(subKey), 0, kRegistryKeyClass,
                               reg::REG_OPTION_NON_VOLATILE, reg::KEY_ALL_ACCESS, &h_, nullptr) ==
               reg::ERROR_SUCCESS && h_ != 0;
  }
  void Close() {
    if (h_ != 0) reg::RegCloseKey(h_);
    h_ = 0;
  }
  reg::HKEY handle() const { return h_; }

  RegValue Read(std::string_view name) const {
    RegValue v;
    ReadRegValue(h_, name, v);
    return v;
  }
  // Every setting is written as text; a write the registry refuses ends in the caller's box.
  void Write(std::string_view name, const std::string& text) const {
    if (WriteRegValue(h_, name, reg::REG_SZ, text) != reg::ERROR_SUCCESS)
      throw std::runtime_error("registry write refused");
  }

 private:
  static std::string Path(std::string_view subKey) { return std::string(kRegistryBase) + std::string(subKey); }
  reg::HKEY h_ = 0;
};

template <class T>
T NumberOr(const RegValue& v, long lo, long hi, T fallback) {
  auto n = RegNumber(v, lo, hi);
  return n ? static_cast<T>(*n) : fallback;
}

}  // namespace

bool Link::GetRegistry() {
  return Trap(*this, "GetRegistry()", " Error retrieving Registry information", false, [&] {
    Trace("GetRegistry()");
    Settings& s = settings;

    // Every disk and audition setting gets its default first, so whatever cannot be read keeps a
    // sound value.
    s.DiskDevices = Settings::DefaultDiskDevices();
    s.LastDisk = 0;
    s.PlaybackChannel = 0;
    s.PlaybackNote = 60;
    s.PlaybackVelocityOff = 64;
    s.PlaybackVelocityOn = 64;
    s.SysExDeviceId = 127;

    SettingsKey key;
    if (!key.Open(kMidiInterfaceKey)) {
      // No port settings at all: device 0 of each control. Inside an existing key a port value
      // that is missing or names no present device leaves the port as it was.
      s.InDeviceId = 0;
      s.InDeviceName.clear();
      s.OutDeviceId = 0;
      s.OutDeviceName.clear();
      TrapSilent(false, [&] {  // with no device at all there is no name to take
        InDevice(0);
        s.InDeviceName = ctlMIDIin.DeviceName();
        s.InDeviceId = static_cast<std::int16_t>(ctlMIDIin.DeviceID());
        return true;
      });
      TrapSilent(false, [&] {
        OutDevice(0);
        s.OutDeviceName = ctlMIDIout.DeviceName();
        s.OutDeviceId = static_cast<std::int16_t>(ctlMIDIout.DeviceID());
        return true;
      });
      s.MidiThru = 0;
    } else {
      for (std::string_view name : MidiValueNames) {
        const std::optional<std::string> text = RegText(key.Read(name));
        if (name == "Input") {
          if (!text) continue;
          const int count = ctlMIDIin.DeviceCount();
          for (int k = 0; k < count; ++k) {
            InDevice(k);
            if (ctlMIDIin.DeviceName() == *text) {
              s.InDeviceId = static_cast<std::int16_t>(k);
              s.InDeviceName = *text;
              break;
            }
          }
        } else if (name == "MIDI Thru") {
          if (text == "1") s.MidiThru = 1;
        } else if (name == "Output") {
          if (!text) continue;
          const int count = ctlMIDIout.DeviceCount();
          for (int k = -1; k < count; ++k) {
            OutDevice(k);
            if (ctlMIDIout.DeviceName() == *text) {
              s.OutDeviceId = static_cast<std::int16_t>(k);
              s.OutDeviceName = *text;
              break;
            }
          }
        }
      }
      key.Close();
    }

    if (key.Open(kDiskDevicesKey)) {
      for (int i = 0; i < kDiskDeviceCount; ++i) {
        DiskDevice& d = s.DiskDevices[static_cast<std::size_t>(i)];
        d.DevNum = static_cast<std::int16_t>(i);
        d.Installed = NumberOr<std::uint8_t>(key.Read(DiskValueName(i, "_Installed")), 0, 1, 1);
        d.DevType = NumberOr<std::int16_t>(key.Read(DiskValueName(i, "_Type")), -1, 3, 1);
        d.VolName = RegText(key.Read(DiskValueName(i, "_VolName"))).value_or(DefaultVolName(i));
      }
      s.LastDisk = NumberOr<std::uint8_t>(key.Read(kLastDiskValue), 0, kDiskDeviceCount - 1, 0);
      key.Close();
    }

    if (key.Open(kVeskConfigKey)) {
      s.PlaybackChannel = NumberOr<std::int16_t>(key.Read(ConfigValueNames[0]), 0, 15, 0);
      s.PlaybackNote = NumberOr<std::int16_t>(key.Read(ConfigValueNames[1]), 0, 127, 60);
      s.PlaybackVelocityOff = NumberOr<std::int16_t>(key.Read(ConfigValueNames[2]), 0, 127, 64);
      s.PlaybackVelocityOn = NumberOr<std::int16_t>(key.Read(ConfigValueNames[3]), 0, 127, 64);
      s.SysExDeviceId = NumberOr<std::int16_t>(key.Read(ConfigValueNames[4]), 0, 127, 127);
      key.Close();
    }
    return true;
  });
}

bool Link::SetRegistry() {
  return TrapBoxOnly("SetRegistry()", " Error updating Registry information", false, [&] {
    const Settings& s = settings;
    SettingsKey key;
    if (key.Create(kMidiInterfaceKey)) {
      key.Write("Input", s.InDeviceName);
      key.Write("Output", s.OutDeviceName);
      key.Write("MIDI Thru", std::to_string(s.MidiThru));
      key.Close();
    }
    if (key.Create(kDiskDevicesKey)) {
      for (int i = 0; i < kDiskDeviceCount; ++i) {
        const DiskDevice& d = s.DiskDevices[static_cast<std::size_t>(i)];
        key.Write(DiskValueName(i, "_Installed"), std::to_string(d.Installed));
        key.Write(DiskValueName(i, "_Type"), std::to_string(d.DevType));
        key.Write(DiskValueName(i, "_VolName"), d.VolName);
      }
      key.Write(kLastDiskValue, std::to_string(s.LastDisk));
      key.Close();
    }
    if (key.Create(kVeskConfigKey)) {
      key.Write("PlayBack Note", std::to_string(s.PlaybackNote));
      key.Write("PlayBack Velocity ON", std::to_string(s.PlaybackVelocityOn));
      key.Write("PlayBack Velocity OFF", std::to_string(s.PlaybackVelocityOff));
      key.Write("PlayBack MIDI Channel", std::to_string(s.PlaybackChannel));
      key.Write("SysEx Device ID", std::to_string(s.SysExDeviceId));
      key.Close();
    }
    if (key.Create(kApplicationKey)) {
      key.Write(kHomeDirectoryValue, s.HomeDir);
      key.Close();
    }
    return true;
  });
}

}  // namespace tavoro

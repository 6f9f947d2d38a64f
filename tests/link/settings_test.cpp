// Settings in the registry: value reading, defaults, round trip, damaged values.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstring>
#include <fstream>
#include <iterator>

#include "link/settings.h"
#include "platform/midi/midi_controls.h"
#include "platform/registry/registry.h"
#include "tests/link/link_fixture.h"

namespace tavoro::testing {
namespace {

namespace reg = plat::reg;

std::string Base(std::string_view sub) { return std::string(kRegistryBase) + std::string(sub); }

reg::HKEY Create(std::string_view sub) {
  reg::HKEY h = 0;
  EXPECT_EQ(reg::RegCreateKeyEx(reg::HKEY_CURRENT_USER, Base(sub), 0, "", 0, reg::KEY_ALL_ACCESS, &h, nullptr),
            reg::ERROR_SUCCESS);
  return h;
}

void SetText(std::string_view sub, std::string_view name, std::string_view text) {
  reg::HKEY h = Create(sub);
  EXPECT_EQ(reg::RegSetString(h, name, text), reg::ERROR_SUCCESS);
  reg::RegCloseKey(h);
}

std::optional<std::string> StoredText(std::string_view sub, std::string_view name) {
  reg::HKEY h = 0;
  if (reg::RegOpenKeyEx(reg::HKEY_CURRENT_USER, Base(sub), 0, reg::KEY_ALL_ACCESS, &h) != reg::ERROR_SUCCESS)
    return std::nullopt;
  std::uint32_t type = 0, size = 0;
  std::optional<std::string> out;
  if (reg::RegQueryValueEx(h, name, &type, nullptr, &size) == reg::ERROR_SUCCESS && type == reg::REG_SZ) {
    RegValue v;
    if (ReadRegValue(h, name, v) == 0) out = std::get<std::string>(v);
  }
  reg::RegCloseKey(h);
  return out;
}

class RegistryValues : public ::testing::Test {
 protected:
  void SetUp() override {
    reg::RegDeleteTree(reg::HKEY_CURRENT_USER, kRegistryBase);
    key = Create("\\Values");
  }
  void TearDown() override {
    reg::RegCloseKey(key);
    reg::RegDeleteTree(reg::HKEY_CURRENT_USER, kRegistryBase);
  }
  long SetRaw(std::string_view name, std::uint32_t type, std::vector<std::uint8_t> data) {
    return reg::RegSetValueEx(key, name, 0, type, data.data(), static_cast<std::uint32_t>(data.size()));
  }
  reg::HKEY key = 0;
};

TEST_F(RegistryValues, ReadEachKind) {
  RegValue v;
  EXPECT_EQ(ReadRegValue(key, "missing", v), -1);
  EXPECT_TRUE(std::holds_alternative<std::monostate>(v));

  ASSERT_EQ(WriteRegValue(key, "Text", reg::REG_SZ, std::string("SCSI 3")), reg::ERROR_SUCCESS);
  EXPECT_EQ(ReadRegValue(key, "text", v), 0);  // names are case-insensitive
  EXPECT_EQ(std::get<std::string>(v), "SCSI 3");

  ASSERT_EQ(WriteRegValue(key, "Number", reg::REG_DWORD, std::uint32_t{127}), reg::ERROR_SUCCESS);
  EXPECT_EQ(ReadRegValue(key, "Number", v), 0);
  EXPECT_EQ(std::get<std::uint32_t>(v), 127u);

  ASSERT_EQ(WriteRegValue(key, "Empty", reg::REG_SZ, std::string()), reg::ERROR_SUCCESS);
  EXPECT_EQ(ReadRegValue(key, "Empty", v), 0);
  EXPECT_EQ(std::get<std::string>(v), "");

  // Another type leaves the value as it was.
  v = std::string("before");
  ASSERT_EQ(SetRaw("Binary", 3, {1, 2, 3}), reg::ERROR_SUCCESS);
  EXPECT_EQ(ReadRegValue(key, "Binary", v), -1);
  EXPECT_EQ(std::get<std::string>(v), "before");

  // A type other than 1 and 4 writes nothing.
  EXPECT_EQ(WriteRegValue(key, "Nothing", 3, std::string("x")), 0);
  EXPECT_EQ(ReadRegValue(key, "Nothing", v), -1);
}

TEST_F(RegistryValues, StringsWithoutTheirZeroAreReadSafely) {
  RegValue v;
  ASSERT_EQ(SetRaw("Zero size", reg::REG_SZ, {}), reg::ERROR_SUCCESS);
  EXPECT_EQ(ReadRegValue(key, "Zero size", v), 0);
  EXPECT_EQ(std::get<std::string>(v), "");

  ASSERT_EQ(SetRaw("No zero", reg::REG_SZ, {'a', 'b', 'c'}), reg::ERROR_SUCCESS);
  EXPECT_EQ(ReadRegValue(key, "No zero", v), 0);
  EXPECT_EQ(std::get<std::string>(v), "abc");

  ASSERT_EQ(SetRaw("Only zero", reg::REG_SZ, {0}), reg::ERROR_SUCCESS);
  EXPECT_EQ(ReadRegValue(key, "Only zero", v), 0);
  EXPECT_EQ(std::get<std::string>(v), "");

  ASSERT_EQ(SetRaw("Inner zero", reg::REG_SZ, {'a', 0, 'b', 0}), reg::ERROR_SUCCESS);
  EXPECT_EQ(ReadRegValue(key, "Inner zero", v), 0);
  EXPECT_EQ(std::get<std::string>(v), std::string("a\0b", 3));
}

TEST(RegNumber, AcceptsWholeNumbersInRangeOnly) {
  EXPECT_EQ(RegNumber(std::string("127"), 0, 127), 127);
  EXPECT_EQ(RegNumber(std::string(" 15 "), 0, 15), 15);
  EXPECT_EQ(RegNumber(std::string("-1"), -1, 3), -1);
  EXPECT_EQ(RegNumber(std::string("+3"), -1, 3), 3);
  EXPECT_EQ(RegNumber(std::uint32_t{9}, 0, 15), 9);
  EXPECT_EQ(RegNumber(std::uint32_t{0xFFFFFFFF}, -1, 3), -1);  // a DWORD written from -1
  EXPECT_FALSE(RegNumber(std::string("128"), 0, 127));
  EXPECT_FALSE(RegNumber(std::string("-2"), -1, 3));
  EXPECT_FALSE(RegNumber(std::string(""), 0, 127));
  EXPECT_FALSE(RegNumber(std::string("   "), 0, 127));
  EXPECT_FALSE(RegNumber(std::string("12a"), 0, 127));
  EXPECT_FALSE(RegNumber(std::string("1.5"), 0, 127));
  EXPECT_FALSE(RegNumber(std::string("99999999999999999999"), 0, 127));
  EXPECT_FALSE(RegNumber(RegValue{}, 0, 127));
  EXPECT_EQ(RegText(std::string("")), std::nullopt);
  EXPECT_EQ(RegText(std::uint32_t{5}), "5");
}

class SettingsTest : public LinkFixture {
 protected:
  void SetUp() override {
    LinkFixture::SetUp();
    reg::RegDeleteTree(reg::HKEY_CURRENT_USER, kRegistryBase);
  }
  void TearDown() override {
    reg::RegDeleteTree(reg::HKEY_CURRENT_USER, kRegistryBase);
    LinkFixture::TearDown();
  }
  void ExpectDefaults(const Settings& s) {
    EXPECT_EQ(s.InDeviceId, 0);
    EXPECT_EQ(s.InDeviceName, "Vesk Emulator");
    EXPECT_EQ(s.OutDeviceId, 0);
    EXPECT_EQ(s.OutDeviceName, "Vesk Emulator");
    EXPECT_EQ(s.MidiThru, 0);
    for (int i = 0; i < kDiskDeviceCount; ++i) {
      const DiskDevice& d = s.DiskDevices[static_cast<std::size_t>(i)];
      EXPECT_EQ(d.DevNum, i);
      EXPECT_EQ(d.Installed, 1);
      EXPECT_EQ(d.DevType, i == 0 ? 3 : 1);
    }
    EXPECT_EQ(s.DiskDevices[0].VolName, "Floppy Disk");
    EXPECT_EQ(s.DiskDevices[1].VolName, "SCSI 0");
    EXPECT_EQ(s.DiskDevices[7].VolName, "SCSI 6");
    EXPECT_EQ(s.LastDisk, 0);
    EXPECT_EQ(s.PlaybackNote, 60);
    EXPECT_EQ(s.PlaybackVelocityOn, 64);
    EXPECT_EQ(s.PlaybackVelocityOff, 64);
    EXPECT_EQ(s.PlaybackChannel, 0);
    EXPECT_EQ(s.SysExDeviceId, 127);
  }
};

TEST_F(SettingsTest, NoBaseKeyGivesTheDefaults) {
  link->settings.MidiThru = 1;  // whatever was there before
  link->settings.SysExDeviceId = 3;
  ASSERT_TRUE(link->GetRegistry());
  ExpectDefaults(link->settings);
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(SettingsTest, RoundTripThroughTheRegistry) {
  Settings& s = link->settings;
  ASSERT_TRUE(link->GetRegistry());
  s.MidiThru = 1;
  s.DiskDevices[0].Installed = 0;
  s.DiskDevices[0].DevType = -1;
  s.DiskDevices[5].DevType = 2;
  s.DiskDevices[5].VolName = "Zip = \"drive\"\nline two";
  s.LastDisk = 5;
  s.PlaybackNote = 72;
  s.PlaybackVelocityOn = 100;
  s.PlaybackVelocityOff = 0;
  s.PlaybackChannel = 15;
  s.SysExDeviceId = 16;
  s.HomeDir = "/home/someone/tavoro";
  ASSERT_TRUE(link->SetRegistry());
  const Settings written = s;

  s = Settings{};
  ASSERT_TRUE(link->GetRegistry());
  EXPECT_EQ(s.InDeviceName, "Vesk Emulator");
  EXPECT_EQ(s.OutDeviceName, "Vesk Emulator");
  EXPECT_EQ(s.OutDeviceId, 0);  // the port by its own name, not the default output
  EXPECT_EQ(s.MidiThru, 1);
  for (int i = 0; i < kDiskDeviceCount; ++i) {
    const auto& a = s.DiskDevices[static_cast<std::size_t>(i)];
    const auto& b = written.DiskDevices[static_cast<std::size_t>(i)];
    EXPECT_EQ(a.DevNum, i);
    EXPECT_EQ(a.Installed, b.Installed) << i;
    EXPECT_EQ(a.DevType, b.DevType) << i;
    EXPECT_EQ(a.VolName, b.VolName) << i;
  }
  EXPECT_EQ(s.LastDisk, 5);
  EXPECT_EQ(s.PlaybackNote, 72);
  EXPECT_EQ(s.PlaybackVelocityOn, 100);
  EXPECT_EQ(s.PlaybackVelocityOff, 0);
  EXPECT_EQ(s.PlaybackChannel, 15);
  EXPECT_EQ(s.SysExDeviceId, 16);
  EXPECT_EQ(StoredText(kApplicationKey, kHomeDirectoryValue), "/home/someone/tavoro");
}

TEST_F(SettingsTest, EveryValueIsWrittenAsText) {
  ASSERT_TRUE(link->GetRegistry());
  ASSERT_TRUE(link->SetRegistry());
  EXPECT_EQ(StoredText(kVeskConfigKey, "SysEx Device ID"), "127");
  EXPECT_EQ(StoredText(kVeskConfigKey, "PlayBack Note"), "60");
  EXPECT_EQ(StoredText(kVeskConfigKey, "PlayBack MIDI Channel"), "0");
  EXPECT_EQ(StoredText(kMidiInterfaceKey, "MIDI Thru"), "0");
  EXPECT_EQ(StoredText(kMidiInterfaceKey, "Input"), "Vesk Emulator");
  EXPECT_EQ(StoredText(kDiskDevicesKey, "Dev0_Type"), "3");
  EXPECT_EQ(StoredText(kDiskDevicesKey, "Dev7_VolName"), "SCSI 6");
  EXPECT_EQ(StoredText(kDiskDevicesKey, "Last Disk Accessed"), "0");
  EXPECT_EQ(StoredText(kApplicationKey, "Home Directory"), "");
}

TEST_F(SettingsTest, MissingValuesInsideAnExistingKey) {
  // Entry 0's type missing in an existing key gives 1 (the value default), not 3.
  SetText(kDiskDevicesKey, "Dev3_VolName", "Jaz");
  SetText(kVeskConfigKey, "PlayBack Note", "48");
  SetText(kMidiInterfaceKey, "MIDI Thru", "");  // present but empty counts as missing
  ASSERT_TRUE(link->GetRegistry());
  const Settings& s = link->settings;
  EXPECT_EQ(s.DiskDevices[0].DevType, 1);
  EXPECT_EQ(s.DiskDevices[0].VolName, "Floppy Disk");
  EXPECT_EQ(s.DiskDevices[3].VolName, "Jaz");
  EXPECT_EQ(s.DiskDevices[3].Installed, 1);
  EXPECT_EQ(s.PlaybackNote, 48);
  EXPECT_EQ(s.PlaybackVelocityOn, 64);
  EXPECT_EQ(s.SysExDeviceId, 127);
  EXPECT_EQ(s.MidiThru, 0);
}

TEST_F(SettingsTest, BadValuesKeepTheirDefaults) {
  SetText(kVeskConfigKey, "SysEx Device ID", "200");
  SetText(kVeskConfigKey, "PlayBack MIDI Channel", "16");
  SetText(kVeskConfigKey, "PlayBack Note", "sixty");
  SetText(kVeskConfigKey, "PlayBack Velocity ON", "-1");
  SetText(kVeskConfigKey, "PlayBack Velocity OFF", "99999999999999999999999");
  SetText(kDiskDevicesKey, "Last Disk Accessed", "8");
  SetText(kDiskDevicesKey, "Dev2_Type", "4");
  SetText(kDiskDevicesKey, "Dev3_Type", "-2");
  SetText(kDiskDevicesKey, "Dev4_Installed", "yes");
  SetText(kDiskDevicesKey, "Dev5_Type", "2");  // a good value next to the bad ones still counts
  SetText(kMidiInterfaceKey, "MIDI Thru", "2");
  reg::HKEY h = Create(kVeskConfigKey);
  const std::uint8_t odd[] = {1, 2, 3};
  reg::RegSetValueEx(h, "PlayBack Velocity ON", 0, 3, odd, sizeof odd);  // neither text nor number
  reg::RegCloseKey(h);

  ASSERT_TRUE(link->GetRegistry());
  const Settings& s = link->settings;
  EXPECT_EQ(s.SysExDeviceId, 127);
  EXPECT_EQ(s.PlaybackChannel, 0);
  EXPECT_EQ(s.PlaybackNote, 60);
  EXPECT_EQ(s.PlaybackVelocityOn, 64);
  EXPECT_EQ(s.PlaybackVelocityOff, 64);
  EXPECT_EQ(s.LastDisk, 0);
  EXPECT_EQ(s.DiskDevices[2].DevType, 1);
  EXPECT_EQ(s.DiskDevices[3].DevType, 1);
  EXPECT_EQ(s.DiskDevices[4].Installed, 1);
  EXPECT_EQ(s.DiskDevices[5].DevType, 2);
  EXPECT_EQ(s.MidiThru, 0);
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(SettingsTest, NumbersStoredAsDwordsAreAccepted) {
  reg::HKEY h = Create(kVeskConfigKey);
  reg::RegSetDword(h, "SysEx Device ID", 5);
  reg::RegSetDword(h, "PlayBack MIDI Channel", 300);  // out of range
  reg::RegCloseKey(h);
  h = Create(kMidiInterfaceKey);
  reg::RegSetDword(h, "MIDI Thru", 1);
  reg::RegCloseKey(h);
  ASSERT_TRUE(link->GetRegistry());
  EXPECT_EQ(link->settings.SysExDeviceId, 5);
  EXPECT_EQ(link->settings.PlaybackChannel, 0);
  EXPECT_EQ(link->settings.MidiThru, 1);
}

TEST_F(SettingsTest, PortValuesThatNameNoDeviceLeaveThePortsAsTheyWere) {
  // Only a missing key gives device 0; inside the key a value that is missing, empty or names
  // no present device changes nothing.
  struct Case { const char* what; const char* input; const char* output; std::int16_t inId, outId; const char* inName; };
  for (const Case& c : {Case{"unknown names", "A Keyboard That Is Not There", "Nor This", 3, 2, "Old In"},
                        Case{"empty values", "", "", 3, 2, "Old In"},
                        Case{"missing values", nullptr, nullptr, 3, 2, "Old In"},
                        Case{"known names", "Vesk Emulator", "Vesk Emulator", 0, 0, "Vesk Emulator"},
                        Case{"the default output", "Vesk Emulator", plat::kDefaultOutputName, 0, -1, "Vesk Emulator"}}) {
    reg::RegDeleteTree(reg::HKEY_CURRENT_USER, kRegistryBase);
    SetText(kMidiInterfaceKey, "MIDI Thru", "1");
    if (c.input) SetText(kMidiInterfaceKey, "Input", c.input);
    if (c.output) SetText(kMidiInterfaceKey, "Output", c.output);
    Settings& s = link->settings;
    s.InDeviceId = 3;
    s.InDeviceName = "Old In";
    s.OutDeviceId = 2;
    s.OutDeviceName = "Old Out";
    ASSERT_TRUE(link->GetRegistry());
    EXPECT_EQ(s.InDeviceId, c.inId) << c.what;
    EXPECT_EQ(s.InDeviceName, c.inName) << c.what;
    EXPECT_EQ(s.OutDeviceId, c.outId) << c.what;
    EXPECT_EQ(s.OutDeviceName, c.outId == 2 ? "Old Out" : c.output) << c.what;
    EXPECT_EQ(s.MidiThru, 1) << c.what;
  }
  // No key: device 0 of each control.
  reg::RegDeleteTree(reg::HKEY_CURRENT_USER, kRegistryBase);
  ASSERT_TRUE(link->GetRegistry());
  EXPECT_EQ(link->settings.InDeviceId, 0);
  EXPECT_EQ(link->settings.InDeviceName, "Vesk Emulator");
  EXPECT_EQ(link->settings.OutDeviceId, 0);
  EXPECT_EQ(link->settings.MidiThru, 0);
}

TEST_F(SettingsTest, TracesWhenDebugging) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("tavoro.dbg").toStdString();
  ASSERT_TRUE(trace.DebugTrace.Open(path));
  trace.DebugMode = true;
  ASSERT_TRUE(link->GetRegistry());
  trace.DebugTrace.Close();
  std::ifstream f(path, std::ios::binary);
  std::string all((std::istreambuf_iterator<char>(f)), {});
  EXPECT_EQ(all, "\"GetRegistry()\"\r\n");
}

}  // namespace
}  // namespace tavoro::testing

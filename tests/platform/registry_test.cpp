#include "platform/registry/registry.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

#include "platform/registry/hive.h"

namespace {

using namespace plat::reg;

// Every test gets a registry directory of its own.
class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    const char* old = std::getenv("TAVORO_REGISTRY_DIR");
    saved_ = old ? old : "";
    setenv("TAVORO_REGISTRY_DIR", dir_.path().toLocal8Bit().constData(), 1);
  }
  void TearDown() override { setenv("TAVORO_REGISTRY_DIR", saved_.c_str(), 1); }

  std::string HivePath(const char* hive) const { return dir_.filePath(QString(hive) + ".hive").toStdString(); }

  HKEY Create(HKEY parent, std::string_view path, std::uint32_t* disposition = nullptr) {
    HKEY key = 0;
    EXPECT_EQ(RegCreateKeyEx(parent, path, 0, "", REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, &key, disposition),
              ERROR_SUCCESS);
    return key;
  }
  long Open(HKEY parent, std::string_view path, HKEY* key) { return RegOpenKeyEx(parent, path, 0, KEY_ALL_ACCESS, key); }

  // The value's bytes, or the error code as text.
  static std::string Query(HKEY key, std::string_view name, std::uint32_t* type = nullptr) {
    std::uint32_t size = 0;
    long rc = RegQueryValueEx(key, name, type, nullptr, &size);
    if (rc != ERROR_SUCCESS) return "error " + std::to_string(rc);
    std::string data(size, '?');
    rc = RegQueryValueEx(key, name, type, reinterpret_cast<std::uint8_t*>(data.data()), &size);
    if (rc != ERROR_SUCCESS) return "error " + std::to_string(rc);
    data.resize(size);
    return data;
  }

  QTemporaryDir dir_;
  std::string saved_;
};

TEST_F(RegistryTest, OpenFailsForAMissingKeyAndCreateMakesItWithItsParents) {
  HKEY key = 0;
  EXPECT_EQ(Open(HKEY_CURRENT_USER, "Software\\Brevix\\Tavoro", &key), ERROR_FILE_NOT_FOUND);
  std::uint32_t disposition = 0;
  HKEY created = Create(HKEY_CURRENT_USER, "Software\\Brevix\\Tavoro\\Application", &disposition);
  EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
  EXPECT_NE(created, 0u);
  EXPECT_EQ(Open(HKEY_CURRENT_USER, "Software\\Brevix\\Tavoro", &key), ERROR_SUCCESS);
  EXPECT_NE(key, created);
  HKEY again = Create(key, "Application", &disposition);
  EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
  for (HKEY k : {created, key, again}) EXPECT_EQ(RegCloseKey(k), ERROR_SUCCESS);
  // A key made in one hive does not exist in another.
  EXPECT_EQ(Open(HKEY_LOCAL_MACHINE, "Software\\Brevix", &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(Open(HKEY_CLASSES_ROOT, "Software", &key), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, MissingValueEmptyValueAndTextValuesWithTheirZero) {
  HKEY key = Create(HKEY_CURRENT_USER, "Software\\T");
  std::uint32_t type = 99, size = 77;
  EXPECT_EQ(RegQueryValueEx(key, "Home Directory", &type, nullptr, &size), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(type, 99u);  // untouched when missing

  ASSERT_EQ(RegSetString(key, "Empty", ""), ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueEx(key, "Empty", &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, REG_SZ);
  EXPECT_EQ(size, 1u);  // the zero alone
  EXPECT_EQ(Query(key, "Empty"), std::string(1, '\0'));

  // REG_SZ as written through the raw call: no zero at all, or nothing at all, is kept so.
  const std::uint8_t noZero[] = {'a', 'b'};
  ASSERT_EQ(RegSetValueEx(key, "NoZero", 0, REG_SZ, noZero, 2), ERROR_SUCCESS);
  EXPECT_EQ(Query(key, "NoZero"), "ab");
  ASSERT_EQ(RegSetValueEx(key, "Nothing", 0, REG_SZ, nullptr, 0), ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueEx(key, "Nothing", &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 0u);

  ASSERT_EQ(RegSetString(key, "Home Directory", "/home/me"), ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueEx(key, "Home Directory", &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 9u);
  EXPECT_EQ(Query(key, "Home Directory"), std::string("/home/me\0", 9));

  // Too small a buffer: "more data", the size needed, the buffer untouched.
  std::uint8_t small[4] = {'x', 'x', 'x', 'x'};
  size = sizeof small;
  EXPECT_EQ(RegQueryValueEx(key, "Home Directory", &type, small, &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 9u);
  EXPECT_EQ(small[0], 'x');
  // A bigger buffer than needed: size becomes the value's.
  std::uint8_t big[64] = {};
  size = sizeof big;
  EXPECT_EQ(RegQueryValueEx(key, "Home Directory", nullptr, big, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 9u);
  EXPECT_EQ(RegQueryValueEx(key, "Home Directory", nullptr, big, nullptr), ERROR_INVALID_PARAMETER);

  // Overwriting changes type and size; the default value (empty name) is a value like others.
  ASSERT_EQ(RegSetDword(key, "Home Directory", 5), ERROR_SUCCESS);
  EXPECT_EQ(Query(key, "Home Directory", &type), std::string("\x05\0\0\0", 4));
  EXPECT_EQ(type, REG_DWORD);
  ASSERT_EQ(RegSetString(key, "", "default"), ERROR_SUCCESS);
  EXPECT_EQ(Query(key, ""), std::string("default\0", 8));
  RegCloseKey(key);
}

TEST_F(RegistryTest, DwordValuesAreFourLittleEndianBytes) {
  HKEY key = Create(HKEY_CURRENT_USER, "Software\\T\\MIDI");
  for (std::uint32_t v : {0u, 1u, 127u, 0x12345678u, 0xFFFFFFFFu}) {
    ASSERT_EQ(RegSetDword(key, "Device ID", v), ERROR_SUCCESS);
    std::uint32_t type = 0, size = 0, read = 0;
    EXPECT_EQ(RegQueryValueEx(key, "Device ID", &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(size, 4u);
    std::uint8_t bytes[4];
    size = 4;
    ASSERT_EQ(RegQueryValueEx(key, "Device ID", &type, bytes, &size), ERROR_SUCCESS);
    read = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
    EXPECT_EQ(read, v);
  }
  RegCloseKey(key);
}

TEST_F(RegistryTest, NamesAreCaseInsensitiveAndKeepTheirFirstSpelling) {
  HKEY key = Create(HKEY_CURRENT_USER, "Software\\Brevix\\Tavoro\\MIDI");
  ASSERT_EQ(RegSetString(key, "Input Device", "Port A"), ERROR_SUCCESS);
  HKEY other = 0;
  ASSERT_EQ(Open(HKEY_CURRENT_USER, "SOFTWARE\\brevix\\TAVORO\\midi", &other), ERROR_SUCCESS);
  EXPECT_EQ(Query(other, "INPUT DEVICE"), std::string("Port A\0", 7));
  ASSERT_EQ(RegSetString(other, "input device", "Port B"), ERROR_SUCCESS);  // the same value
  EXPECT_EQ(Query(key, "Input Device"), std::string("Port B\0", 7));

  std::uint32_t disposition = 0;
  RegCloseKey(Create(HKEY_CURRENT_USER, "software\\BREVIX", &disposition));
  EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
  HKEY software = 0;
  ASSERT_EQ(Open(HKEY_CURRENT_USER, "Software", &software), ERROR_SUCCESS);
  std::vector<std::string> names;
  ASSERT_EQ(RegEnumKeys(software, &names), ERROR_SUCCESS);
  EXPECT_EQ(names, std::vector<std::string>{"Brevix"});
  // Non-ASCII bytes are compared exactly.
  ASSERT_EQ(RegSetString(key, "\xC3\xA9t\xC3\xA9", "lower"), ERROR_SUCCESS);
  EXPECT_EQ(Query(key, "\xC3\x89T\xC3\x89"), "error 2");
  for (HKEY k : {key, other, software}) RegCloseKey(k);
}

TEST_F(RegistryTest, ValuesAndNamesKeepEveryByte) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const std::string tricky[] = {
      all, "line 1\nline 2\r\n", "a=b=c", "V 3:abc 1 2:xy\n", "END\n", std::string("nul\0inside\0", 11),
      "TAVORO-REGISTRY 1\n", "caf\xC3\xA9 \xFF\xFE", std::string(100000, 'z')};
  HKEY key = Create(HKEY_CURRENT_USER, "Odd\nKey=\"name\"\\Sub K 3:");
  int i = 0;
  for (const std::string& value : tricky) {
    std::string name = "name " + std::to_string(i++) + "\n=" + std::string(1, '\0');
    ASSERT_EQ(RegSetValueEx(key, name, 0, 0xDEADBEEF, reinterpret_cast<const std::uint8_t*>(value.data()),
                            static_cast<std::uint32_t>(value.size())),
              ERROR_SUCCESS);
  }
  RegCloseKey(key);
  // Read back through a fresh handle, so everything came from the file.
  HKEY again = 0;
  ASSERT_EQ(Open(HKEY_CURRENT_USER, "Odd\nKey=\"name\"\\Sub K 3:", &again), ERROR_SUCCESS);
  i = 0;
  for (const std::string& value : tricky) {
    std::uint32_t type = 0;
    EXPECT_EQ(Query(again, "name " + std::to_string(i++) + "\n=" + std::string(1, '\0'), &type), value);
    EXPECT_EQ(type, 0xDEADBEEFu);
  }
  RegCloseKey(again);
}

TEST_F(RegistryTest, DeletingValuesAndTrees) {
  HKEY app = Create(HKEY_CURRENT_USER, "Software\\T\\Application");
  HKEY midi = Create(HKEY_CURRENT_USER, "Software\\T\\MIDI\\Deep\\Deeper");
  ASSERT_EQ(RegSetString(app, "A", "1"), ERROR_SUCCESS);
  ASSERT_EQ(RegSetString(app, "B", "2"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteValue(app, "a"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteValue(app, "A"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(Query(app, "A"), "error 2");
  EXPECT_EQ(Query(app, "B"), std::string("2\0", 2));

  HKEY t = 0;
  ASSERT_EQ(Open(HKEY_CURRENT_USER, "Software\\T", &t), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteTree(t, "midi"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteTree(t, "MIDI"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegDeleteTree(t, "Nope\\Deeper"), ERROR_FILE_NOT_FOUND);
  std::vector<std::string> names;
  ASSERT_EQ(RegEnumKeys(t, &names), ERROR_SUCCESS);
  EXPECT_EQ(names, std::vector<std::string>{"Application"});
  // A handle to a deleted key answers so, and nothing can be made or written under it.
  EXPECT_EQ(Query(midi, "x"), "error " + std::to_string(ERROR_KEY_DELETED));
  EXPECT_EQ(RegSetString(midi, "x", "y"), ERROR_KEY_DELETED);
  HKEY under = 0;
  EXPECT_EQ(RegCreateKeyEx(midi, "New", 0, "", 0, KEY_ALL_ACCESS, &under, nullptr), ERROR_KEY_DELETED);
  EXPECT_EQ(Open(HKEY_CURRENT_USER, "Software\\T\\MIDI", &under), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegCloseKey(midi), ERROR_SUCCESS);

  // No sub-key: the key is emptied and stays.
  EXPECT_EQ(RegDeleteTree(t, ""), ERROR_SUCCESS);
  ASSERT_EQ(RegEnumKeys(t, &names), ERROR_SUCCESS);
  EXPECT_TRUE(names.empty());
  EXPECT_EQ(Query(app, "B"), "error " + std::to_string(ERROR_KEY_DELETED));
  RegCloseKey(t);
  RegCloseKey(app);
}

TEST_F(RegistryTest, BadHandlesAndArguments) {
  HKEY key = 0;
  std::uint32_t size = 0;
  EXPECT_EQ(Open(0, "Software", &key), ERROR_INVALID_HANDLE);
  EXPECT_EQ(Open(12345, "Software", &key), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegQueryValueEx(0, "x", nullptr, nullptr, &size), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegSetString(77, "x", "y"), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(0), ERROR_INVALID_HANDLE);
  EXPECT_EQ(Open(HKEY_CURRENT_USER, "Software", nullptr), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegEnumKeys(HKEY_CURRENT_USER, nullptr), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegSetValueEx(HKEY_CURRENT_USER, "x", 0, REG_SZ, nullptr, 3), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, std::string(256, 'k'), 0, "", 0, 0, &key, nullptr),
            ERROR_INVALID_PARAMETER);

  HKEY open = Create(HKEY_CURRENT_USER, "Software");
  EXPECT_EQ(RegCloseKey(open), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(open), ERROR_INVALID_HANDLE);  // closed twice
  EXPECT_EQ(RegSetString(open, "x", "y"), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);  // roots always close

  // Doubled, leading and trailing separators name the same key.
  ASSERT_EQ(Open(HKEY_CURRENT_USER, "\\Software\\", &key), ERROR_SUCCESS);
  RegCloseKey(key);
}

TEST_F(RegistryTest, ADamagedFileIsMovedAsideReportedOnceAndReadAsEmpty) {
  HKEY key = Create(HKEY_CURRENT_USER, "Software\\T");
  ASSERT_EQ(RegSetString(key, "Kept", "no"), ERROR_SUCCESS);
  RegCloseKey(key);
  {
    std::ofstream damaged(HivePath("HKEY_CURRENT_USER"), std::ios::binary | std::ios::trunc);
    damaged << "TAVORO-REGISTRY 1\nK 999999:Software\n";
  }
  testing::internal::CaptureStderr();
  EXPECT_EQ(Open(HKEY_CURRENT_USER, "Software\\T", &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(Open(HKEY_CURRENT_USER, "Software\\T", &key), ERROR_FILE_NOT_FOUND);
  const std::string report = testing::internal::GetCapturedStderr();
  EXPECT_NE(report.find("HKEY_CURRENT_USER.hive"), std::string::npos) << report;
  EXPECT_EQ(report.find('\n'), report.size() - 1) << "one line: " << report;

  QStringList aside = QDir(dir_.path()).entryList({"HKEY_CURRENT_USER.hive.damaged-*"});
  ASSERT_EQ(aside.size(), 1);
  // The store works again from empty.
  key = Create(HKEY_CURRENT_USER, "Software\\T");
  ASSERT_EQ(RegSetString(key, "New", "yes"), ERROR_SUCCESS);
  EXPECT_EQ(Query(key, "New"), std::string("yes\0", 4));
  RegCloseKey(key);
}

TEST_F(RegistryTest, DirectoryComesFromTheEnvironment) {
  EXPECT_EQ(RegistryDirectory(), dir_.path().toStdString());
  const char* home = std::getenv("HOME");
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  const std::string savedHome = home ? home : "", savedXdg = xdg ? xdg : "";
  unsetenv("TAVORO_REGISTRY_DIR");
  setenv("XDG_CONFIG_HOME", "/cfg", 1);
  EXPECT_EQ(RegistryDirectory(), "/cfg/tavoro/registry");
  setenv("XDG_CONFIG_HOME", "relative", 1);  // not absolute: ignored
  setenv("HOME", "/home/someone", 1);
  EXPECT_EQ(RegistryDirectory(), "/home/someone/.config/tavoro/registry");
  unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(RegistryDirectory(), "/home/someone/.config/tavoro/registry");
  if (home) setenv("HOME", savedHome.c_str(), 1); else unsetenv("HOME");
  if (xdg) setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1);
}

TEST_F(RegistryTest, AnUnwritableDirectoryFailsCleanly) {
  {
    std::ofstream blocker(dir_.filePath("file").toStdString());
  }
  setenv("TAVORO_REGISTRY_DIR", dir_.filePath("file/registry").toLocal8Bit().constData(), 1);
  HKEY key = 0;
  EXPECT_EQ(Open(HKEY_CURRENT_USER, "Software", &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Software", 0, "", 0, 0, &key, nullptr), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegSetString(HKEY_CURRENT_USER, "x", "y"), ERROR_ACCESS_DENIED);
}

// Two processes changing the same hive in turns, many rounds: neither loses the other's keys.
TEST_F(RegistryTest, TwoWritingProcessesNeverWipeEachOthersKeys) {
  constexpr int kRounds = 60;
  HKEY shared = Create(HKEY_CURRENT_USER, "Software\\Shared");
  ASSERT_EQ(RegSetString(shared, "Before", "kept"), ERROR_SUCCESS);
  pid_t children[2];
  for (int w = 0; w < 2; ++w) {
    children[w] = fork();
    ASSERT_GE(children[w], 0);
    if (children[w] == 0) {
      int failures = 0;
      for (int i = 0; i < kRounds; ++i) {
        HKEY k = 0;
        std::string path = "Software\\Writer" + std::to_string(w) + "\\Key" + std::to_string(i);
        if (RegCreateKeyEx(HKEY_CURRENT_USER, path, 0, "", 0, 0, &k, nullptr) != ERROR_SUCCESS) ++failures;
        if (RegSetDword(k, "Round", static_cast<std::uint32_t>(i)) != ERROR_SUCCESS) ++failures;
        RegCloseKey(k);
        if (RegSetDword(shared, "W" + std::to_string(w) + "." + std::to_string(i), 1) != ERROR_SUCCESS) ++failures;
      }
      _exit(failures == 0 ? 0 : 1);
    }
  }
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  // This process's handle, opened before, sees what the others wrote.
  EXPECT_EQ(Query(shared, "Before"), std::string("kept\0", 5));
  for (int w = 0; w < 2; ++w) {
    for (int i = 0; i < kRounds; ++i) {
      HKEY k = 0;
      std::string path = "Software\\Writer" + std::to_string(w) + "\\Key" + std::to_string(i);
      ASSERT_EQ(Open(HKEY_CURRENT_USER, path, &k), ERROR_SUCCESS) << path;
      EXPECT_EQ(Query(k, "Round"), std::string(reinterpret_cast<const char*>(&i), 4));
      RegCloseKey(k);
      EXPECT_EQ(Query(shared, "W" + std::to_string(w) + "." + std::to_string(i)), std::string("\x01\0\0\0", 4));
    }
  }
  RegCloseKey(shared);
}

// Threads of one process share the store safely too.
TEST_F(RegistryTest, ThreadsWritingTogetherKeepAllValues) {
  HKEY key = Create(HKEY_CURRENT_USER, "Software\\Threads");
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([key, t] {
      for (int i = 0; i < 25; ++i) RegSetDword(key, "T" + std::to_string(t) + "." + std::to_string(i), 7);
    });
  for (auto& th : threads) th.join();
  for (int t = 0; t < 4; ++t)
    for (int i = 0; i < 25; ++i) EXPECT_EQ(Query(key, "T" + std::to_string(t) + "." + std::to_string(i)).size(), 4u);
  RegCloseKey(key);
}

// The file reader meets anything: cut and scrambled files must be refused or read, never crash.
TEST(HiveFormat, RoundTripsAndSurvivesDamage) {
  using namespace plat::reg::detail;
  Key root;
  root.values.push_back({"", REG_SZ, std::string("root\0", 5)});
  bool created = false;
  Key& a = root.Make({"Software", "Brevix", "Tavoro"}, &created);
  a.values.push_back({"Home Directory", REG_SZ, "x\ny=z"});
  a.values.push_back({"Device ID", REG_DWORD, std::string("\x7F\0\0\0", 4)});
  root.Make({"Software", "Empty"}, &created);
  const std::string text = Serialize(root);
  auto back = Parse(text);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(Serialize(*back), text);

  EXPECT_FALSE(Parse("").has_value());
  EXPECT_FALSE(Parse(text.substr(0, text.size() - 1)).has_value());  // cut short
  EXPECT_FALSE(Parse(text + "x").has_value());                       // trailing bytes
  EXPECT_FALSE(Parse("TAVORO-REGISTRY 1\nV 1:a 1 1:b\nEND\n").has_value());  // value without a key
  EXPECT_FALSE(Parse("TAVORO-REGISTRY 1\nK 1:a\nK 1:A\nEND\n").has_value());  // key twice
  EXPECT_FALSE(Parse("TAVORO-REGISTRY 1\nK 99999999999:a\nEND\n").has_value());
  EXPECT_FALSE(Parse("TAVORO-REGISTRY 1\nK 1:a\nV 1:a 4294967296 0:\nEND\n").has_value());

  std::mt19937 rng(12345);
  for (int round = 0; round < 3000; ++round) {
    std::string mutated = text;
    int edits = 1 + static_cast<int>(rng() % 4);
    for (int e = 0; e < edits; ++e) {
      std::size_t pos = rng() % mutated.size();
      switch (rng() % 3) {
        case 0: mutated[pos] = static_cast<char>(rng()); break;
        case 1: mutated.erase(pos, 1 + rng() % 8); break;
        default: mutated.insert(pos, 1, "0123456789:\n\\ KV"[rng() % 16]); break;
      }
      if (mutated.empty()) mutated = "T";
    }
    auto parsed = Parse(mutated);
    if (parsed) {
      EXPECT_TRUE(Parse(Serialize(*parsed)).has_value());
    }
  }
}

}  // namespace

#pragma once
// One hive of the settings store: the key tree in memory, its file form, and the file's
// locked read-modify-write. Internal to the registry; registry.h is the interface.
//
// File form (all lengths are byte counts in decimal, so names and values may hold any byte):
//   TAVORO-REGISTRY 1\n
//   K <len>:<key path, parts separated by "\">\n          one per key, parents before children
//   V <len>:<value name> <type> <len>:<data bytes>\n    values of the key named last
//   END\n

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plat::reg::detail {

inline constexpr std::size_t kMaxKeyNameLength = 255;   // one part of a key path
inline constexpr std::size_t kMaxKeyDepth = 512;        // parts in a key path
inline constexpr std::size_t kMaxValueNameLength = 16383;

// Case-insensitive for ASCII letters; other bytes compare as they are.
bool SameName(std::string_view a, std::string_view b);

struct Value {
  std::string name;
  std::uint32_t type = 0;
  std::string data;  // raw bytes
};

struct Key {
  std::string name;
  std::vector<Value> values;  // stored order
  std::vector<Key> subkeys;   // stored order

  Key* FindSubkey(std::string_view n);
  const Key* FindSubkey(std::string_view n) const;
  Value* FindValue(std::string_view n);
  const Value* FindValue(std::string_view n) const;
  // The key at `path` below this one, or null.
  Key* Find(const std::vector<std::string>& path);
  const Key* Find(const std::vector<std::string>& path) const;
  // The key at `path`, made with any missing parents; `created` tells whether the last was new.
  Key& Make(const std::vector<std::string>& path, bool* created);
};

// Splits "A\B\C" into its parts, skipping empty ones; nullopt when a part or the depth is too long.
std::optional<std::vector<std::string>> SplitPath(std::string_view path);

std::string Serialize(const Key& root);
// nullopt when the text is not a whole, well-formed hive.
std::optional<Key> Parse(std::string_view text);

// The file of one hive and its lock file.
class HiveFile {
 public:
  explicit HiveFile(std::string path) : path_(std::move(path)) {}
  const std::string& path() const { return path_; }

  // The hive as the file holds it now. A missing file is an empty hive; a damaged one is moved
  // aside (under the lock), reported once on stderr and read as empty.
  Key Read() const;
  // Locks the hive, reads it, lets `change` edit it and, when `change` returns true, replaces the
  // file atomically. Returns false when the file could not be locked or written.
  bool Modify(const std::function<bool(Key&)>& change) const;

 private:
  std::optional<Key> Load(bool* damaged) const;
  Key LoadRepairing() const;  // with the lock held
  std::string path_;
};

}  // namespace plat::reg::detail

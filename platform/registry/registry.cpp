// The registry calls over the hive files. Each call reads the hive file afresh (so changes made
// by another process are seen) and each change is one locked read-modify-write of it.
#include "platform/registry/registry.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>

#include "platform/registry/hive.h"

namespace plat::reg {
namespace {

using detail::HiveFile;
using detail::Key;
using detail::Value;

// What a handle stands for: a root and the path below it, as it was opened.
struct KeyRef {
  HKEY root = 0;
  std::vector<std::string> path;
};

struct State {
  std::recursive_mutex mutex;  // one call at a time within the process; the file lock covers others
  std::map<HKEY, KeyRef> open;
  HKEY lastHandle = 0;
};

State& Registry() {
  static State state;
  return state;
}

bool IsRoot(HKEY key) {
  return key == HKEY_CLASSES_ROOT || key == HKEY_CURRENT_USER || key == HKEY_LOCAL_MACHINE;
}

const char* HiveName(HKEY root) {
  switch (root) {
    case HKEY_CLASSES_ROOT: return "HKEY_CLASSES_ROOT";
    case HKEY_CURRENT_USER: return "HKEY_CURRENT_USER";
    default: return "HKEY_LOCAL_MACHINE";
  }
}

HiveFile FileOf(HKEY root) { return HiveFile(RegistryDirectory() + "/" + HiveName(root) + ".hive"); }

// The key a handle names, or nullopt for a handle that is not open.
std::optional<KeyRef> Resolve(HKEY key) {
  if (IsRoot(key)) return KeyRef{key, {}};
  State& s = Registry();
  auto it = s.open.find(key);
  if (it == s.open.end()) return std::nullopt;
  return it->second;
}

HKEY NewHandle(KeyRef ref) {
  State& s = Registry();
  do {
    s.lastHandle += 4;
    if (s.lastHandle >= HKEY_CLASSES_ROOT) s.lastHandle = 4;
  } while (s.open.count(s.lastHandle) != 0);
  s.open.emplace(s.lastHandle, std::move(ref));
  return s.lastHandle;
}

// Parent handle plus sub-key text into one reference; an error code when either is unusable.
long Below(HKEY parent, std::string_view subKey, KeyRef* out) {
  std::optional<KeyRef> ref = Resolve(parent);
  if (!ref) return ERROR_INVALID_HANDLE;
  auto parts = detail::SplitPath(subKey);
  if (!parts || ref->path.size() + parts->size() > detail::kMaxKeyDepth) return ERROR_INVALID_PARAMETER;
  ref->path.insert(ref->path.end(), parts->begin(), parts->end());
  *out = std::move(*ref);
  return ERROR_SUCCESS;
}

// Runs `edit` on the key a handle names inside one locked read-modify-write; `edit` returns the
// call's result and the hive is written back only when that is ERROR_SUCCESS and it changed.
long ChangeKey(HKEY key, const std::function<long(Key&, bool* changed)>& edit) {
  std::optional<KeyRef> ref = Resolve(key);
  if (!ref) return ERROR_INVALID_HANDLE;
  long result = ERROR_SUCCESS;
  bool written = FileOf(ref->root).Modify([&](Key& root) {
    Key* target = root.Find(ref->path);
    if (target == nullptr) {
      result = ERROR_KEY_DELETED;
      return false;
    }
    bool changed = false;
    result = edit(*target, &changed);
    return result == ERROR_SUCCESS && changed;
  });
  return written ? result : ERROR_ACCESS_DENIED;
}

std::string HomeDirectory() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home != '\0') return home;
  if (const passwd* pw = ::getpwuid(::getuid()); pw != nullptr && pw->pw_dir != nullptr) return pw->pw_dir;
  return ".";
}

}  // namespace

std::string RegistryDirectory() {
  if (const char* dir = std::getenv("TAVORO_REGISTRY_DIR"); dir != nullptr && *dir != '\0') return dir;
  // A relative XDG_CONFIG_HOME is invalid and ignored, as the base-directory rules say.
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && config[0] == '/')
    return std::string(config) + "/tavoro/registry";
  return HomeDirectory() + "/.config/tavoro/registry";
}

long RegOpenKeyEx(HKEY parent, std::string_view subKey, std::uint32_t, std::uint32_t, HKEY* result) {
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  std::lock_guard lock(Registry().mutex);
  KeyRef ref;
  if (long rc = Below(parent, subKey, &ref); rc != ERROR_SUCCESS) return rc;
  Key root = FileOf(ref.root).Read();
  if (root.Find(ref.path) == nullptr) return ERROR_FILE_NOT_FOUND;
  *result = NewHandle(std::move(ref));
  return ERROR_SUCCESS;
}

long RegCreateKeyEx(HKEY parent, std::string_view subKey, std::uint32_t, std::string_view, std::uint32_t,
                    std::uint32_t, HKEY* result, std::uint32_t* disposition) {
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  std::lock_guard lock(Registry().mutex);
  KeyRef ref;
  if (long rc = Below(parent, subKey, &ref); rc != ERROR_SUCCESS) return rc;
  bool created = false;
  bool parentGone = false;
  std::optional<KeyRef> parentRef = Resolve(parent);
  bool written = FileOf(ref.root).Modify([&](Key& root) {
    // Under a key that has been deleted nothing can be made.
    if (root.Find(parentRef->path) == nullptr) {
      parentGone = true;
      return false;
    }
    root.Make(ref.path, &created);
    return created;
  });
  if (!written) return ERROR_ACCESS_DENIED;
  if (parentGone) return ERROR_KEY_DELETED;
  if (disposition != nullptr) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  *result = NewHandle(std::move(ref));
  return ERROR_SUCCESS;
}

long RegQueryValueEx(HKEY key, std::string_view valueName, std::uint32_t* type, std::uint8_t* data,
                     std::uint32_t* size) {
  if (data != nullptr && size == nullptr) return ERROR_INVALID_PARAMETER;
  std::lock_guard lock(Registry().mutex);
  std::optional<KeyRef> ref = Resolve(key);
  if (!ref) return ERROR_INVALID_HANDLE;
  Key root = FileOf(ref->root).Read();
  const Key* target = root.Find(ref->path);
  if (target == nullptr) return ERROR_KEY_DELETED;
  const Value* value = target->FindValue(valueName);
  if (value == nullptr) return ERROR_FILE_NOT_FOUND;
  if (type != nullptr) *type = value->type;
  const auto needed = static_cast<std::uint32_t>(value->data.size());
  if (data == nullptr) {
    if (size != nullptr) *size = needed;
    return ERROR_SUCCESS;
  }
  if (*size < needed) {
    *size = needed;
    return ERROR_MORE_DATA;
  }
  if (needed != 0) std::memcpy(data, value->data.data(), needed);
  *size = needed;
  return ERROR_SUCCESS;
}

long RegSetValueEx(HKEY key, std::string_view valueName, std::uint32_t, std::uint32_t type, const std::uint8_t* data,
                   std::uint32_t size) {
  if (data == nullptr && size != 0) return ERROR_INVALID_PARAMETER;
  if (valueName.size() > detail::kMaxValueNameLength) return ERROR_INVALID_PARAMETER;
  std::string bytes = size == 0 ? std::string() : std::string(reinterpret_cast<const char*>(data), size);
  std::lock_guard lock(Registry().mutex);
  return ChangeKey(key, [&](Key& target, bool* changed) {
    Value* value = target.FindValue(valueName);
    if (value == nullptr) {
      target.values.push_back(Value{std::string(valueName), type, std::move(bytes)});
      *changed = true;
    } else if (value->type != type || value->data != bytes) {
      value->type = type;
      value->data = std::move(bytes);
      *changed = true;
    }
    return ERROR_SUCCESS;
  });
}

long RegDeleteValue(HKEY key, std::string_view valueName) {
  std::lock_guard lock(Registry().mutex);
  return ChangeKey(key, [&](Key& target, bool* changed) {
    for (auto it = target.values.begin(); it != target.values.end(); ++it) {
      if (detail::SameName(it->name, valueName)) {
        target.values.erase(it);
        *changed = true;
        return ERROR_SUCCESS;
      }
    }
    return ERROR_FILE_NOT_FOUND;
  });
}

long RegDeleteTree(HKEY key, std::string_view subKey) {
  auto parts = detail::SplitPath(subKey);
  if (!parts) return ERROR_INVALID_PARAMETER;
  std::lock_guard lock(Registry().mutex);
  return ChangeKey(key, [&](Key& target, bool* changed) {
    if (parts->empty()) {  // no sub-key: empty the key itself, keeping it
      *changed = !target.values.empty() || !target.subkeys.empty();
      target.values.clear();
      target.subkeys.clear();
      return ERROR_SUCCESS;
    }
    std::vector<std::string> parentPath(parts->begin(), parts->end() - 1);
    Key* parent = target.Find(parentPath);
    if (parent == nullptr) return ERROR_FILE_NOT_FOUND;
    for (auto it = parent->subkeys.begin(); it != parent->subkeys.end(); ++it) {
      if (detail::SameName(it->name, parts->back())) {
        parent->subkeys.erase(it);
        *changed = true;
        return ERROR_SUCCESS;
      }
    }
    return ERROR_FILE_NOT_FOUND;
  });
}

long RegCloseKey(HKEY key) {
  if (IsRoot(key)) return ERROR_SUCCESS;
  std::lock_guard lock(Registry().mutex);
  return Registry().open.erase(key) == 1 ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

long RegEnumKeys(HKEY key, std::vector<std::string>* names) {
  if (names == nullptr) return ERROR_INVALID_PARAMETER;
  std::lock_guard lock(Registry().mutex);
  std::optional<KeyRef> ref = Resolve(key);
  if (!ref) return ERROR_INVALID_HANDLE;
  Key root = FileOf(ref->root).Read();
  const Key* target = root.Find(ref->path);
  if (target == nullptr) return ERROR_KEY_DELETED;
  names->clear();
  for (const Key& sub : target->subkeys) names->push_back(sub.name);
  return ERROR_SUCCESS;
}

long RegSetString(HKEY key, std::string_view valueName, std::string_view text) {
  std::string bytes(text);
  bytes.push_back('\0');
  if (bytes.size() > 0xFFFFFFFFu) return ERROR_INVALID_PARAMETER;
  return RegSetValueEx(key, valueName, 0, REG_SZ, reinterpret_cast<const std::uint8_t*>(bytes.data()),
                       static_cast<std::uint32_t>(bytes.size()));
}

long RegSetDword(HKEY key, std::string_view valueName, std::uint32_t value) {
  // Little-endian, as REG_DWORD is stored.
  const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                                 static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
  return RegSetValueEx(key, valueName, 0, REG_DWORD, bytes, 4);
}

}  // namespace plat::reg

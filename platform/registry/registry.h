#pragma once
// The settings store: a hierarchical key/value registry with the semantics the program and the
// lamp library were written against, kept in one file per hive under
// $TAVORO_REGISTRY_DIR, else $XDG_CONFIG_HOME/tavoro/registry (default ~/.config/tavoro/registry).
//
// Key and value names are case-insensitive; a key path uses "\" between its parts. Every change is
// a locked read-modify-write of the hive file with an atomic replace, so two processes never wipe
// each other's keys. A damaged file is moved aside, reported once on stderr and read as empty.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace plat::reg {

// An open key: a root, or a handle returned by OpenKey/CreateKey. 0 is never a valid handle.
using HKEY = std::uintptr_t;
inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;

// Result codes (the numbers callers compare with).
inline constexpr long ERROR_SUCCESS = 0;
inline constexpr long ERROR_FILE_NOT_FOUND = 2;   // key or value missing
inline constexpr long ERROR_ACCESS_DENIED = 5;    // hive file cannot be written
inline constexpr long ERROR_INVALID_HANDLE = 6;
inline constexpr long ERROR_INVALID_PARAMETER = 87;
inline constexpr long ERROR_MORE_DATA = 234;      // buffer too small; size says how much is needed
inline constexpr long ERROR_KEY_DELETED = 1018;   // the open key has been deleted meanwhile

// Value types.
inline constexpr std::uint32_t REG_NONE = 0;
inline constexpr std::uint32_t REG_SZ = 1;
inline constexpr std::uint32_t REG_DWORD = 4;

inline constexpr std::uint32_t KEY_ALL_ACCESS = 0x3F;
inline constexpr std::uint32_t REG_OPTION_NON_VOLATILE = 0;
inline constexpr std::uint32_t REG_CREATED_NEW_KEY = 1;
inline constexpr std::uint32_t REG_OPENED_EXISTING_KEY = 2;

// Handles name a key by its path: a key deleted while open answers ERROR_KEY_DELETED. Empty parts
// of a path ("A\\B", a leading or trailing "\") are skipped; a part longer than 255 bytes or a path
// deeper than 512 parts is ERROR_INVALID_PARAMETER. Calls are safe from any thread.

// Opens an existing key below `parent`; ERROR_FILE_NOT_FOUND when it does not exist.
long RegOpenKeyEx(HKEY parent, std::string_view subKey, std::uint32_t options, std::uint32_t access, HKEY* result);
// Opens the key, creating it and any missing parents. `disposition` (may be null) tells which.
long RegCreateKeyEx(HKEY parent, std::string_view subKey, std::uint32_t reserved, std::string_view keyClass,
                    std::uint32_t options, std::uint32_t access, HKEY* result, std::uint32_t* disposition);
// Reads a value. With data == nullptr only *type and *size are filled. REG_SZ data carries its
// terminating zero byte, counted in *size. A buffer smaller than the value gives ERROR_MORE_DATA
// with *size set to the size needed. The empty name is the key's default value.
long RegQueryValueEx(HKEY key, std::string_view valueName, std::uint32_t* type, std::uint8_t* data,
                     std::uint32_t* size);
// Writes a value of any type from raw bytes (REG_SZ: the text plus its zero byte).
long RegSetValueEx(HKEY key, std::string_view valueName, std::uint32_t reserved, std::uint32_t type,
                   const std::uint8_t* data, std::uint32_t size);
long RegDeleteValue(HKEY key, std::string_view valueName);
// Deletes `subKey` below `key` with everything under it; ERROR_FILE_NOT_FOUND when missing.
// An empty `subKey` empties `key` itself (values and subkeys) and keeps it.
long RegDeleteTree(HKEY key, std::string_view subKey);
long RegCloseKey(HKEY key);
// Names of the direct subkeys, in stored order (for tests and for unregistration).
long RegEnumKeys(HKEY key, std::vector<std::string>* names);

// Convenience for our own code and tests (not part of the classic surface).
long RegSetString(HKEY key, std::string_view valueName, std::string_view text);
long RegSetDword(HKEY key, std::string_view valueName, std::uint32_t value);

// The directory holding the hive files, as resolved from the environment now.
std::string RegistryDirectory();

}  // namespace plat::reg

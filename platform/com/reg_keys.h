#pragma once
// Registry writing for server registration: keys below HKEY_CLASSES_ROOT with text values.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry/registry.h"

namespace plat::com {

// Creates `path` (and its parents) below HKEY_CLASSES_ROOT and sets the text value `name`
// ("" is the key's default value). False when the registry cannot be written.
bool SetClassesString(std::string_view path, std::string_view name, std::string_view text);
// Creates the key without values.
bool CreateClassesKey(std::string_view path);
// Removes the key and everything below it. A key that is not there counts as removed.
bool DeleteClassesTree(std::string_view path);
// The text value, or nullopt when the key or value is missing or not text.
std::optional<std::string> GetClassesString(std::string_view path, std::string_view name);
// Names of the direct subkeys (empty when the key is missing).
std::vector<std::string> ClassesSubkeys(std::string_view path);
bool ClassesKeyExists(std::string_view path);

}  // namespace plat::com

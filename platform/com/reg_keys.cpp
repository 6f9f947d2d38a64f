#include "platform/com/reg_keys.h"

namespace plat::com {

namespace reg = plat::reg;

bool SetClassesString(std::string_view path, std::string_view name, std::string_view text) {
  reg::HKEY key = 0;
  if (reg::RegCreateKeyEx(reg::HKEY_CLASSES_ROOT, path, 0, "", reg::REG_OPTION_NON_VOLATILE, reg::KEY_ALL_ACCESS, &key,
                          nullptr) != reg::ERROR_SUCCESS)
    return false;
  const bool ok = reg::RegSetString(key, name, text) == reg::ERROR_SUCCESS;
  reg::RegCloseKey(key);
  return ok;
}

bool CreateClassesKey(std::string_view path) {
  reg::HKEY key = 0;
  if (reg::RegCreateKeyEx(reg::HKEY_CLASSES_ROOT, path, 0, "", reg::REG_OPTION_NON_VOLATILE, reg::KEY_ALL_ACCESS, &key,
                          nullptr) != reg::ERROR_SUCCESS)
    return false;
  reg::RegCloseKey(key);
  return true;
}

bool DeleteClassesTree(std::string_view path) {
  const long rc = reg::RegDeleteTree(reg::HKEY_CLASSES_ROOT, path);
  return rc == reg::ERROR_SUCCESS || rc == reg::ERROR_FILE_NOT_FOUND;
}

std::optional<std::string> GetClassesString(std::string_view path, std::string_view name) {
  reg::HKEY key = 0;
  if (reg::RegOpenKeyEx(reg::HKEY_CLASSES_ROOT, path, 0, reg::KEY_ALL_ACCESS, &key) != reg::ERROR_SUCCESS)
    return std::nullopt;
  std::optional<std::string> result;
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  if (reg::RegQueryValueEx(key, name, &type, nullptr, &size) == reg::ERROR_SUCCESS && type == reg::REG_SZ) {
    std::vector<std::uint8_t> data(size);
    if (reg::RegQueryValueEx(key, name, &type, data.data(), &size) == reg::ERROR_SUCCESS) {
      std::string text(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(size, data.size())));
      if (const auto zero = text.find('\0'); zero != std::string::npos) text.resize(zero);
      result = std::move(text);
    }
  }
  reg::RegCloseKey(key);
  return result;
}

std::vector<std::string> ClassesSubkeys(std::string_view path) {
  std::vector<std::string> names;
  reg::HKEY key = 0;
  if (path.empty()) {
    reg::RegEnumKeys(reg::HKEY_CLASSES_ROOT, &names);
    return names;
  }
  if (reg::RegOpenKeyEx(reg::HKEY_CLASSES_ROOT, path, 0, reg::KEY_ALL_ACCESS, &key) != reg::ERROR_SUCCESS) return names;
  reg::RegEnumKeys(key, &names);
  reg::RegCloseKey(key);
  return names;
}

bool ClassesKeyExists(std::string_view path) {
  reg::HKEY key = 0;
  if (reg::RegOpenKeyEx(reg::HKEY_CLASSES_ROOT, path, 0, reg::KEY_ALL_ACCESS, &key) != reg::ERROR_SUCCESS) return false;
  reg::RegCloseKey(key);
  return true;
}

}  // namespace plat::com

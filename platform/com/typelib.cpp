#include "platform/com/typelib.h"

#include "platform/com/reg_keys.h"

namespace plat::com {

namespace {

// The dispatch-interface proxy that automation interfaces name.
constexpr const char* kPSDispatch = "{00020420-0000-0000-C000-000000000046}";

std::string VersionText(std::uint16_t major, std::uint16_t minor) {
  return std::to_string(major) + "." + std::to_string(minor);
}

std::string DirectoryOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

}  // namespace

HRESULT RegisterTypeLib(const TypeLibAttr& lib, const std::string& path, const std::string& helpDir) {
  const std::string libKey = "TypeLib\\" + FormatGuid(lib.libid);
  const std::string version = VersionText(lib.major, lib.minor);
  const std::string verKey = libKey + "\\" + version;
  bool ok = SetClassesString(verKey, "", lib.helpString) && SetClassesString(verKey + "\\0\\linux", "", path) &&
            SetClassesString(verKey + "\\FLAGS", "", "0") &&
            SetClassesString(verKey + "\\HELPDIR", "", helpDir.empty() ? DirectoryOf(path) : helpDir);
  for (const auto& itf : lib.interfaces) {
    if (!ok) break;
    const std::string itfKey = "Interface\\" + FormatGuid(itf.iid);
    ok = SetClassesString(itfKey, "", itf.name) && SetClassesString(itfKey + "\\ProxyStubClsid32", "", kPSDispatch) &&
         SetClassesString(itfKey + "\\TypeLib", "", FormatGuid(lib.libid)) &&
         SetClassesString(itfKey + "\\TypeLib", "Version", version);
  }
  return ok ? S_OK : TYPE_E_REGISTRYACCESS;
}

HRESULT UnRegisterTypeLib(const GUID& libid, std::uint16_t major, std::uint16_t minor) {
  const std::string libText = FormatGuid(libid);
  const std::string libKey = "TypeLib\\" + libText;
  const std::string version = VersionText(major, minor);
  const std::string verKey = libKey + "\\" + version;
  const bool registered = ClassesKeyExists(verKey);

  // Interface keys that belong to this library version, whether or not the version key is left.
  bool ok = true;
  bool anyInterface = false;
  for (const std::string& name : ClassesSubkeys("Interface")) {
    const std::string itfKey = "Interface\\" + name;
    const auto owner = GetClassesString(itfKey + "\\TypeLib", "");
    const auto ownerVersion = GetClassesString(itfKey + "\\TypeLib", "Version");
    if (!owner || !ParseGuid(*owner) || *ParseGuid(*owner) != libid) continue;
    if (ownerVersion && *ownerVersion != version) continue;
    anyInterface = true;
    ok = DeleteClassesTree(itfKey) && ok;
  }
  if (!registered && !anyInterface) return TYPE_E_LIBNOTREGISTERED;
  if (registered) ok = DeleteClassesTree(verKey) && ok;
  if (ok && ClassesKeyExists(libKey) && ClassesSubkeys(libKey).empty()) ok = DeleteClassesTree(libKey);
  return ok ? S_OK : TYPE_E_REGISTRYACCESS;
}

}  // namespace plat::com

#pragma once
// Type libraries as far as registration goes: a server describes its library (id, version, help
// string and file, dispatch interfaces) and registering writes the usual keys:
//   HKCR\TypeLib\{lib}\<major>.<minor>            = help string
//   HKCR\TypeLib\{lib}\<major>.<minor>\0\linux    = the server library's path
//   HKCR\TypeLib\{lib}\<major>.<minor>\FLAGS      = "0"
//   HKCR\TypeLib\{lib}\<major>.<minor>\HELPDIR    = the help directory
//   HKCR\Interface\{iid}                          = interface name, with ProxyStubClsid32 and
//                                                   TypeLib (= {lib}, value Version "<major>.<minor>")

#include <cstdint>
#include <string>
#include <vector>

#include "platform/com/guid.h"
#include "platform/com/hresult.h"

namespace plat::com {

inline constexpr HRESULT TYPE_E_LIBNOTREGISTERED = MakeHr(0x8002801D);

struct TypeLibInterface {
  IID iid;
  std::string name;
};

struct TypeLibAttr {
  GUID libid;
  std::uint16_t major = 0;
  std::uint16_t minor = 0;
  std::string name;        // the library's name, e.g. "LedLib"
  std::string helpString;  // shown by tools as the library's description
  std::string helpFile;
  std::vector<TypeLibInterface> interfaces;
};

// `helpDir` empty: the directory of `path`. TYPE_E_REGISTRYACCESS when a key cannot be written.
HRESULT RegisterTypeLib(const TypeLibAttr& lib, const std::string& path, const std::string& helpDir);
// Removes the version's keys and the interface keys that point at it (and the library's key
// when no other version is left). TYPE_E_LIBNOTREGISTERED when the version is not registered;
// TYPE_E_REGISTRYACCESS when a key cannot be removed.
HRESULT UnRegisterTypeLib(const GUID& libid, std::uint16_t major, std::uint16_t minor);

}  // namespace plat::com

#include "platform/com/server.h"

#include <dlfcn.h>

#include <vector>

#include "platform/registry/registry.h"

namespace plat::com {

std::string InprocServerPath(const CLSID& clsid) {
  namespace reg = plat::reg;
  reg::HKEY key = 0;
  const std::string path = "CLSID\\" + FormatGuid(clsid) + "\\InprocServer32";
  if (reg::RegOpenKeyEx(reg::HKEY_CLASSES_ROOT, path, 0, reg::KEY_ALL_ACCESS, &key) != reg::ERROR_SUCCESS) return {};
  std::string result;
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  if (reg::RegQueryValueEx(key, "", &type, nullptr, &size) == reg::ERROR_SUCCESS && type == reg::REG_SZ && size > 0) {
    std::vector<std::uint8_t> data(size);
    if (reg::RegQueryValueEx(key, "", &type, data.data(), &size) == reg::ERROR_SUCCESS && type == reg::REG_SZ) {
      const std::size_t n = std::min<std::size_t>(size, data.size());
      result.assign(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(n));
      if (const auto zero = result.find('\0'); zero != std::string::npos) result.resize(zero);
    }
  }
  reg::RegCloseKey(key);
  return result;
}

HRESULT CoGetClassObject(const CLSID& clsid, const IID& iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  const std::string path = InprocServerPath(clsid);
  if (path.empty()) return REGDB_E_CLASSNOTREG;
  // The handle is never closed: objects and code of a server may outlive any one call.
  void* lib = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!lib) return CO_E_DLLNOTFOUND;
  void* sym = dlsym(lib, "DllGetClassObject");
  if (!sym) return CO_E_ERRORINDLL;
  const auto get = reinterpret_cast<DllGetClassObjectFn>(sym);
  return get(&clsid, &iid, out);
}

HRESULT CoCreateInstance(const CLSID& clsid, IUnknown* outer, const IID& iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  ComPtr<IClassFactory> factory;
  const HRESULT hr = CoGetClassObject(clsid, IID_IClassFactory, factory.out());
  if (Failed(hr)) return hr;
  return factory->CreateInstance(outer, iid, out);
}

}  // namespace plat::com

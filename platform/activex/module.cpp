#include "platform/activex/module.h"

#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>

#include "platform/com/reg_keys.h"

namespace plat::ax {

using namespace plat::com;

COleControlModule::COleControlModule(const void* anchor) : anchor_(anchor) {}

std::string COleControlModule::Path() const {
  Dl_info info{};
  if (!dladdr(anchor_, &info) || !info.dli_fname) return {};
  char resolved[PATH_MAX];
  if (realpath(info.dli_fname, resolved)) return resolved;
  return info.dli_fname;
}

std::string COleControlModule::LoadString(int id) const {
  const auto it = strings_.find(id);
  return it == strings_.end() ? std::string() : it->second;
}

HRESULT COleControlModule::GetClassObject(const CLSID& clsid, const IID& iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  for (COleObjectFactory* f : factories_)
    if (f->ClassId() == clsid) return f->QueryInterface(iid, out);
  return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT COleControlModule::CanUnloadNow() const { return objects_ == 0 && locks_ == 0 ? S_OK : S_FALSE; }

bool COleControlModule::UpdateRegistryAll(bool registering) {
  for (COleObjectFactory* f : factories_)
    if (!f->UpdateRegistry(registering)) return false;  // the first failure ends the walk
  return true;
}

COleObjectFactory::COleObjectFactory(COleControlModule& module, const CLSID& clsid, std::string progId,
                                     CreateFn create)
    : module_(module), clsid_(clsid), progId_(std::move(progId)), create_(std::move(create)) {
  module_.AddFactory(this);
}

HRESULT COleObjectFactory::QueryInterface(const IID& iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IClassFactory) {
    *out = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

// Factories are static objects of the library: the count is kept but never deletes them.
std::uint32_t COleObjectFactory::AddRef() { return ++refs_; }
std::uint32_t COleObjectFactory::Release() { return refs_ ? --refs_ : 0; }

HRESULT COleObjectFactory::CreateInstance(IUnknown* outer, const IID& iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  IUnknown* object = create_(module_);
  if (!object) return E_OUTOFMEMORY;
  const HRESULT hr = object->QueryInterface(iid, out);
  object->Release();  // the caller's reference (if any) keeps it
  return hr;
}

HRESULT COleObjectFactory::LockServer(bool lock) {
  module_.Lock(lock);
  return S_OK;
}

bool RegisterControlClass(const ControlClassRegistration& reg) {
  const std::string clsid = FormatGuid(reg.clsid);
  const std::string key = "CLSID\\" + clsid;
  const std::string version = std::to_string(reg.verMajor) + "." + std::to_string(reg.verMinor);
  bool ok = SetClassesString(key, "", reg.typeName) && SetClassesString(key + "\\InprocServer32", "", reg.path) &&
            SetClassesString(key + "\\InprocServer32", "ThreadingModel", "Apartment") &&
            SetClassesString(key + "\\ProgID", "", reg.progId) && CreateClassesKey(key + "\\Control") &&
            SetClassesString(key + "\\ToolboxBitmap32", "", reg.path + ", " + std::to_string(reg.bitmapId)) &&
            SetClassesString(key + "\\MiscStatus", "", "0") &&
            SetClassesString(key + "\\MiscStatus\\1", "", std::to_string(reg.miscStatus)) &&
            SetClassesString(key + "\\TypeLib", "", FormatGuid(reg.libid)) &&
            SetClassesString(key + "\\Version", "", version);
  if (ok && reg.insertable) ok = CreateClassesKey(key + "\\Insertable");
  if (ok && !reg.progId.empty()) {
    ok = SetClassesString(reg.progId, "", reg.typeName) && SetClassesString(reg.progId + "\\CLSID", "", clsid);
    if (ok && reg.insertable) ok = CreateClassesKey(reg.progId + "\\Insertable");
  }
  return ok;
}

bool RegisterPropertyPageClass(const std::string& path, const CLSID& clsid, const std::string& typeName) {
  const std::string key = "CLSID\\" + FormatGuid(clsid);
  return SetClassesString(key, "", typeName) && SetClassesString(key + "\\InprocServer32", "", path);
}

bool UnregisterClass(const CLSID& clsid, const std::string& progId) {
  bool ok = DeleteClassesTree("CLSID\\" + FormatGuid(clsid));
  if (!progId.empty()) ok = DeleteClassesTree(progId) && ok;
  return ok;
}

}  // namespace plat::ax

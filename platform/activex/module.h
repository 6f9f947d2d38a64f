#pragma once
// The framework side of an in-process control server: its module object (one per loaded
// library: the object and lock counts behind DllCanUnloadNow, the list of class factories, the
// library's own path and resources), the object factories that create its classes, and the
// registration of control classes, property page classes and type libraries.

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/com/typelib.h"
#include "platform/com/unknown.h"

namespace plat::ax {

class COleObjectFactory;

class COleControlModule {
 public:
  // `anchor` is any address inside the server library (it finds the library's path).
  explicit COleControlModule(const void* anchor);
  virtual ~COleControlModule() = default;
  COleControlModule(const COleControlModule&) = delete;
  COleControlModule& operator=(const COleControlModule&) = delete;

  // The library's absolute path, as registration writes it.
  std::string Path() const;

  // Resources: the string table and the type library of the library.
  void SetString(int id, std::string text) { strings_[id] = std::move(text); }
  std::string LoadString(int id) const;
  void SetTypeLib(com::TypeLibAttr lib) { typeLib_ = std::move(lib); }
  const com::TypeLibAttr& TypeLib() const { return typeLib_; }

  void AddFactory(COleObjectFactory* factory) { factories_.push_back(factory); }
  const std::vector<COleObjectFactory*>& Factories() const { return factories_; }

  // Live objects and server locks.
  void ObjectCreated() { ++objects_; }
  void ObjectDestroyed() { --objects_; }
  void Lock(bool lock) { lock ? ++locks_ : --locks_; }
  long Objects() const { return objects_; }
  long Locks() const { return locks_; }

  // The answers of the four entry points.
  com::HRESULT GetClassObject(const com::CLSID& clsid, const com::IID& iid, void** out);
  com::HRESULT CanUnloadNow() const;  // S_OK when no object and no lock is alive, else S_FALSE
  // Lets every factory register (or unregister), in order; false at the first that fails, and
  // the factories after it are not asked.
  bool UpdateRegistryAll(bool registering);

 private:
  const void* anchor_;
  std::map<int, std::string> strings_;
  com::TypeLibAttr typeLib_;
  std::vector<COleObjectFactory*> factories_;
  std::atomic<long> objects_{0};
  std::atomic<long> locks_{0};
};

// A class factory: a static object of the library that creates one class.
class COleObjectFactory : public com::IClassFactory {
 public:
  // `create` makes a new object and returns it with one reference.
  using CreateFn = std::function<com::IUnknown*(COleControlModule&)>;
  COleObjectFactory(COleControlModule& module, const com::CLSID& clsid, std::string progId, CreateFn create);

  com::HRESULT QueryInterface(const com::IID& iid, void** out) override;
  std::uint32_t AddRef() override;
  std::uint32_t Release() override;
  com::HRESULT CreateInstance(com::IUnknown* outer, const com::IID& iid, void** out) override;
  com::HRESULT LockServer(bool lock) override;

  virtual bool UpdateRegistry(bool registering) = 0;

  const com::CLSID& ClassId() const { return clsid_; }
  const std::string& ProgId() const { return progId_; }
  COleControlModule& Module() const { return module_; }

  ~COleObjectFactory() override = default;

 private:
  COleControlModule& module_;
  com::CLSID clsid_;
  std::string progId_;
  CreateFn create_;
  std::atomic<std::uint32_t> refs_{0};
};

// What a control class registers.
struct ControlClassRegistration {
  std::string path;  // the server library
  com::CLSID clsid;
  std::string progId;
  std::string typeName;
  int bitmapId = 1;
  bool insertable = true;
  std::uint32_t miscStatus = 0;
  com::GUID libid;
  std::uint16_t verMajor = 1;
  std::uint16_t verMinor = 0;
};

// HKCR\CLSID\{clsid} (type name) with InprocServer32 (path, ThreadingModel "Apartment"), ProgID,
// Control, Insertable, ToolboxBitmap32 ("path, id"), MiscStatus ("0", and 1 = the status in
// decimal), TypeLib and Version; HKCR\<progId> (type name) with CLSID and Insertable.
bool RegisterControlClass(const ControlClassRegistration& reg);
// HKCR\CLSID\{clsid} (type name) with InprocServer32 (path).
bool RegisterPropertyPageClass(const std::string& path, const com::CLSID& clsid, const std::string& typeName);
// Removes HKCR\CLSID\{clsid} and, when given, HKCR\<progId>. Keys that are not there count as
// removed.
bool UnregisterClass(const com::CLSID& clsid, const std::string& progId);

}  // namespace plat::ax

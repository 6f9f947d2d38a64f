#pragma once
// In-process servers: the four entry points a server library exports, and how a client gets a
// class from one. The client side reads HKEY_CLASSES_ROOT\CLSID\{class id}\InprocServer32 (the
// library's absolute path) from the registry, loads the library and asks its DllGetClassObject.
// Loaded server libraries stay loaded for the life of the process.

#include <string>

#include "platform/com/unknown.h"

namespace plat::com {

// The exported entry points, by these names, with C linkage.
using DllGetClassObjectFn = HRESULT (*)(const CLSID* clsid, const IID* iid, void** out);
using DllCanUnloadNowFn = HRESULT (*)();
using DllRegisterServerFn = HRESULT (*)();
using DllUnregisterServerFn = HRESULT (*)();

// REGDB_E_CLASSNOTREG when the class is not registered, CO_E_DLLNOTFOUND when its library cannot
// be loaded, CO_E_ERRORINDLL when the library lacks DllGetClassObject; else the server's answer.
HRESULT CoGetClassObject(const CLSID& clsid, const IID& iid, void** out);

// Creates one object of the class through its class factory. `outer` is passed on (servers here
// refuse aggregation).
HRESULT CoCreateInstance(const CLSID& clsid, IUnknown* outer, const IID& iid, void** out);

// The registered server path of the class, or empty.
std::string InprocServerPath(const CLSID& clsid);

}  // namespace plat::com

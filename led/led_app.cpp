// The library's module object, its two class factories and the four exported entry points.

#include "led/led_ctrl.h"
#include "led/led_ids.h"
#include "led/led_ppg.h"
#include "led/led_resources.h"
#include "platform/activex/module.h"

#define GLIMMET_EXPORT extern "C" __attribute__((visibility("default")))

namespace glimmet {

using namespace plat::com;
using plat::ax::COleControlModule;
using plat::ax::COleObjectFactory;

namespace {

class CLedApp final : public COleControlModule {
 public:
  CLedApp() : COleControlModule(&kAnchor) { LoadResources(*this); }

 private:
  static constexpr int kAnchor = 0;  // an address inside this library
};

class CLedCtrlFactory final : public COleObjectFactory {
 public:
  explicit CLedCtrlFactory(COleControlModule& module)
      : COleObjectFactory(module, CLSID_LED, kLedProgId,
                          [](COleControlModule& m) -> IUnknown* { return new CLedCtrl(m); }) {}

  bool UpdateRegistry(bool registering) override {
    if (!registering) return plat::ax::UnregisterClass(ClassId(), ProgId());
    const std::string path = Module().Path();
    if (path.empty()) return false;
    plat::ax::ControlClassRegistration reg;
    reg.path = path;
    reg.clsid = ClassId();
    reg.progId = ProgId();
    reg.typeName = Module().LoadString(IDS_LED);
    reg.bitmapId = IDB_LED;
    reg.insertable = true;
    reg.miscStatus = kLedMiscStatus;
    reg.libid = LIBID_LedLib;
    reg.verMajor = kLedLibMajor;
    reg.verMinor = kLedLibMinor;
    return plat::ax::RegisterControlClass(reg);
  }
};

class CLedPropPageFactory final : public COleObjectFactory {
 public:
  explicit CLedPropPageFactory(COleControlModule& module)
      : COleObjectFactory(module, CLSID_LedPropPage, kLedPropPageProgId,
                          [](COleControlModule& m) -> IUnknown* { return new CLedPropPage(m); }) {}

  bool UpdateRegistry(bool registering) override {
    if (!registering) return plat::ax::UnregisterClass(ClassId(), "");
    const std::string path = Module().Path();
    if (path.empty()) return false;
    return plat::ax::RegisterPropertyPageClass(path, ClassId(), Module().LoadString(IDS_LED_PPG));
  }
};

// Created when the library is loaded, in this order, and destroyed when it is unloaded.
CLedApp theApp;
CLedCtrlFactory ctrlFactory(theApp);
CLedPropPageFactory pageFactory(theApp);

}  // namespace

}  // namespace glimmet

using glimmet::theApp;

GLIMMET_EXPORT plat::com::HRESULT DllRegisterServer() {
  using namespace plat::com;
  const std::string path = theApp.Path();
  if (path.empty() || theApp.TypeLib().name.empty() || Failed(RegisterTypeLib(theApp.TypeLib(), path, "")))
    return SELFREG_E_TYPELIB;
  if (!theApp.UpdateRegistryAll(true)) return SELFREG_E_CLASS;
  return S_OK;
}

// Stops at the first step that fails: a library whose type library is not registered is not
// registered at all, and its class keys are left as they are.
GLIMMET_EXPORT plat::com::HRESULT DllUnregisterServer() {
  using namespace plat::com;
  if (Failed(UnRegisterTypeLib(glimmet::LIBID_LedLib, glimmet::kLedLibMajor, glimmet::kLedLibMinor)))
    return SELFREG_E_TYPELIB;
  if (!theApp.UpdateRegistryAll(false)) return SELFREG_E_CLASS;
  return S_OK;
}

GLIMMET_EXPORT plat::com::HRESULT DllGetClassObject(const plat::com::CLSID* clsid, const plat::com::IID* iid,
                                                    void** out) {
  if (!clsid || !iid) return plat::com::E_INVALIDARG;
  return theApp.GetClassObject(*clsid, *iid, out);
}

GLIMMET_EXPORT plat::com::HRESULT DllCanUnloadNow() { return theApp.CanUnloadNow(); }

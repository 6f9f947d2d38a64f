#include "tests/led/led_support.h"

#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>

#include <cstdlib>

namespace ledtest {

const Library& Glimmet() {
  static const Library lib = [] {
    Library l;
    char resolved[PATH_MAX];
    l.path = realpath(GLIMMET_LIBRARY, resolved) ? resolved : GLIMMET_LIBRARY;
    l.handle = dlopen(l.path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!l.handle) return l;
    l.registerServer = reinterpret_cast<DllRegisterServerFn>(dlsym(l.handle, "DllRegisterServer"));
    l.unregisterServer = reinterpret_cast<DllUnregisterServerFn>(dlsym(l.handle, "DllUnregisterServer"));
    l.getClassObject = reinterpret_cast<DllGetClassObjectFn>(dlsym(l.handle, "DllGetClassObject"));
    l.canUnloadNow = reinterpret_cast<DllCanUnloadNowFn>(dlsym(l.handle, "DllCanUnloadNow"));
    return l;
  }();
  return lib;
}

void LedTest::SetUp() {
  ASSERT_TRUE(dir_.isValid());
  if (const char* old = std::getenv("TAVORO_REGISTRY_DIR")) old_ = old;
  setenv("TAVORO_REGISTRY_DIR", dir_.path().toLocal8Bit().constData(), 1);
  const Library& lib = Glimmet();
  ASSERT_NE(lib.handle, nullptr) << dlerror();
  ASSERT_NE(lib.registerServer, nullptr);
  ASSERT_NE(lib.unregisterServer, nullptr);
  ASSERT_NE(lib.getClassObject, nullptr);
  ASSERT_NE(lib.canUnloadNow, nullptr);
}

void LedTest::TearDown() {
  // Every object a test made is gone again.
  EXPECT_EQ(Glimmet().canUnloadNow(), S_OK);
  setenv("TAVORO_REGISTRY_DIR", old_.c_str(), 1);
}

namespace {
template <class T>
ComPtr<T> Create(const CLSID& clsid, const IID& iid) {
  ComPtr<IClassFactory> factory;
  ComPtr<T> object;
  if (Failed(Glimmet().getClassObject(&clsid, &IID_IClassFactory, factory.out()))) return object;
  factory->CreateInstance(nullptr, iid, object.out());
  return object;
}
}  // namespace

ComPtr<IControl> NewLamp() { return Create<IControl>(glimmet::CLSID_LED, plat::ax::IID_IControl); }

ComPtr<plat::ax::IPropertyPage> NewPage() {
  return Create<plat::ax::IPropertyPage>(glimmet::CLSID_LedPropPage, plat::ax::IID_IPropertyPage);
}

HRESULT Put(IControl* c, DISPID id, const Variant& v) {
  ExcepInfo excep;
  return ErrorOf(c->Invoke(id, DISPATCH_PROPERTYPUT, std::span<const Variant>(&v, 1), nullptr, &excep), excep);
}

Variant Get(IControl* c, DISPID id) {
  Variant v;
  ExcepInfo excep;
  EXPECT_EQ(c->Invoke(id, DISPATCH_PROPERTYGET, {}, &v, &excep), S_OK) << id;
  return v;
}

std::int32_t GetInt(IControl* c, DISPID id) {
  std::int32_t n = 0;
  EXPECT_EQ(Get(c, id).ToI4(&n), S_OK);
  return n;
}

std::vector<std::uint8_t> Save(IControl* c) {
  std::vector<std::uint8_t> block;
  EXPECT_EQ(c->Save(&block, false), S_OK);
  return block;
}

std::vector<std::uint8_t> DefaultBlock() {
  ComPtr<IControl> lamp = NewLamp();
  return Save(lamp.get());
}

Drawing Draw(IControl* c, int w, int h) {
  auto dc = plat::gdi::DC::Recording(QSize(w, h));
  EXPECT_EQ(c->Draw(*dc, plat::gdi::Rect{0, 0, w, h}), S_OK);
  Drawing d;
  d.calls = dc->Log()->lines;
  if (dc->Image()) d.image = *dc->Image();
  return d;
}

Drawing DrawMetafile(IControl* c, int w, int h) {
  auto dc = plat::gdi::DC::Recording(QSize(w, h));
  EXPECT_EQ(c->DrawMetafile(*dc, plat::gdi::Rect{0, 0, w, h}), S_OK);
  Drawing d;
  d.calls = dc->Log()->lines;
  if (dc->Image()) d.image = *dc->Image();
  return d;
}

QImage DrawQuiet(IControl* c, int w, int h) {
  auto display = plat::gdi::DC::Display();
  auto mem = display->CreateCompatibleDC();
  mem->SelectBitmap(plat::gdi::CreateBitmap(w, h, 1, 32));
  EXPECT_EQ(c->Draw(*mem, plat::gdi::Rect{0, 0, w, h}), S_OK);
  return mem->Image() ? *mem->Image() : QImage();
}

plat::gdi::COLORREF Pixel(const QImage& image, int x, int y) {
  const QRgb p = image.pixel(x, y);
  return plat::gdi::RGB(static_cast<std::uint8_t>(qRed(p)), static_cast<std::uint8_t>(qGreen(p)),
                        static_cast<std::uint8_t>(qBlue(p)));
}

}  // namespace ledtest

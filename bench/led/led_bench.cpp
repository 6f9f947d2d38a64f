// The cost of a lamp repaint: every Value change repaints the whole lamp through its off-screen
// bitmap, so a repaint at lamp sizes should stay in the tens of microseconds.
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "platform/activex/control.h"
#include "platform/com/server.h"

namespace {

using namespace plat::com;

constexpr CLSID kLed = Guid("{3B9C41EF-0FF1-4DDF-8132-D472FDB12FE7}");

ComPtr<plat::ax::IControl> NewLamp() {
  static void* lib = dlopen(GLIMMET_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  ComPtr<plat::ax::IControl> lamp;
  if (!lib) return lamp;
  const auto get = reinterpret_cast<DllGetClassObjectFn>(dlsym(lib, "DllGetClassObject"));
  ComPtr<IClassFactory> factory;
  if (!get || Failed(get(&kLed, &IID_IClassFactory, factory.out()))) return lamp;
  factory->CreateInstance(nullptr, plat::ax::IID_IControl, lamp.out());
  return lamp;
}

// One repaint onto a widget-like surface through QPainter, alternating the lamp's Value.
void BM_RepaintThroughPainter(benchmark::State& state) {
  const int side = static_cast<int>(state.range(0));
  auto lamp = NewLamp();
  if (!lamp) {
    state.SkipWithError("libglimmet.so could not be loaded");
    return;
  }
  QImage surface(side, side, QImage::Format_RGB32);
  bool on = false;
  for (auto _ : state) {
    on = !on;
    const Variant v = Variant::Bool(on);
    ExcepInfo excep;
    lamp->Invoke(11, DISPATCH_PROPERTYPUT, std::span<const Variant>(&v, 1), nullptr, &excep);
    QPainter painter(&surface);
    auto dc = plat::gdi::DC::ForPainter(&painter, surface.size());
    lamp->Draw(*dc, plat::gdi::Rect{0, 0, side, side});
  }
}
BENCHMARK(BM_RepaintThroughPainter)->Arg(24)->Arg(32)->Arg(128);

// A picture for a metafile: draw, read back as a DIB, stretch.
void BM_MetafilePicture(benchmark::State& state) {
  auto lamp = NewLamp();
  if (!lamp) {
    state.SkipWithError("libglimmet.so could not be loaded");
    return;
  }
  auto display = plat::gdi::DC::Display();
  auto target = display->CreateCompatibleDC();  // records nothing, unlike a recording context
  target->SelectBitmap(plat::gdi::CreateBitmap(64, 64, 1, 32));
  for (auto _ : state) lamp->DrawMetafile(*target, plat::gdi::Rect{0, 0, 64, 64});
}
BENCHMARK(BM_MetafilePicture);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

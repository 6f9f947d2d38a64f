// The program's start over JACK, as a user meets it: a JACK server with the dummy driver of the
// benchmark's own, vesk-emulator on it, and Tavoro started in this process against the emulator's
// ports (settings in a directory of its own). Each iteration builds a fresh program and times its
// start: splash, main window, prod, the bulk download of every kind and the Global data, the
// pages filled, until the window is shown ONLINE. Reported: that wall time (of the starts that
// came up ONLINE with every kind read and no box; the others are counted), and beside it the time
// the 24 exchanges' bytes (prod, 22 reads, the page's front-panel key) take on a MIDI cable at
// 3,125 bytes per second.
//
//   build/bin/startup_bench
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <chrono>
#include <cstdlib>
#include <memory>

#include "emulator/core/vesk.h"
#include "mainwindow/app.h"
#include "mainwindow/main_window.h"
#include "platform/ui/message_box.h"
#include "platform/ui/wait.h"
#include "tests/support/jack_server.h"

namespace {

using namespace tavoro;

// A framed request to the instrument (device id 7F).
emu::Message Request(std::initializer_list<std::uint8_t> body) {
  emu::Message m{0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F};
  for (std::uint8_t b : body) m.push_back(b);
  m.push_back(0xF7);
  return m;
}

// The bytes of a whole start-up both ways, from the default bank: the messages the program sends
// answered by an emulator of its own.
double StartUpBytes() {
  emu::Vesk vesk;
  std::vector<emu::Message> sent{Request({0x11, 0x01, 0x01, 0x00})};
  for (std::uint8_t k = 0; k < emu::kObjectKinds; ++k) {
    const int n = vesk.bank().objects[k].begin()->first;
    sent.push_back(Request({0x12, 0x01, 0x01, k}));
    sent.push_back(Request({0x12, 0x02, 0x01, k}));
    sent.push_back(Request({0x01, k, 0, 0, 0, 2, 0, 0, static_cast<std::uint8_t>(n >> 4), static_cast<std::uint8_t>(n & 15)}));
  }
  sent.push_back(Request({0x11, 0x02, 0x01, 0x00}));
  for (std::uint8_t p = 1; p <= 5; ++p) sent.push_back(Request({0x11, 0x03, 0x02, p, 0x00}));
  sent.push_back(Request({0x32, 0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x01, 0x00, 0x00}));
  sent.push_back(Request({0x11, 0x01, 0x01, 0x00}));
  double bytes = 0;
  for (const auto& m : sent) {
    bytes += static_cast<double>(m.size());
    for (const auto& r : vesk.handle(m)) bytes += static_cast<double>(r.bytes.size());
  }
  return bytes;
}

// The JACK server and the emulator, started once for all iterations.
struct Rig {
  Rig() {
    if (!jack.running()) {
      why = "jackd did not start: " + jack.log();
      return;
    }
    emulator.setProcessChannelMode(QProcess::MergedChannels);
    emulator.start(VESK_EMULATOR, {"--api", "jack"});
    while (emulator.waitForReadyRead(10000)) {
      output += emulator.readAll().toStdString();
      if (output.find("ready") != std::string::npos) break;
    }
    if (output.find("ready") == std::string::npos) {
      why = "vesk-emulator did not start: " + output;
      return;
    }
    // The link demo records the emulator's ports in the settings; the lamps get registered.
    if (QProcess::execute(LINK_DEMO, {}) != 0) {
      why = "tavoro-linkdemo did not reach the emulator";
      return;
    }
    QProcess::execute(REGSVR, {GLIMMET_LIBRARY});
    ready = true;
  }
  ~Rig() {
    emulator.terminate();
    emulator.waitForFinished(5000);
  }
  test::JackServer jack;
  QProcess emulator;
  std::string output, why;
  bool ready = false;
};

void StartUpOverJack(benchmark::State& state) {
  Rig rig;
  if (!rig.ready) {
    state.SkipWithError(rig.why.c_str());
    for (auto _ : state) {
    }
    return;
  }
  int boxes = 0;
  plat::SetMessageBoxHandler([&](const plat::BoxRequest&) {
    ++boxes;
    return plat::BoxResult::Ok;
  });
  // A start that shows a box or does not end ONLINE with every kind read is counted, not timed.
  double total = 0;
  int good = 0, failed = 0;
  for (auto _ : state) {
    const int boxesBefore = boxes;
    auto app = std::make_unique<App>();
    const auto t0 = std::chrono::steady_clock::now();
    const int rc = app->Start();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    state.SetIterationTime(seconds);
    const bool ok = rc == 0 && boxes == boxesBefore && app->main().stbMainForm->Panels(8).Text() == "ONLINE" &&
                    app->store.PresetLoaded && app->store.MultiLoaded &&
                    app->main().stbMainForm->Panels(7).Text() == "Current Bank: Factory Bank 1";
    if (ok) {
      total += seconds;
      ++good;
    } else {
      ++failed;
    }
    if (rc == 0) app->main().close();
    app.reset();
    plat::ResetWaitsEnding();  // the close ended every wait; the next program waits again
  }
  plat::SetMessageBoxHandler({});
  if (good == 0) state.SkipWithError("no start came up ONLINE with every page filled");
  state.counters["wall_ms"] = good > 0 ? 1e3 * total / good : 0.0;
  state.counters["failed_starts"] = failed;
  state.counters["cable_ms"] = 1e3 * StartUpBytes() / 3125.0;
}
BENCHMARK(StartUpOverJack)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  setenv("TAVORO_MIDI_API", "jack", 1);
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QTemporaryDir registry;
  setenv("TAVORO_REGISTRY_DIR", registry.path().toLocal8Bit().constData(), 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

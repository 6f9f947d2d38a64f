#include "bench/support/loopback_bench.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <cstdlib>
#include <ctime>

#include "platform/ui/message_box.h"
#include "platform/ui/wait.h"

namespace tavoro::bench {

double CpuSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

LoopbackLink::LoopbackLink() : link(LinkParts{in, out, ledIn, ledOut, host, trace}) {
  link.settings.InDeviceId = 0;
  link.settings.OutDeviceId = 0;
  link.OpenInputDevice();
  link.OpenOutputDevice();
}

}  // namespace tavoro::bench

int main(int argc, char** argv) {
  setenv("TAVORO_MIDI_API", "loopback", 1);
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QCoreApplication app(argc, argv);
  plat::SetTimeoutScale(1.0);
  plat::SetMessageBoxHandler([](const plat::BoxRequest&) { return plat::BoxResult::Ok; });
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

// Costs of the platform services: above all, that a wait which gets nothing sleeps.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QMetaObject>
#include <cstdlib>

#include "platform/ui/wait.h"

namespace {

double ProcessCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// A 2-second wait that nothing answers, as a reply wait for a silent instrument: the process
// CPU time it uses must stay close to zero.
void BM_IdleTwoSecondWait(benchmark::State& state) {
  double cpu = 0.0;
  for (auto _ : state) {
    const double before = ProcessCpuSeconds();
    plat::WaitResult result = plat::WaitUntil([] { return false; }, 2000);
    cpu += ProcessCpuSeconds() - before;
    benchmark::DoNotOptimize(result);
  }
  state.counters["cpu_seconds"] = benchmark::Counter(cpu, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_IdleTwoSecondWait)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

// A wait ended by a queued call, as a received message ends a reply wait.
void BM_WaitEndedByPostedEvent(benchmark::State& state) {
  bool flag = false;
  for (auto _ : state) {
    flag = false;
    QMetaObject::invokeMethod(qApp, [&flag] { flag = true; }, Qt::QueuedConnection);
    benchmark::DoNotOptimize(plat::WaitUntil([&flag] { return flag; }, 5000));
  }
}
BENCHMARK(BM_WaitEndedByPostedEvent)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

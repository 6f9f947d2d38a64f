// The link's costs through the in-process loopback bus and the emulator:
//   KeyExchange: one front-panel key message and its status reply, median time per exchange;
//   UnansweredWait: process CPU time spent during a 2-second reply wait that gets no answer
//   (the wait sleeps in the event loop, so this should be close to zero).
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <vector>

#include "bench/support/loopback_bench.h"
#include "emulator/loopback/loopback_peer.h"
#include "link/link.h"
#include "platform/ui/message_box.h"
#include "platform/ui/wait.h"

namespace {

using namespace tavoro;

using Bench = tavoro::bench::LoopbackLink;
using tavoro::bench::CpuSeconds;

void KeyExchange(benchmark::State& state) {
  Bench b;
  const plat::Bytes key = b.link.Frame(FrontPanelKey(0));
  std::vector<double> us;
  bool ok = true;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    b.link.MidiOutLongMsg(key);
    const VeskResponse r = b.link.GetVeskResponse(5000, kStatusMode);
    b.link.MidiInBusy = false;
    us.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count());
    ok = ok && r.Accepted();
  }
  if (!ok) state.SkipWithError("an exchange was not accepted");
  std::sort(us.begin(), us.end());
  state.counters["median_us"] = us.empty() ? 0.0 : us[us.size() / 2];
}
BENCHMARK(KeyExchange)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

void UnansweredWait(benchmark::State& state) {
  Bench b;
  b.peer.vesk().setSilent(true);
  const plat::Bytes key = b.link.Frame(FrontPanelKey(0));
  double cpu = 0;
  for (auto _ : state) {
    b.link.MidiOutLongMsg(key);
    const double c0 = CpuSeconds();
    b.link.GetVeskResponse(2000, kStatusMode);
    cpu = CpuSeconds() - c0;
  }
  state.counters["cpu_ms"] = cpu * 1e3;
}
BENCHMARK(UnansweredWait)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

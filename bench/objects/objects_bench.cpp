// The object transfer's costs:
//   Parse/<kind>: one reply of the kind parsed into its record (the emulator's default bank);
//   ReadAll: every kind's directory status, directory and first object plus the Global data read
//   through the in-process loopback bus with no reply delay. Reported: the process CPU time of one
//   whole read (program and in-process emulator together, so an upper bound for the program), the
//   bytes that crossed the bus both ways, the time those bytes take on a MIDI cable (3,125 bytes
//   per second), and the CPU time as a share of that cable time (target: under 1 %).
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <cstdlib>
#include <functional>
#include <vector>

#include "bench/support/loopback_bench.h"
#include "emulator/loopback/loopback_peer.h"
#include "link/link.h"
#include "objects/parsers.h"
#include "objects/transfer.h"
#include "platform/ui/message_box.h"
#include "platform/ui/wait.h"

namespace {

using namespace tavoro;

plat::Bytes Reply(emu::Vesk& vesk, std::vector<std::uint8_t> body) {
  emu::Message m{0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F};
  for (const std::uint8_t b : body) m.push_back(b);
  m.push_back(0xF7);
  return plat::Bytes(vesk.handle(m).at(0).bytes);
}

template <class F>
void ParseBench(benchmark::State& state, const plat::Bytes& reply, F parse) {
  bool ok = true;
  for (auto _ : state) {
    auto p = parse(reply);
    ok = ok && p.ok();
    benchmark::DoNotOptimize(p);
  }
  if (!ok) state.SkipWithError("the reply did not parse");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * reply.size()));
}

emu::Vesk& Instrument() {
  static emu::Vesk vesk;
  return vesk;
}

void ParseWave(benchmark::State& s) { ParseBench(s, plat::Bytes(Instrument().dump(emu::Kind::Wave, 1)), [](const plat::Bytes& r) { return ParseWaveDump(r, 1); }); }
void ParseTone(benchmark::State& s) { ParseBench(s, plat::Bytes(Instrument().dump(emu::Kind::Tone, 1)), [](const plat::Bytes& r) { return ParseToneDump(r, 1); }); }
void ParseMap7Zones(benchmark::State& s) { ParseBench(s, plat::Bytes(Instrument().dump(emu::Kind::Map, 4)), [](const plat::Bytes& r) { return ParseMapDump(r, 4); }); }
void ParseMapZone(benchmark::State& s) {
  ParseBench(s, Reply(Instrument(), {0x01, 0x06, 0x00, 0x00, 0x00, 0x02, 0x02, 0x04, 0x00, 0x04}), [](const plat::Bytes& r) { return ParseMapZoneDump(r); });
}
void ParsePreset(benchmark::State& s) { ParseBench(s, plat::Bytes(Instrument().dump(emu::Kind::Preset, 0)), [](const plat::Bytes& r) { return ParsePresetDump(r, 0); }); }
void ParseMulti(benchmark::State& s) { ParseBench(s, plat::Bytes(Instrument().dump(emu::Kind::Multi, 0)), [](const plat::Bytes& r) { return ParseMultiDump(r, 0); }); }
void ParseDirStatusReply(benchmark::State& s) { ParseBench(s, Reply(Instrument(), {0x12, 0x01, 0x01, 0x00}), [](const plat::Bytes& r) { return ParseDirStatus(r); }); }
void ParseDirReply(benchmark::State& s) { ParseBench(s, Reply(Instrument(), {0x12, 0x02, 0x01, 0x00}), [](const plat::Bytes& r) { return ParseDir(r); }); }
void ParseGlobal(benchmark::State& s) { ParseBench(s, Reply(Instrument(), {0x11, 0x02, 0x01, 0x00}), [](const plat::Bytes& r) { return ParseBankNameReply(r); }); }
BENCHMARK(ParseWave);
BENCHMARK(ParseTone);
BENCHMARK(ParseMap7Zones);
BENCHMARK(ParseMapZone);
BENCHMARK(ParsePreset);
BENCHMARK(ParseMulti);
BENCHMARK(ParseDirStatusReply);
BENCHMARK(ParseDirReply);
BENCHMARK(ParseGlobal);

class NullHost : public LinkHost {
 public:
  void SetPanelText(int, const std::string&) override {}
  bool ProgressWindowActive() override { return false; }
  void UnloadProgressWindow() override {}
};

using tavoro::bench::CpuSeconds;

// The 22 exchanges of a whole read; false when any failed.
bool ReadAll(ObjectTransfer& x) {
  const std::function<bool(std::int16_t)> dumps[] = {
      [&](std::int16_t n) { return x.WaveObjDump(n); }, [&](std::int16_t n) { return x.ToneObjDump(n); },
      [&](std::int16_t n) { return x.MapObjDump(n); }, [&](std::int16_t n) { return x.PresetObjDump(n); },
      [&](std::int16_t n) { return x.MultiObjDump(n); }};
  bool ok = true;
  for (std::int16_t k = 0; k < 5; ++k) {
    const ObjDirStatus s = x.GetObjDirStatus(k);
    const ObjDir d = x.GetObjDir(k);
    ok = ok && s.ObjCount > 0 && d.Count > 0 && dumps[k](d.Entries[0].Number);
  }
  return x.GlobalObjDump() && ok;
}

void ReadAllThroughLoopback(benchmark::State& state) {
  emu::LoopbackPeer peer;
  plat::MIDIInput in;
  plat::MIDIOutput out;
  plat::PlainLamp ledIn, ledOut;
  NullHost host;
  StartupTrace trace;
  Link link(LinkParts{in, out, ledIn, ledOut, host, trace});
  link.settings.InDeviceId = 0;
  link.settings.OutDeviceId = 0;
  link.OpenInputDevice();
  link.OpenOutputDevice();
  ObjectStore store;
  ObjectTransfer x(link, store);

  double cpu = 0;
  bool ok = true;
  for (auto _ : state) {
    peer.vesk().clearReceived();
    const double c0 = CpuSeconds();
    ok = ReadAll(x) && ok;
    cpu += CpuSeconds() - c0;
  }
  if (!ok) state.SkipWithError("a read failed");
  // The bytes of one read: the requests as received, and the replies they get.
  emu::Vesk replay;
  double bytes = 0;
  for (const auto& m : peer.vesk().received()) {
    bytes += static_cast<double>(m.size());
    for (const auto& r : replay.handle(m)) bytes += static_cast<double>(r.bytes.size());
  }
  const double perRead = cpu / static_cast<double>(state.iterations());
  const double cable = bytes / 3125.0;
  state.counters["exchanges"] = static_cast<double>(peer.vesk().received().size());
  state.counters["bytes"] = bytes;
  state.counters["cpu_ms"] = perRead * 1e3;
  state.counters["cable_ms"] = cable * 1e3;
  state.counters["cpu_pct_of_cable"] = 100.0 * perRead / cable;
}
BENCHMARK(ReadAllThroughLoopback)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace

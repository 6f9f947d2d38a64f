// The object transfer's costs:
//   Parse/<kind>: one reply of the kind parsed into its record (the emulator's default bank);
//   ReadAll: every kind's directory status, directory and first object plus the Global data read
//   through the in-process loopback bus with no reply delay. Reported: the process CPU time of one
//   whole read (program and in-process emulator together, so an upper bound for the program), the
//   bytes that crossed the bus both ways, the time those bytes take on a MIDI cable (3,125 bytes
//   per second), and the CPU time as a share of that cable time (target: under 1 %);
//   AllObjectsDumpThroughLoopback: the bulk download itself, the emulator's own CPU time taken out.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <cstdlib>
#include <functional>
#include <vector>

#include "bench/support/loopback_bench.h"
#include "emulator/loopback/loopback_peer.h"
#include "link/link.h"
#include "objects/downloads.h"
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
  tavoro::bench::LoopbackLink b;
  emu::LoopbackPeer& peer = b.peer;
  Link& link = b.link;
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

// The window's side of a download left out: the bulk download's own work is measured.
class NullWindow : public DownloadHost {
 public:
  bool LoadDisplay(std::uint8_t) override { return true; }
  void ClearObjDisplay(std::uint8_t) override {}
  void SetMousePointer(int) override {}
  void SetCommandEnabled(Command, bool) override {}
  std::string ObjectNumText() override { return {}; }
  void SetObjectNumText(const std::string&) override {}
  void SetObjectNameText(const std::string&) override {}
  void SetObjectNumLocked(bool) override {}
  void SetObjectNameLocked(bool) override {}
  void SetObjectNumForeColor(long) override {}
  std::string PageLabel() override { return {}; }
  std::string PanelTag(int) override { return {}; }
};

// AllObjectsDump: one whole bulk download through the loopback bus. The emulator runs in this
// process, so its share is taken out: the messages of one run are answered again by a second
// emulator on their own, and that CPU time is subtracted. Reported: the program's CPU time per
// run, the 22 exchanges' bytes and their time on a MIDI cable, and the CPU time as a share of the
// cable time (target: under 1 %).
void AllObjectsDumpThroughLoopback(benchmark::State& state) {
  tavoro::bench::LoopbackLink b;
  emu::LoopbackPeer& peer = b.peer;
  Link& link = b.link;
  link.LinkState = 1;
  ObjectStore store;
  ObjectTransfer x(link, store);
  NullWindow window;

  double cpu = 0;
  bool ok = true;
  for (auto _ : state) {
    peer.vesk().clearReceived();
    const double c0 = CpuSeconds();
    ok = AllObjectsDump(x, window) && ok;
    cpu += CpuSeconds() - c0;
  }
  if (!ok) state.SkipWithError("a run did not reach its end");
  const std::vector<emu::Message> run = peer.vesk().received();
  double bytes = 0, emulatorCpu = 0;
  emu::Vesk replay;
  constexpr int kReplays = 200;
  for (int r = 0; r < kReplays; ++r) {
    const double c0 = CpuSeconds();
    for (const auto& m : run) {
      const auto replies = replay.handle(m);
      if (r == 0) {
        bytes += static_cast<double>(m.size());
        for (const auto& reply : replies) bytes += static_cast<double>(reply.bytes.size());
      }
    }
    emulatorCpu += CpuSeconds() - c0;
    replay.clearReceived();
  }
  const double perRun = cpu / static_cast<double>(state.iterations()) - emulatorCpu / kReplays;
  const double cable = bytes / 3125.0;
  state.counters["exchanges"] = static_cast<double>(run.size());
  state.counters["bytes"] = bytes;
  state.counters["cpu_ms"] = perRun * 1e3;
  state.counters["cable_ms"] = cable * 1e3;
  state.counters["cpu_pct_of_cable"] = 100.0 * perRun / cable;
}
BENCHMARK(AllObjectsDumpThroughLoopback)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace

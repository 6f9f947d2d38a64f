#pragma once
// What the benchmarks that talk to the in-process emulator share: the process's CPU clock, and a
// main() that sets up the loopback MIDI bus, an application object and a box that answers at once.

namespace tavoro::bench {

// CPU time used by the whole process so far, in seconds.
double CpuSeconds();

}  // namespace tavoro::bench

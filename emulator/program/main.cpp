// vesk-emulator: the instrument on a real MIDI port, for trying the editor without an instrument
// and for the system tests. It opens an input and an output port named "Vesk Emulator" on JACK
// or ALSA, prints their names, answers every message as the instrument does (with the default
// bank), and stops cleanly on SIGINT or SIGTERM.
//
// Flags:
//   --api jack|alsa      MIDI system; default JACK when a JACK server runs, else ALSA
//   --name NAME          port (and client) name instead of "Vesk Emulator"
//   --connect CLIENT     connect to the first ports whose names contain CLIENT instead of
//                        opening ports for others to connect to
//   --device-id N        the instrument's own device id, 0-127 (default 0); 7F is always answered
//   --delay MS           every reply leaves MS milliseconds after the message came in
//   --disk-delay MS      a slow disk: a load bank request is answered MS milliseconds later
//   --silent             answer nothing (the client runs into its time-out)
//   --late MS            replies leave after MS milliseconds instead (past the client's time-out)
//   --unsolicited MS     send an unasked System Exclusive message MS milliseconds after each reply
//   --repeat N           send every reply N times
//   --mangle DAMAGE      damage every reply: short, garbled, truncated, over-long, wrong-kind,
//                        non-nibble
//   --mangle-kind K      damage only the dumps of object kind K (0 Wave .. 4 Multi, 6 Map zone)
//   --status N           answer every message with status N (1-11 are the instrument's own)
//   --busy               answer every message with status 9 (device busy)
//   --fault-count N      the faults above apply to the first N messages only (not --delay)
//   --only REQ[:K]       the faults above hit only one request: status, directory, dump, global,
//                        key or upload, and with :K only those naming object kind K (--only
//                        dump:1 silences or damages the Tone dumps alone)
//   --dir-order K:N,...  the directory of kind K lists these numbers first, in this order
//   --lowest K:N         the status of kind K reports N as its lowest number in use
//   --verbose            log every message in and out on stderr
//
// Output on stdout, one line each: "api: jack", "input: <port>", "output: <port>", "ready";
// at the end "stopped" and the counts.
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include "emulator/core/vesk.h"
#include "emulator/program/midi_ports.h"
#include "emulator/program/options.h"
#include "emulator/transport/reply_scheduler.h"

namespace {

int gSignalPipe[2] = {-1, -1};

void OnSignal(int) {
  const char c = 1;
  [[maybe_unused]] auto n = ::write(gSignalPipe[1], &c, 1);
}

void Say(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string error;
  const auto options = emu::ParseOptions(args, error);
  if (!options) {
    std::fprintf(stderr, "vesk-emulator: %s\n%s", error.c_str(), emu::Usage().c_str());
    return 2;
  }
  if (options->help) {
    std::printf("%s", emu::Usage().c_str());
    return 0;
  }

  QCoreApplication app(argc, argv);
  if (::pipe2(gSignalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
    std::perror("vesk-emulator: pipe");
    return 1;
  }
  struct sigaction sa {};
  sa.sa_handler = &OnSignal;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGTERM, &sa, nullptr);
  QSocketNotifier stop(gSignalPipe[0], QSocketNotifier::Read);
  QObject::connect(&stop, &QSocketNotifier::activated, &app, [&] {
    char buf[16];
    while (::read(gSignalPipe[0], buf, sizeof buf) > 0) {
    }
    app.quit();
  });

  emu::Vesk vesk(static_cast<std::uint8_t>(options->deviceId));
  vesk.setFaults(options->faults);
  vesk.setFaultCount(options->faultCount);
  vesk.setListing(options->listing);
  vesk.setCommandDelay(emu::cmd::LoadBank, options->diskDelayMs);

  emu::MidiPorts ports;
  const bool verbose = options->verbose;
  emu::ReplyScheduler scheduler(
      [&](const emu::Message& m) {
        if (verbose) std::fprintf(stderr, "out: %s\n", emu::Hex(m).c_str());
        ports.send(m);
      },
      &app);
  QObject context;  // received messages are handled on this (the main) thread

  const std::string api = !options->api.empty() ? options->api : (emu::JackServerRunning() ? "jack" : "alsa");
  try {
    ports.open(api, options->name, options->connect, [&](const emu::Message& m) {
      QMetaObject::invokeMethod(
          &context,
          [&, m] {
            if (verbose) std::fprintf(stderr, "in:  %s\n", emu::Hex(m).c_str());
            scheduler.schedule(vesk.handle(m));
            vesk.clearReceived();  // a long session keeps only the counts
          },
          Qt::QueuedConnection);
    });
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vesk-emulator: cannot open the %s MIDI ports: %s\n", api.c_str(), e.what());
    return 1;
  }
  Say("api: " + api);
  Say("input: " + ports.inputName());
  Say("output: " + ports.outputName());
  Say("ready");

  const int rc = app.exec();
  scheduler.cancel();
  ports.close();
  const auto& c = vesk.counters();
  Say("stopped: received " + std::to_string(c.received) + ", answered " + std::to_string(c.answered) +
      ", replies " + std::to_string(c.replies) + ", refused " + std::to_string(c.refused));
  return rc;
}

// vesk-emulator on real JACK MIDI ports: a JACK server with the dummy driver and the program are
// started here (and always stopped again); the test talks to it through RtMidi as any MIDI
// program would.
#include <gtest/gtest.h>
#include <jack/jack.h>
#include <rtmidi/RtMidi.h>

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>
#include <chrono>
#include <memory>
#include <thread>

#include "tests/emulator/emu_test_util.h"

namespace emu {
namespace {
using namespace emu::test;
using namespace std::chrono_literals;

void Quiet(const char*) {}

bool ServerUp() {
  jack_status_t status{};
  jack_client_t* c = jack_client_open("emu-system-test-probe", JackNoStartServer, &status);
  if (!c) return false;
  jack_client_close(c);
  return true;
}

// The emulator's port among a port list, -1 when absent.
template <class Port>
int Find(Port& port) {
  for (unsigned i = 0; i < port.getPortCount(); ++i)
    if (port.getPortName(i).find("Vesk Emulator") != std::string::npos) return static_cast<int>(i);
  return -1;
}

// Stops (SIGTERM, then SIGKILL) what it started, also when an assertion failed.
struct Child {
  std::unique_ptr<QProcess> p = std::make_unique<QProcess>();
  ~Child() { stop(); }
  int stop() {
    if (p->state() == QProcess::Starting) p->waitForStarted(20000);
    if (p->state() == QProcess::NotRunning) return p->exitCode();
    p->terminate();
    if (!p->waitForFinished(3000)) {
      p->kill();
      p->waitForFinished(3000);
      return -1;
    }
    return p->exitStatus() == QProcess::NormalExit ? p->exitCode() : -1;
  }
};

class EmulatorProgram : public testing::Test {
 protected:
  void SetUp() override {
    jack_set_error_function(&Quiet);
    jack_set_info_function(&Quiet);
    qputenv("JACK_NO_AUDIO_RESERVATION", "1");
    if (QStandardPaths::findExecutable("jackd").isEmpty()) GTEST_SKIP() << "no jackd on this machine";
    // Servers that start at the same moment (parallel tests) can trip over each other: try again
    // under a new name when one gives up.
    static int serial = 0;
    for (int attempt = 0; attempt < 5; ++attempt) {
      server_ = "tavoro-emu-" + std::to_string(QCoreApplication::applicationPid()) + "-" + std::to_string(++serial);
      qputenv("JACK_DEFAULT_SERVER", server_.c_str());
      jackd_.stop();
      jackd_.p->setProcessChannelMode(QProcess::MergedChannels);
      // --sync: the server waits for its clients instead of dropping their MIDI on a busy machine.
      jackd_.p->start("jackd", {"--no-realtime", "--sync", "--timeout", "10000", "-n", QString::fromStdString(server_),
                                "-d", "dummy", "-r", "48000", "-p", "1024"});
      ASSERT_TRUE(jackd_.p->waitForStarted(20000)) << "jackd cannot be started";
      for (int i = 0; i < 300 && jackd_.p->state() == QProcess::Running && !ServerUp(); ++i)
        std::this_thread::sleep_for(50ms);
      if (ServerUp()) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(100 + 150 * attempt));
    }
    FAIL() << "no JACK server came up: " << jackd_.p->readAll().toStdString();
  }

  // Starts the program and waits for its "ready" line (again when a busy JACK server turned its
  // client away: the program then says so and stops).
  void startEmulator(const QStringList& flags) {
    for (int attempt = 0; attempt < 3 && !output_.contains("ready\n"); ++attempt) {
      output_.clear();
      emulator_.stop();
      emulator_.p->start(QCoreApplication::applicationDirPath() + "/vesk-emulator", flags);
      ASSERT_TRUE(emulator_.p->waitForStarted(20000));
      for (int i = 0; i < 300 && !output_.contains("ready\n"); ++i) {
        if (!emulator_.p->waitForReadyRead(100) && emulator_.p->state() == QProcess::NotRunning) break;
        output_ += QString::fromUtf8(emulator_.p->readAllStandardOutput());
      }
    }
    ASSERT_TRUE(output_.contains("ready\n")) << output_.toStdString()
                                             << emulator_.p->readAllStandardError().toStdString();
  }

  // Opens our own ports connected to the emulator's.
  void openPorts() {
    in_ = std::make_unique<RtMidiIn>(RtMidi::UNIX_JACK, "emu-test-in");
    out_ = std::make_unique<RtMidiOut>(RtMidi::UNIX_JACK, "emu-test-out");
    in_->ignoreTypes(false, true, true);
    const int src = Find(*in_), dst = Find(*out_);
    ASSERT_TRUE(src >= 0 && dst >= 0) << "the emulator's ports are missing on " << server_ << "; it said:\n"
                                      << output_.toStdString();
    in_->openPort(static_cast<unsigned>(src), "in");
    out_->openPort(static_cast<unsigned>(dst), "out");
  }

  // Opens the ports and waits until the emulator answers.
  void connect() {
    ASSERT_NO_FATAL_FAILURE(openPorts());
    // A connection carries data from the server's next cycle on: prod until the key is answered.
    Message reply;
    for (int i = 0; i < 20 && reply != Status(0, deviceId_); ++i)
      reply = exchange(Req({0x11, 0x01, 0x01, 0x00}, deviceId_), 250ms);
    ASSERT_EQ(reply, Status(0, deviceId_)) << "the emulator never answered";
    drain();
  }

  // Drops late answers to earlier prods.
  void drain() {
    Message m;
    for (auto quietSince = std::chrono::steady_clock::now(); std::chrono::steady_clock::now() - quietSince < 200ms;) {
      in_->getMessage(&m);
      if (!m.empty()) quietSince = std::chrono::steady_clock::now();
      std::this_thread::sleep_for(5ms);
    }
  }

  Message exchange(const Message& m, std::chrono::milliseconds wait = 3000ms) {
    out_->sendMessage(&m);
    Message reply;
    const auto end = std::chrono::steady_clock::now() + wait;
    while (reply.empty() && std::chrono::steady_clock::now() < end) {
      in_->getMessage(&reply);
      if (reply.empty()) std::this_thread::sleep_for(5ms);
    }
    return reply;
  }

  void TearDown() override {
    in_.reset();
    out_.reset();
    emulator_.stop();
    jackd_.stop();
  }

  int deviceId_ = 0;
  std::string server_;
  Child jackd_, emulator_;
  QString output_;
  std::unique_ptr<RtMidiIn> in_;
  std::unique_ptr<RtMidiOut> out_;
};

TEST_F(EmulatorProgram, AnswersOnJackPortsAndStopsCleanlyOnSigterm) {
  ASSERT_NO_FATAL_FAILURE(startEmulator({"--api", "jack"}));
  EXPECT_TRUE(output_.contains("api: jack\n"));
  EXPECT_TRUE(output_.contains("input: Vesk Emulator")) << output_.toStdString();
  EXPECT_TRUE(output_.contains("output: Vesk Emulator")) << output_.toStdString();
  ASSERT_NO_FATAL_FAILURE(connect());

  EXPECT_EQ(exchange(Req({0x11, 0x01, 0x01, 0x00})), Status(0));
  const Message wave = exchange(DumpReq(0, 0));
  EXPECT_EQ(wave.size(), 148u) << "a whole System Exclusive dump crosses the port";

  EXPECT_EQ(emulator_.stop(), 0);
  output_ += QString::fromUtf8(emulator_.p->readAllStandardOutput());
  EXPECT_TRUE(output_.contains("stopped: received ")) << output_.toStdString();
}

TEST_F(EmulatorProgram, FaultFlagsReachTheInstrument) {
  deviceId_ = 3;
  ASSERT_NO_FATAL_FAILURE(startEmulator({"--status", "4", "--device-id", "3"}));
  ASSERT_NO_FATAL_FAILURE(openPorts());  // every message is refused, so no prod until status 0
  Message reply;
  for (int i = 0; i < 20 && reply.empty(); ++i) reply = exchange(Req({0x11, 0x01, 0x01, 0x00}, 3), 250ms);
  EXPECT_EQ(reply, Status(4, 3));
  drain();
  EXPECT_TRUE(exchange(Req({0x11, 0x01, 0x01, 0x00}, 4), 300ms).empty()) << "another device id";
}

TEST_F(EmulatorProgram, ConnectsItselfToANamedClientsPorts) {
  in_ = std::make_unique<RtMidiIn>(RtMidi::UNIX_JACK, "emu-peer");
  out_ = std::make_unique<RtMidiOut>(RtMidi::UNIX_JACK, "emu-peer");
  in_->ignoreTypes(false, true, true);
  in_->openVirtualPort("peer in");
  out_->openVirtualPort("peer out");
  ASSERT_NO_FATAL_FAILURE(startEmulator({"--connect", "emu-peer"}));
  EXPECT_TRUE(output_.contains("input: Vesk Emulator <- emu-peer")) << output_.toStdString();
  Message reply;
  for (int i = 0; i < 20 && reply.empty(); ++i) reply = exchange(Req({0x11, 0x01, 0x01, 0x00}), 250ms);
  EXPECT_EQ(reply, Status(0));
}

TEST_F(EmulatorProgram, SaysWhyWhenThereIsNothingToConnectTo) {
  QByteArray said;
  // A busy server may turn the client away first; that is another refusal, so ask again.
  for (int attempt = 0; attempt < 3 && !said.contains("no MIDI ports of \"nobody-here\""); ++attempt) {
    emulator_.p->start(QCoreApplication::applicationDirPath() + "/vesk-emulator", {"--connect", "nobody-here"});
    ASSERT_TRUE(emulator_.p->waitForFinished(20000));
    EXPECT_EQ(emulator_.p->exitCode(), 1);
    said = emulator_.p->readAllStandardError();
  }
  EXPECT_TRUE(said.contains("no MIDI ports of \"nobody-here\"")) << said.toStdString();
}

}  // namespace
}  // namespace emu

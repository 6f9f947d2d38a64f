// The link over real JACK MIDI ports: a private JACK server with the dummy driver, the
// vesk-emulator program on it, and the link opening the ports by device number, sending the
// front-panel key 0 and getting status 0. Everything started here is stopped here, also when an
// assertion fails.
#include <gtest/gtest.h>
#include <signal.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>

#include "link/link.h"
#include "platform/ui/message_box.h"
#include "platform/ui/wait.h"
#include "tests/link/recording_host.h"
#include "tests/support/jack_server.h"

namespace tavoro::testing {
namespace {

// vesk-emulator on the test's JACK server; stopped with SIGTERM when the object goes away.
class EmulatorProcess {
 public:
  EmulatorProcess() {
    proc_.setProgram(QString::fromUtf8(VESK_EMULATOR_PATH));
    proc_.setArguments({"--api", "jack"});
    proc_.setProcessChannelMode(QProcess::SeparateChannels);
    proc_.start();
  }
  ~EmulatorProcess() {
    if (proc_.state() == QProcess::NotRunning) return;
    ::kill(static_cast<pid_t>(proc_.processId()), SIGTERM);
    if (!proc_.waitForFinished(5000)) {
      proc_.kill();
      proc_.waitForFinished(5000);
    }
  }
  // Reads its stdout until "ready"; false when it ends or says nothing in time.
  bool WaitReady(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
      while (proc_.canReadLine()) {
        const std::string line = proc_.readLine().trimmed().toStdString();
        output_ += line + "\n";
        if (line == "ready") return true;
      }
      if (proc_.state() == QProcess::NotRunning) return false;
      proc_.waitForReadyRead(100);
    }
    return false;
  }
  std::string Log() { return output_ + proc_.readAllStandardError().toStdString(); }

 private:
  QProcess proc_;
  std::string output_;
};

// Restores an environment variable when the test ends.
class EnvOverride {
 public:
  EnvOverride(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) saved_ = old;
    setenv(name, value, 1);
  }
  ~EnvOverride() {
    if (saved_) setenv(name_, saved_->c_str(), 1);
    else unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> saved_;
};

int FindDevice(int count, const std::function<std::string(int)>& nameOf, const std::string& part) {
  for (int k = 0; k < count; ++k)
    if (nameOf(k).find(part) != std::string::npos) return k;
  return -1;
}

TEST(LinkOverJack, FrontPanelKeyGetsStatusZero) {
  test::JackServer jack;
  ASSERT_TRUE(jack.running()) << jack.log();
  EmulatorProcess emulator;
  ASSERT_TRUE(emulator.WaitReady(10000)) << emulator.Log();

  EnvOverride api("TAVORO_MIDI_API", "jack");
  plat::BoxRecorder boxes;
  plat::PlainLamp ledIn, ledOut;
  RecordingHost host;
  StartupTrace trace;
  plat::MIDIInput in;
  plat::MIDIOutput out;
  Link link(LinkParts{in, out, ledIn, ledOut, host, trace});

  // The device numbers of the emulator's ports, as a user picks them from the lists.
  const int inDevice = FindDevice(in.DeviceCount(), [&](int k) {
    in.SetDeviceID(k);
    return in.DeviceName();
  }, "Vesk Emulator");
  const int outDevice = FindDevice(out.DeviceCount(), [&](int k) {
    out.SetDeviceID(k);
    return out.DeviceName();
  }, "Vesk Emulator");
  ASSERT_GE(inDevice, 0) << "no JACK input named after the emulator; it said:\n" << emulator.Log();
  ASSERT_GE(outDevice, 0) << emulator.Log();

  link.settings.InDeviceId = static_cast<std::int16_t>(inDevice);
  link.settings.OutDeviceId = static_cast<std::int16_t>(outDevice);
  ASSERT_TRUE(link.OpenInputDevice());
  ASSERT_TRUE(link.OpenOutputDevice());
  plat::WaitUntil([] { return false; }, 200);  // let JACK settle the new connections

  ASSERT_TRUE(link.MidiOutLongMsg(link.Frame(FrontPanelKey(0))));
  const VeskResponse r = link.GetVeskResponse(5000, kStatusMode);
  EXPECT_TRUE(r.Accepted()) << "text '" << r.text << "'\n" << emulator.Log() << "\njackd:\n" << jack.log();
  EXPECT_EQ(r.text, "0");
  EXPECT_TRUE(boxes.boxes.empty()) << (boxes.boxes.empty() ? "" : boxes.boxes[0].text);

  in.SetAction(plat::midi::Stop);
  in.SetAction(plat::midi::Close);
  out.SetAction(plat::midi::Stop);
  out.SetAction(plat::midi::Close);
}

}  // namespace
}  // namespace tavoro::testing

#pragma once
// The delete, load bank and stereo merge windows driven offscreen against the emulator: each
// window is shown modally as the main window shows it, and the test acts inside the modal show.

#include <QTimer>
#include <algorithm>
#include <functional>
#include <memory>

#include "tests/mainwindow/app_fixture.h"

namespace tavoro::testing {

// The window on screen titled `title`, or named so ("frmProgress"); windows unloaded but not yet
// deleted are not.
inline QWidget* ShownWindow(const char* title) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible() && (w->windowTitle() == QString::fromLatin1(title) || w->objectName() == QString::fromLatin1(title)))
      return w;
  return nullptr;
}

class OperationsFixture : public AppFixture {
 protected:
  // Runs `act` with the window titled `title` once `open` has shown it, and returns when the
  // modal show is over. A window still up after `act` is closed, and the test fails.
  template <class F>
  F* WhileShown(const char* title, const std::function<void()>& open, const std::function<void(F&)>& act) {
    F* seen = nullptr;
    auto over = std::make_shared<bool>(false);
    QTimer::singleShot(0, [&, over] {
      seen = dynamic_cast<F*>(ShownWindow(title));
      if (seen == nullptr) return;
      act(*seen);
      // Still up once the handlers have returned: a test that forgot to close it must not hang.
      QTimer::singleShot(0, [title, over] {
        if (*over) return;
        if (QWidget* left = ShownWindow(title); left && left->isModal()) {
          ADD_FAILURE() << title << " is still up";
          left->close();
        }
      });
    });
    open();
    *over = true;
    EXPECT_NE(seen, nullptr) << "no window " << title;
    return seen;
  }

  // The main window is closed while the operation `start` begins waits for the instrument:
  // 50 ms into a wait for a reply that the instrument, silent to `silentTo`, never sends; or,
  // with `closeAt` given, as soon as the program has sent that message for the `nth` time
  // (answered late). The close waits for the operation: the ports close only after it, and
  // nothing at all reaches the instrument after the close. Returns what the instrument received
  // from `start` on.
  std::vector<Bytes> CloseDuring(const std::function<void()>& start, emu::Request silentTo = emu::Request::Any,
                                 const Bytes& closeAt = {}, int nth = 1) {
    std::size_t atClose = 0;
    bool running = true, portsClosedWhileRunning = false;
    auto closeNow = [this, &atClose] {
      atClose = peer->vesk().received().size();
      w().close();
    };
    const std::string closeAtLog = "out.sysex " + plat::ToHex(plat::Bytes(closeAt));
    const std::string portClosing = "out.action " + std::to_string(plat::midi::Close);
    link().onControlLog = [&](const std::string& what) {
      if (what == portClosing && running) portsClosedWhileRunning = true;
      if (!closeAt.empty() && what == closeAtLog && --nth == 0) QTimer::singleShot(0, &w(), closeNow);
    };
    if (closeAt.empty()) {
      peer->vesk().setSilent(true);
      peer->vesk().setFaultsOnly(silentTo);
      QTimer::singleShot(50, &w(), closeNow);
    } else {
      peer->vesk().setReplyDelay(30);
    }
    TakeReceived();
    start();
    running = false;
    plat::ResetWaitsEnding();
    QApplication::processEvents();
    link().onControlLog = nullptr;
    EXPECT_TRUE(w().Unloaded());
    EXPECT_EQ(w().ctlMIDIout.PortOpen(), 0);
    EXPECT_FALSE(portsClosedWhileRunning) << "the ports closed under the running operation";
    const auto got = TakeReceived();
    EXPECT_EQ(got.size(), atClose) << "nothing is sent after the close";
    return got;
  }

  // Records, as each System Exclusive message goes out, whether a reply was still held
  // (MidiInBusy) or the in lamp still lit; `busy` must outlive the recording, which
  // StopRecording ends.
  void RecordInBusyAtSends(std::vector<bool>& busy) {
    link().onControlLog = [this, &busy](const std::string& what) {
      if (what.rfind("out.sysex", 0) == 0) busy.push_back(link().MidiInBusy || link().ledMIDIin.Value());
    };
  }
  void StopRecording() { link().onControlLog = nullptr; }

  // The Waves of the emulator's bank as the store holds them after a download, Wave `idx` shown.
  void StoreWaves(std::int16_t idx) {
    ObjectStore& s = app->store;
    s.WaveDir.Entries = {{0, 0, "Grand Piano C4"}, {1, 1, "Str Ensemble"}, {2, 2, "Snare Tight   "}, {3, 5, "Warm Pad"},
                         {4, 12, "Fretless Bass"}};
    s.WaveDir.Count = 5;
    s.WaveStatus.LowestNum = 0;
    s.WaveStatus.HighestNum = 12;
    s.WaveLoaded = true;
    s.WaveDirIdx = idx;
  }
  void ShowPage(int tab) {
    w().Tavorotab->SetCurrTab(tab);
    w().Tavorotab_Click();
  }

  // The message as framed with the default device id 7F.
  static Bytes Framed(std::initializer_list<std::uint8_t> body) {
    Bytes m;
    m.reserve(body.size() + 8);
    for (std::uint8_t b : {0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F}) m.push_back(b);
    for (std::uint8_t b : body) m.push_back(b);
    m.push_back(0xF7);
    return m;
  }
};

inline constexpr int kWavePage = 6, kTonePage = 3, kPresetPage = 0;

}  // namespace tavoro::testing

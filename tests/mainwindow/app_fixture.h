#pragma once
// A whole program per test: a fresh App started against the instrument emulator on the loopback
// bus, with message boxes recorded, reply time-outs scaled down and the settings emptied first.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <dlfcn.h>
#include <memory>
#include <string>
#include <vector>

#include "emulator/loopback/loopback_peer.h"
#include "link/link.h"
#include "mainwindow/app.h"
#include "mainwindow/main_window.h"
#include "platform/com/server.h"
#include "platform/registry/registry.h"
#include "platform/ui/find_window.h"
#include "platform/ui/message_box.h"
#include "platform/ui/sysinfo.h"
#include "platform/ui/wait.h"

namespace tavoro::testing {

using Bytes = std::vector<std::uint8_t>;

// The front-panel key message as the program frames it (device id 7F).
inline Bytes KeyMessage(std::uint8_t key) { return {0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x11, 0x01, 0x01, key, 0xF7}; }

inline void RunEventsFor(int ms) { plat::WaitUntil([] { return false; }, ms); }

// The top-level window titled `title`, once windows closed meanwhile have gone; null when none.
inline QWidget* WindowTitled(const char* title) {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  return plat::FindTopLevelWindow(title);
}

inline void ClearSettings() {
  plat::reg::RegDeleteTree(plat::reg::HKEY_CURRENT_USER, "Software\\Brevix");
}

// Writes "Home Directory" so the trace file lands in a directory of the test's own.
inline void SetHomeDirectory(const std::string& dir) {
  plat::reg::HKEY key = 0;
  plat::reg::RegCreateKeyEx(plat::reg::HKEY_CURRENT_USER, "Software\\Brevix\\Tavoro\\Application", 0, "tavoro", 0,
                            plat::reg::KEY_ALL_ACCESS, &key, nullptr);
  plat::reg::RegSetString(key, "Home Directory", dir);
  plat::reg::RegCloseKey(key);
}

// Registers the lamp library into the tests' registry (once per test program), so the main
// window's activity lamps are lamp controls as in the installed program.
inline void RegisterLampLibrary() {
  static const bool registered = [] {
    void* lib = dlopen(GLIMMET_LIBRARY, RTLD_NOW);
    if (lib == nullptr) return false;
    auto reg = reinterpret_cast<plat::com::DllRegisterServerFn>(dlsym(lib, "DllRegisterServer"));
    return reg != nullptr && plat::com::Succeeded(reg());
  }();
  ASSERT_TRUE(registered) << "cannot register " << GLIMMET_LIBRARY;
}

class AppFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::ResetWaitsEnding();
    // 5000 ms waits end after 500 ms: short for the silent cases, long enough for a reply under
    // the sanitizers on a busy machine.
    plat::SetTimeoutScale(0.1);
    plat::SetScreenTwipsOverride(plat::ScreenTwips{11000, 8000, 11000, 8000});  // no centring
    ClearSettings();
    RegisterLampLibrary();
    ASSERT_TRUE(home.isValid());
    SetHomeDirectory(home.path().toStdString());
    if (withPeer) peer = std::make_unique<emu::LoopbackPeer>();
  }
  void TearDown() override {
    app.reset();
    peer.reset();
    plat::SetScreenTwipsOverride(std::nullopt);
    plat::SetTimeoutScale(1.0);
    plat::ResetWaitsEnding();
    ClearSettings();
  }

  int Start(const std::string& commandLine = {}) {
    app = std::make_unique<App>(commandLine);
    return app->Start();
  }
  frmMain& w() { return app->main(); }
  Link& link() { return app->link(); }
  std::string Panel(int i) { return w().stbMainForm->Panels(i).Text(); }

  // Messages the emulator received since the last call.
  std::vector<Bytes> TakeReceived() {
    std::vector<Bytes> got(peer->vesk().received().begin(), peer->vesk().received().end());
    peer->vesk().clearReceived();
    return got;
  }
  // The texts of the boxes shown so far.
  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> t;
    for (const auto& b : boxes.boxes) t.push_back(b.text);
    return t;
  }

  bool withPeer = true;
  QTemporaryDir home;
  plat::BoxRecorder boxes;
  std::unique_ptr<emu::LoopbackPeer> peer;
  std::unique_ptr<App> app;
};

}  // namespace tavoro::testing

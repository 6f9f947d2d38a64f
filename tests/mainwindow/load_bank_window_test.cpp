// The load bank window against the emulator: the device list from the disk table, the message,
// the time-outs of a SCSI and a floppy load, what is remembered, and the refusals.
#include <QAbstractItemView>
#include <QFile>
#include <QtTest/QTest>

#include "dialogs/load_bank.h"
#include "tests/mainwindow/operations_fixture.h"

namespace tavoro::testing {
namespace {

class LoadBankWindowTest : public OperationsFixture {
 protected:
  void SetUp() override {
    OperationsFixture::SetUp();
    ASSERT_EQ(Start(), 0);
    // SCSI ids 2 and 5 installed (device indexes 3 and 6), the others not.
    auto& disks = link().settings.DiskDevices;
    for (std::size_t d = 1; d < disks.size(); ++d) disks[d].Installed = (d == 3 || d == 6) ? 1 : 0;
    disks[3].VolName = "Samples HD";
    disks[3].DevType = 1;
    disks[6].VolName = "Zip 100";
    disks[6].DevType = 2;
    peer->vesk().disks()[3] = {true, 2000};
    TakeReceived();
  }
  // Shortens the time-outs for the load's own wait only: once the load has reached the instrument
  // (its wait under way) they are whole again, so the reread after it does not time out on a
  // loaded machine.
  void ShortenTheLoadWait(double scale) {
    plat::SetTimeoutScale(scale);
    QObject::connect(&whole, &QTimer::timeout, [this] {
      for (const auto& m : peer->vesk().received())
        if (m.size() >= emu::head::Command && m[emu::head::Command - 1] == 0x30) {
          plat::SetTimeoutScale(1.0);
          whole.stop();
        }
    });
    whole.start(1);
  }
  QTimer whole;
  // Picks list entry `i` as the commit timer applies it once the list has closed.
  static void Choose(frmLoadBank& f, int i) {
    f.cboLoadBank->SetListIndex(i);
    f.cboLoadBank_Change();
  }
  frmLoadBank* LoadBank(const std::function<void(frmLoadBank&)>& act) {
    return WhileShown<frmLoadBank>("Load Disk Bank", [this] { frmLoadBank::ShowModal(w().Operations()); }, act);
  }
};

TEST_F(LoadBankWindowTest, TheListHoldsTheFloppyAndTheInstalledDevices) {
  LoadBank([&](frmLoadBank& f) {
    ASSERT_EQ(f.cboLoadBank->ListCount(), 3);
    EXPECT_EQ(f.cboLoadBank->List(0), "Floppy Disk");
    EXPECT_EQ(f.cboLoadBank->List(1), "Samples HD");
    EXPECT_EQ(f.cboLoadBank->List(2), "Zip 100");
    // The floppy drive first: bank 0, locked, no stepping.
    EXPECT_EQ(f.cboLoadBank->ListIndex(), 0);
    EXPECT_EQ(f.txtBankNum(0).Text(), "0");
    EXPECT_TRUE(f.txtBankNum(0).Locked());
    EXPECT_FALSE(f.spnBankNum(0).isEnabled());
    f.cmdCancel->click();
  });
  EXPECT_TRUE(TakeReceived().empty());
}

// Loading bank 1234 from SCSI id 2 waits up to a minute: a slow disk's answer after more than
// the 20-second wait still counts. The device and the bank are offered again next time.
TEST_F(LoadBankWindowTest, ABankFromASCSIDiskIsAskedForAndRemembered) {
  ShortenTheLoadWait(0.01);                 // a minute is 600 ms, 20 seconds 200 ms
  peer->vesk().setCommandDelay(0x30, 350);  // the disk takes its time
  std::vector<bool> inBusy;
  RecordInBusyAtSends(inBusy);
  LoadBank([&](frmLoadBank& f) {
    Choose(f, 1);
    EXPECT_FALSE(f.txtBankNum(0).Locked());
    f.txtBankNum(0).SetText("1233");
    f.spnBankNum(0).SpinUp();
    EXPECT_EQ(f.txtBankNum(0).Text(), "1234");
    f.cmdLoad->click();
  });
  const auto got = TakeReceived();
  ASSERT_FALSE(got.empty());
  EXPECT_EQ(got.front(), Framed({0x30, 0x01, 0, 0, 0, 3, 0x00, 0x02, 0x00, 0x04, 0x0D, 0x02}));
  StopRecording();
  EXPECT_GT(inBusy.size(), 1u);
  EXPECT_EQ(std::count(inBusy.begin(), inBusy.end(), true), 0) << "nothing went out with a reply or the lamp held";
  EXPECT_TRUE(boxes.boxes.empty()) << BoxTexts().front();
  EXPECT_EQ(peer->vesk().bank().global.bankName.substr(0, 14), "SCSI2 Bank 123");
  EXPECT_EQ(Panel(6).rfind("Free RAM: ", 0), 0u);
  EXPECT_EQ(link().settings.LastDisk, 3);
  EXPECT_EQ(ShownWindow("Load Bank"), nullptr);
  EXPECT_EQ(w().MousePointer(), 0);
  EXPECT_EQ(plat::TimeoutScale(), 1.0) << "the load was never seen waiting";

  LoadBank([&](frmLoadBank& f) {
    EXPECT_EQ(f.cboLoadBank->Text(), "Samples HD");
    EXPECT_EQ(f.txtBankNum(0).Text(), "1234");
    f.cmdCancel->click();
  });
}

// The floppy drive has no time-out: an answer long after a minute is waited for. A send that
// fails (a device id the frame cannot carry) ends that wait at once.
TEST_F(LoadBankWindowTest, AFloppyLoadWaitsWithoutTimeOutYetNotAfterAFailedSend) {
  ShortenTheLoadWait(0.001);
  peer->vesk().setCommandDelay(0x30, 400);  // far beyond a scaled minute (60 ms)
  LoadBank([&](frmLoadBank& f) { f.cmdLoad->click(); });
  EXPECT_EQ(plat::TimeoutScale(), 1.0) << "the load was never seen waiting";
  auto got = TakeReceived();
  ASSERT_FALSE(got.empty());
  EXPECT_EQ(got.front(), Framed({0x30, 0x01, 0, 0, 0, 3, 0x07, 0x0F, 0, 0, 0, 0}));
  EXPECT_TRUE(boxes.boxes.empty()) << BoxTexts().front();
  EXPECT_EQ(peer->vesk().bank().global.bankName.substr(0, 13), "Floppy Bank 0");

  plat::SetTimeoutScale(0.001);  // the page shown afterwards is read again, and waits
  link().settings.SysExDeviceId = 0x80;
  LoadBank([&](frmLoadBank& f) { f.cmdLoad->click(); });
  EXPECT_TRUE(TakeReceived().empty());
  EXPECT_FALSE(boxes.boxes.empty());
  EXPECT_EQ(ShownWindow("Load Bank"), nullptr);
  EXPECT_FALSE(link().MidiOutBusy || link().MidiInBusy);
}

TEST_F(LoadBankWindowTest, ClosingTheProgramWhileTheLoadWaitsSendsAndShowsNothingMore) {
  const auto got = CloseDuring([&] {
    WhileShown<frmLoadBank>("Load Disk Bank", [this] { w().cmdLoadBank_Click(); },
                            [&](frmLoadBank& f) { f.cmdLoad->click(); });  // the floppy: no time-out
  });
  EXPECT_EQ(got, std::vector<Bytes>{Framed({0x30, 0x01, 0, 0, 0, 3, 0x07, 0x0F, 0, 0, 0, 0})});
  EXPECT_TRUE(boxes.boxes.empty()) << BoxTexts().front();
}

// A device chosen in the dropped list is applied once the list has closed, through the main
// window's choice-list timer.
TEST_F(LoadBankWindowTest, AChoiceFromTheDroppedListIsAppliedWhenTheListCloses) {
  LoadBank([&](frmLoadBank& f) {
    f.activateWindow();
    QApplication::setActiveWindow(&f);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    f.cboLoadBank->setFocus();
    QTest::keyClick(f.cboLoadBank, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.cboLoadBank->IsDropped(); }));
    QTest::keyClick(f.cboLoadBank->view(), Qt::Key_Down);
    QTest::keyClick(f.cboLoadBank->view(), Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !f.txtBankNum(0).Locked(); }, 2000));
    EXPECT_EQ(f.cboLoadBank->Text(), "Samples HD");
    EXPECT_TRUE(f.spnBankNum(0).isEnabled());
    f.cmdCancel->click();
  });
}

TEST_F(LoadBankWindowTest, LoadDoesNothingWhileBusyAndRefusesAnEmptyBank) {
  LoadBank([&](frmLoadBank& f) {
    Choose(f, 2);
    link().MidiInBusy = true;
    f.cmdLoad->click();
    int key = '5';
    f.txtBankNum_KeyPress(key);
    EXPECT_EQ(key, 0);
    link().MidiInBusy = false;
    EXPECT_TRUE(f.isVisible());
    // The Delete key empties the box past the key filter, which takes digits only.
    f.txtBankNum(0).SetText("12");
    f.txtBankNum(0).setFocus();
    f.txtBankNum(0).selectAll();
    QTest::keyClick(&f.txtBankNum(0), Qt::Key_Delete);
    EXPECT_EQ(f.txtBankNum(0).Text(), "");
    f.cmdLoad->click();
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Please select a valid Bank Number to load."});
    EXPECT_TRUE(f.isVisible());
    f.cmdCancel->click();
  });
  EXPECT_TRUE(TakeReceived().empty());
}

TEST_F(LoadBankWindowTest, BankNumberSteppingStaysWithinItsRange) {
  struct Case {
    const char* before;
    bool up;
    const char* after;
  };
  const Case cases[] = {{"9999", true, "9999"}, {"0", false, "0"}, {"", true, "0"}, {"", false, "0"},
                        {"41", true, "42"},     {"41", false, "40"}};
  LoadBank([&](frmLoadBank& f) {
    Choose(f, 1);
    for (const Case& c : cases) {
      f.txtBankNum(0).SetText(c.before);
      c.up ? f.spnBankNum_SpinUp() : f.spnBankNum_SpinDown();
      EXPECT_EQ(f.txtBankNum(0).Text(), c.after) << c.before << (c.up ? " up" : " down");
    }
    f.cmdCancel->click();
  });
}

// The device pictures show only when tavoro.res lies in the home directory.
TEST_F(LoadBankWindowTest, DevicePicturesNeedTheResourceFile) {
  LoadBank([&](frmLoadBank& f) {
    Choose(f, 1);
    EXPECT_TRUE(f.picLoadDiskBank->pixmap().isNull());
    f.cmdCancel->click();
  });
  QFile res(home.filePath("tavoro.res"));
  ASSERT_TRUE(res.open(QIODevice::WriteOnly));
  res.close();
  LoadBank([&](frmLoadBank& f) {
    const QImage floppy = f.picLoadDiskBank->pixmap().toImage();
    EXPECT_FALSE(floppy.isNull());
    Choose(f, 2);
    EXPECT_NE(f.picLoadDiskBank->pixmap().toImage(), floppy);
    if (const QByteArray dir = qgetenv("TAVORO_SCREENSHOT_DIR"); !dir.isEmpty())
      f.grab().save(QString::fromLocal8Bit(dir) + "/load-bank.png");
    f.cmdCancel->click();
  });
}

}  // namespace
}  // namespace tavoro::testing

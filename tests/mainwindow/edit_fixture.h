#pragma once
// The running program with a Tone and a Wave of the emulator in its store, and the tools the
// page-edit tests share: typing into a box as the user does, and reading what the instrument
// received.

#include <QApplication>
#include <QtTest/QTest>

#include "editing/page_fillers.h"
#include "emulator/core/bank.h"
#include "objects/transfer.h"
#include "tests/mainwindow/app_fixture.h"

namespace tavoro::testing {

class EditFixture : public AppFixture {
 protected:
  static constexpr long kRed = 255, kBlack = 0;

  void SetUp() override {
    AppFixture::SetUp();
    Stock(peer->vesk().bank());
    ASSERT_EQ(Start(), 0);
    QApplication::setActiveWindow(&w());
  }

  // Changes the instrument's objects before the program starts.
  virtual void Stock(emu::Bank&) {}

  ObjectStore& store() { return app->store; }
  EditFlags& flags() { return app->flags; }
  TabPages& pages() { return w().pages; }
  EditContext Context() { return w().Editing(); }

  // Reads the Waves' and Tones' directories and the given objects as the download does, shows
  // the page `tab` with the object's number in the header, and forgets what was sent so far.
  void LoadObjects(int tone, int wave, int tab) {
    ObjectTransfer t(link(), store());
    ObjectStore& s = store();
    s.WaveStatus = t.GetObjDirStatus(Code(ObjType::Wave));
    s.WaveDir = t.GetObjDir(Code(ObjType::Wave));
    s.ToneStatus = t.GetObjDirStatus(Code(ObjType::Tone));
    s.ToneDir = t.GetObjDir(Code(ObjType::Tone));
    if (tone >= 0) {
      ASSERT_TRUE(t.ToneObjDump(static_cast<std::int16_t>(tone)));
    }
    if (wave >= 0) {
      ASSERT_TRUE(t.WaveObjDump(static_cast<std::int16_t>(wave)));
    }
    auto indexOf = [](const ObjDir& dir, int number) {
      for (const DirEntry& e : dir.Entries)
        if (e.Number == number) return e.Index;
      return std::int16_t{0};
    };
    s.ToneDirIdx = indexOf(s.ToneDir, tone);
    s.WaveDirIdx = indexOf(s.WaveDir, wave);
    EditContext ctx = Context();
    LoadToneDisplay(ctx);
    LoadWaveDisplay(ctx);
    Show(tab);
    TakeReceived();
  }
  void Show(int tab) {
    w().Tavorotab->SetCurrTab(tab);
    w().Tavorotab_Click();
    QApplication::processEvents();
    TakeReceived();
  }

  // Empties the box as the program would, then types `keys` into it with the focus there.
  void Type(plat::ctl::TextBox& box, const char* keys) {
    flags().SuppressChange = true;
    box.SetText("");
    flags().SuppressChange = false;
    Focus(box);
    QTest::keyClicks(&box, keys);
  }
  void Enter(plat::ctl::TextBox& box) { QTest::keyClick(&box, Qt::Key_Return); }
  void Commit(plat::ctl::TextBox& box, const char* keys) {
    Type(box, keys);
    Enter(box);
  }
  // Writes a box's text as a page fill does (no edit).
  void Fill(plat::ctl::TextBox& box, const std::string& text) {
    flags().SuppressChange = true;
    box.SetText(text);
    flags().SuppressChange = false;
  }
  void Click(plat::ctl::OptionButton& option) { QTest::mouseClick(&option, Qt::LeftButton, {}, QPoint(6, 6)); }
  // A click on the spin button's upper (up) or lower (down) arrow.
  void Spin(plat::ctl::SpinButton& spin, bool up) {
    const QRect r = spin.rect();
    QTest::mouseClick(&spin, Qt::LeftButton, {}, QPoint(r.width() / 2, up ? 2 : r.height() - 3));
  }
  void Focus(QWidget& widget) {
    w().activateWindow();
    QApplication::setActiveWindow(&w());
    widget.setFocus();
    QApplication::processEvents();
  }

  // The instrument refuses the next message with an error status.
  void RefuseNext() {
    peer->vesk().setForcedStatus(emu::status::IllegalValue);
    peer->vesk().setFaultCount(1);
  }
  // The uploads among the messages received since the last call (command 02 at position 8).
  std::vector<Bytes> Uploads(const std::vector<Bytes>& received) {
    std::vector<Bytes> out;
    for (const Bytes& m : received)
      if (m.size() > 9 && m[7] == 0x02) out.push_back(m);
    return out;
  }
  // The one upload among the messages received since the last call, empty when not exactly one;
  // with `readBack` given, that many reads follow it.
  Bytes OneUpload(int readBack = -1) {
    const auto got = TakeReceived();
    const auto uploads = Uploads(got);
    EXPECT_EQ(uploads.size(), 1u);
    if (readBack >= 0) { EXPECT_EQ(got.size(), 1 + static_cast<std::size_t>(readBack)); }
    return uploads.size() == 1 ? uploads.front() : Bytes{};
  }
  // The `count` nibbles at the 1-based `position` of the one upload received since the last
  // call (with `readBack` given, that many reads follow it); -1 when none was sent, -2 for more.
  long Sent(std::size_t position, std::size_t count = 2, int readBack = -1) {
    const auto got = TakeReceived();
    const auto uploads = Uploads(got);
    if (uploads.size() != 1) return uploads.empty() ? -1 : -2;
    if (readBack >= 0) { EXPECT_EQ(got.size(), 1 + static_cast<std::size_t>(readBack)); }
    return Nibbles(uploads[0], position, count);
  }
  // The value of `count` nibbles at the 1-based position of a message.
  static long Nibbles(const Bytes& m, std::size_t position, std::size_t count) {
    long v = 0;
    for (std::size_t i = 0; i < count; ++i) v = v * 16 + m.at(position - 1 + i);
    return v;
  }
};

}  // namespace tavoro::testing

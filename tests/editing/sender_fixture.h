#pragma once
// The parameter senders against the instrument emulator over the loopback bus: the object
// transfer's fixture plus the tab pages in a window, the edit flags and the editing context, and
// the page handlers' share of the commit protocol reduced to what the senders rely on.

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "editing/edit_context.h"
#include "editing/sender_support.h"
#include "objects/codec.h"
#include "pages/tab_pages.h"
#include "tests/objects/transfer_fixture.h"

namespace tavoro::testing {

class SenderFixture : public TransferFixture {
 protected:
  using TextBox = plat::ctl::TextBox;

  void SetUp() override {
    TransferFixture::SetUp();
    window = std::make_unique<QWidget>();
    pages = std::make_unique<TabPages>();
    for (int i = 0; i < TabPages::kTabCount; ++i) pages->vseTabStrip(i).setParent(window.get());
    txtObjectNum = new TextBox(window.get());
    txtObjectNum->SetName("txtObjectNum");
    txtObjectName = new TextBox(window.get());
    txtObjectName->SetName("txtObjectName");
    EditorView view;
    view.pages = pages.get();
    view.txtObjectNum = txtObjectNum;
    view.txtObjectName = txtObjectName;
    ctx = std::make_unique<EditContext>(EditContext{*link, store, flags, view, lists, nullptr});
  }

  void TearDown() override {
    ctx.reset();
    pages.reset();
    window.reset();
    TransferFixture::TearDown();
  }

  emu::Message& Stored(emu::Kind kind, int number) { return vesk().bank().of(kind).at(number); }

  // The page handler's reply to a program write: the flag is taken back and the text is black.
  // Any other change is passed to `commit` when Enter stands (a nested commit).
  void Handle(TextBox& box, std::function<void()> commit = {}) {
    box.Change = [this, &box, commit] {
      if (flags.ProgramTextSet) {
        flags.ProgramTextSet = false;
        box.SetForeColor(kTextBlack);
        return;
      }
      if (commit && !flags.SuppressChange && flags.LastKeyAscii == kKeyEnter) commit();
    };
  }

  // The user types `text` (red, change events suppressed meanwhile) and presses Enter.
  void Type(TextBox& box, const std::string& text) {
    flags.SuppressChange = true;
    box.SetText(text);
    box.SetForeColor(kTextRed);
    flags.SuppressChange = false;
    flags.LastKeyAscii = kKeyEnter;
  }

  // A program fill: the text without any change event.
  void Show(TextBox& box, const std::string& text) {
    flags.SuppressChange = true;
    box.SetText(text);
    flags.SuppressChange = false;
  }

  // Shows the window as the active one, so focus moves between its controls.
  void ShowActive() {
    window->show();
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  }
  // ... and gives `c` the focus, so it is the active control.
  void Activate(plat::ctl::Control& c) {
    ShowActive();
    c.SetFocus();
  }

  // What the instrument received since the last call.
  std::vector<plat::Bytes> TakeSent() {
    std::vector<plat::Bytes> got;
    for (const auto& m : vesk().received()) got.emplace_back(m);
    vesk().clearReceived();
    return got;
  }
  // The uploads among them (command 02), without the requests of the read-backs.
  std::vector<plat::Bytes> TakeUploads() {
    std::vector<plat::Bytes> got;
    for (auto& m : TakeSent())
      if (m.size() > 8 && m.at(8) == 0x02) got.push_back(std::move(m));
    return got;
  }

  // `sent` is one message with the byte `value` at nibble position `pos`, or nothing when `value`
  // is negative.
  static void ExpectSentByte(const std::vector<plat::Bytes>& sent, std::size_t pos, int value) {
    if (value < 0) {
      EXPECT_TRUE(sent.empty());
      return;
    }
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(HexByte(sent[0], pos), value);
  }

  // The instrument refuses the value typed into `box`: it went out once, the sender reports no
  // change and the text stays red.
  void ExpectRefused(TextBox& box, const std::string& typed, const std::function<bool()>& commit) {
    vesk().setForcedStatus(emu::status::IllegalValue);
    Type(box, typed);
    EXPECT_FALSE(commit());
    EXPECT_EQ(box.ForeColor(), kTextRed);
    EXPECT_EQ(TakeSent().size(), 1u) << "sent once, never again";
  }

  EditFlags flags;
  PageControlLists lists;
  std::unique_ptr<QWidget> window;
  std::unique_ptr<TabPages> pages;
  TextBox* txtObjectNum = nullptr;
  TextBox* txtObjectName = nullptr;
  std::unique_ptr<EditContext> ctx;
};

}  // namespace tavoro::testing

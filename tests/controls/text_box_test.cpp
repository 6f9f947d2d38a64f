// Text boxes as the edit-commit protocol relies on them: change events on program writes, the key
// filter with swallowing, MaxLength on typing only, and no way around the filter.
#include "platform/controls/text_box.h"

#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <vector>

#include "tests/controls/window_fixture.h"

using plat::ctl::TextBox;

namespace {

class TextBoxTest : public controls_test::WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    box = new TextBox(window.get());
    box->setGeometry(10, 10, 200, 24);
    box->Change = [this] { changes.push_back(box->Text()); };
  }

  // The number-box filter of the main window: Backspace, Enter and digits; 0 swallows the rest.
  void DigitsOnly() {
    box->KeyPress = [this](int& key) {
      keys.push_back(key);
      if (key == 13) key = 0;
      if (key != 8 && key != 13 && (key < '0' || key > '9')) key = 0;
    };
  }

  QAction* MenuAction(QMenu* menu, const QString& text) {
    for (QAction* a : menu->actions())
      if (a->text() == text) return a;
    return nullptr;
  }

  TextBox* box = nullptr;
  std::vector<std::string> changes;
  std::vector<int> keys;
};

TEST_F(TextBoxTest, ChangeIsRaisedByProgramWritesAndTypingButNotByAnUnchangedWrite) {
  Show();
  box->SetText("12");
  EXPECT_EQ(changes, std::vector<std::string>{"12"});
  box->SetText("12");  // the same text: no change event
  EXPECT_EQ(changes.size(), 1u);
  box->SetText("");
  EXPECT_EQ(changes.back(), "");

  box->setFocus();
  QTest::keyClicks(box, "45");
  EXPECT_EQ(changes, (std::vector<std::string>{"12", "", "4", "45"}));
}

TEST_F(TextBoxTest, ChangeHandlerMayWriteTheBoxAgain) {
  box->Change = [this] {
    changes.push_back(box->Text());
    if (box->Text() == "x") box->SetText("y");
  };
  box->SetText("x");
  EXPECT_EQ(changes, (std::vector<std::string>{"x", "y"}));
  EXPECT_EQ(box->Text(), "y");
}

TEST_F(TextBoxTest, KeyPressSeesEveryKeyAndZeroSwallowsIt) {
  DigitsOnly();
  Show();
  box->setFocus();
  QTest::keyClicks(box, "1a:2-");
  EXPECT_EQ(box->Text(), "12");
  EXPECT_EQ(keys, (std::vector<int>{'1', 'a', ':', '2', '-'}));

  QTest::keyClick(box, Qt::Key_Backspace);
  EXPECT_EQ(keys.back(), 8);
  EXPECT_EQ(box->Text(), "1");

  const auto changesBefore = changes.size();
  QTest::keyClick(box, Qt::Key_Return);
  EXPECT_EQ(keys.back(), 13);
  EXPECT_EQ(box->Text(), "1");
  EXPECT_EQ(changes.size(), changesBefore);
}

TEST_F(TextBoxTest, KeyPressMayReplaceTheKey) {
  box->KeyPress = [](int& key) {
    if (key >= 'a' && key <= 'z') key -= 32;
  };
  Show();
  box->setFocus();
  QTest::keyClicks(box, "gt");
  EXPECT_EQ(box->Text(), "GT");
}

TEST_F(TextBoxTest, MaxLengthLimitsTypingButNeverTheProgramsWrites) {
  box->SetMaxLength(3);
  Show();
  box->setFocus();
  QTest::keyClicks(box, "12345");
  EXPECT_EQ(box->Text(), "123");

  box->SetText("None Loaded");
  EXPECT_EQ(box->Text(), "None Loaded");
  box->end(false);
  QTest::keyClicks(box, "x");
  EXPECT_EQ(box->Text(), "None Loaded");
  QTest::keyClick(box, Qt::Key_Backspace);
  EXPECT_EQ(box->Text(), "None Loade");

  // Typing over a selection replaces it, so the limit is counted without the selection.
  box->SetText("123");
  box->selectAll();
  QTest::keyClicks(box, "9");
  EXPECT_EQ(box->Text(), "9");
}

TEST_F(TextBoxTest, PastedAndDroppedTextPassesTheFilterCharacterByCharacter) {
  DigitsOnly();
  Show();
  box->setFocus();
  QApplication::clipboard()->setText("1a-2");

  QTest::keySequence(box, QKeySequence::Paste);
  EXPECT_EQ(box->Text(), "12");
  EXPECT_EQ(keys, (std::vector<int>{'1', 'a', '-', '2'}));

  box->SetText("");
  std::unique_ptr<QMenu> menu(box->CreateContextMenu());
  QAction* paste = MenuAction(menu.get(), "&Paste");
  ASSERT_NE(paste, nullptr);
  paste->trigger();
  EXPECT_EQ(box->Text(), "12");

  box->SetText("");
  QMimeData mime;
  mime.setText("7x8");
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(box, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(box, &drop);
  EXPECT_EQ(box->Text(), "78");
  EXPECT_EQ(drop.dropAction(), Qt::CopyAction);
}

TEST_F(TextBoxTest, PasteRespectsMaxLength) {
  box->SetMaxLength(2);
  Show();
  box->setFocus();
  box->PasteText("12345");
  EXPECT_EQ(box->Text(), "12");
}

TEST_F(TextBoxTest, ErasingKeysAndMenuEditsAskTheFilterAsBackspace) {
  bool takeBackspace = false;
  box->KeyPress = [&](int& key) {
    keys.push_back(key);
    if (key == 8 && !takeBackspace) key = 0;
  };
  Show();
  box->setFocus();
  box->SetText("123");
  changes.clear();

  box->setCursorPosition(0);
  QTest::keyClick(box, Qt::Key_Delete);
  EXPECT_EQ(box->Text(), "123");
  EXPECT_EQ(keys, std::vector<int>{8});
  EXPECT_TRUE(changes.empty());

  box->selectAll();
  std::unique_ptr<QMenu> menu(box->CreateContextMenu());
  MenuAction(menu.get(), "Cu&t")->trigger();
  MenuAction(menu.get(), "&Delete")->trigger();
  EXPECT_EQ(box->Text(), "123");
  EXPECT_TRUE(changes.empty());

  takeBackspace = true;
  box->setCursorPosition(0);
  QTest::keyClick(box, Qt::Key_Delete);
  EXPECT_EQ(box->Text(), "23");

  // Moving the cursor erases nothing and asks nothing.
  keys.clear();
  QTest::keyClick(box, Qt::Key_End);
  QTest::keyClick(box, Qt::Key_Home);
  EXPECT_TRUE(keys.empty());
}

TEST_F(TextBoxTest, UndoCannotBringBackTextTheFilterNeverSaw) {
  DigitsOnly();
  Show();
  box->setFocus();
  QTest::keyClicks(box, "12");
  box->SetText("");
  QTest::keySequence(box, QKeySequence::Undo);
  EXPECT_EQ(box->Text(), "");
}

TEST_F(TextBoxTest, ALockedBoxKeepsItsTextButStillReportsKeys) {
  box->KeyPress = [this](int& key) { keys.push_back(key); };
  box->SetText("None Loaded");
  box->SetLocked(true);
  Show();
  box->setFocus();
  QTest::keyClicks(box, "ab");
  QTest::keyClick(box, Qt::Key_Backspace);
  box->PasteText("zz");
  EXPECT_EQ(box->Text(), "None Loaded");
  EXPECT_EQ(keys, (std::vector<int>{'a', 'b', 8}));
  box->SetText("Other");  // the program still writes a locked box
  EXPECT_EQ(box->Text(), "Other");
}

TEST_F(TextBoxTest, ForeColorNumbersGiveBlackAndRed) {
  box->SetForeColor(255);
  EXPECT_EQ(box->ForeColor(), 255);
  EXPECT_EQ(box->palette().color(QPalette::Text), QColor(255, 0, 0));
  box->SetForeColor(0);
  EXPECT_EQ(box->palette().color(QPalette::Text), QColor(0, 0, 0));
}

TEST_F(TextBoxTest, SymbolFontShowsCharacter165AsInfinityWithoutChangingTheText) {
  EXPECT_EQ(box->FontName(), "MS Sans Serif");
  box->SetFontName("Symbol");
  box->SetText("\xA5");
  EXPECT_EQ(box->Text(), "\xA5");
  EXPECT_EQ(box->QLineEdit::text(), QString(QChar(0x221E)));
  changes.clear();

  box->SetFontName("MS Sans Serif");  // the same character, now shown as itself
  EXPECT_EQ(box->Text(), "\xA5");
  EXPECT_EQ(box->QLineEdit::text(), QString(QChar(0xA5)));
  EXPECT_TRUE(changes.empty());

  Show();
  box->setFocus();
  box->end(false);
  QTest::keyClicks(box, "5");
  EXPECT_EQ(box->Text(), "\xA5" "5");
}

}  // namespace

namespace {

// A settings box takes digits only, Backspace included in what it refuses; with the Delete key
// unfiltered the user can still remove text, and Change reports it.
TEST_F(TextBoxTest, UnfilteredDeleteKeyErasesPastADigitsOnlyFilter) {
  struct Case {
    bool filtered;
    Qt::Key key;
    std::string text;
    std::vector<int> asked;
  };
  const Case cases[] = {
      {false, Qt::Key_Delete, "23", {}},
      {true, Qt::Key_Delete, "123", {8}},
      {false, Qt::Key_Backspace, "123", {8}},
  };
  Show();
  for (const Case& c : cases) {
    box->KeyPress = [this](int& key) {
      keys.push_back(key);
      if (key < '0' || key > '9') key = 0;
    };
    box->SetDeleteKeyFiltered(c.filtered);
    box->setFocus();
    box->SetText("123");
    box->setCursorPosition(c.key == Qt::Key_Delete ? 0 : 1);
    keys.clear();
    changes.clear();
    QTest::keyClick(box, c.key);
    EXPECT_EQ(box->Text(), c.text) << c.filtered << " " << c.key;
    EXPECT_EQ(keys, c.asked) << c.filtered << " " << c.key;
    EXPECT_EQ(changes.size(), c.text == "123" ? 0u : 1u);
  }
  // Cut erases without asking too.
  box->SetDeleteKeyFiltered(false);
  box->SetText("123");
  box->selectAll();
  keys.clear();
  QTest::keyClick(box, Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(box->Text(), "");
  EXPECT_TRUE(keys.empty());
  // A locked box stays as it is.
  box->SetText("123");
  box->SetLocked(true);
  box->setCursorPosition(0);
  QTest::keyClick(box, Qt::Key_Delete);
  EXPECT_EQ(box->Text(), "123");
}

}  // namespace

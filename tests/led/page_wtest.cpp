// The "General" property page on a real (offscreen) window.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "platform/ui/message_box.h"
#include "tests/led/led_support.h"

using namespace ledtest;
using namespace glimmet;
using plat::ax::IPropertyPage;

namespace {

class PropertyPage : public LedTest {
 protected:
  void SetUp() override {
    LedTest::SetUp();
    lamp_ = NewLamp();
    page_ = NewPage();
    ASSERT_TRUE(lamp_);
    ASSERT_TRUE(page_);
    IUnknown* objects[] = {lamp_.get()};
    ASSERT_EQ(page_->SetObjects(objects), S_OK);
    sheet_ = std::make_unique<QWidget>();
    ASSERT_EQ(page_->Activate(sheet_.get()), S_OK);
    sheet_->show();
  }
  void TearDown() override {
    page_->Deactivate();
    sheet_.reset();
    page_.Reset();
    lamp_.Reset();
    LedTest::TearDown();
  }
  template <class W>
  W* Find(int id) {
    return sheet_->findChild<W*>(QString("ctl%1").arg(id));
  }
  void Type(int id, const QString& text) {
    QLineEdit* e = Find<QLineEdit>(id);
    e->setFocus();
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Backspace);
    QTest::keyClicks(e, text);
  }

  ComPtr<IControl> lamp_;
  ComPtr<IPropertyPage> page_;
  std::unique_ptr<QWidget> sheet_;
};

}  // namespace

TEST_F(PropertyPage, ADefaultLampShowsItsBevelsAndBorder) {
  EXPECT_EQ(Find<QComboBox>(IDC_OUTER_STYLE)->currentText(), "Raised");
  EXPECT_EQ(Find<QComboBox>(IDC_INNER_STYLE)->currentText(), "Lowered");
  EXPECT_EQ(Find<QLineEdit>(IDC_OUTER_WIDTH)->text(), "1");
  EXPECT_EQ(Find<QLineEdit>(IDC_INNER_WIDTH)->text(), "1");
  EXPECT_EQ(Find<QLineEdit>(IDC_BORDER_WIDTH)->text(), "4");
  EXPECT_EQ(page_->IsPageDirty(), S_FALSE);

  QComboBox* outer = Find<QComboBox>(IDC_OUTER_STYLE);
  QStringList items;
  for (int i = 0; i < outer->count(); ++i) items << outer->itemText(i);
  EXPECT_EQ(items, (QStringList{"None", "Raised", "Inset", "Lowered", "Solid"}));

  QStringList labels;
  for (QLabel* l : sheet_->findChildren<QLabel*>()) labels << l->text();
  labels.sort();
  EXPECT_EQ(labels, (QStringList{"Border Width:", "Inner Style:", "Outer Style:", "Pixels", "Pixels", "Pixels",
                                 "Width:", "Width:"}));
  ASSERT_EQ(sheet_->findChildren<QGroupBox*>().size(), 1);
  EXPECT_EQ(sheet_->findChildren<QGroupBox*>().front()->title(), "Bevel Styles");

  plat::ax::PageInfo info;
  ASSERT_EQ(page_->GetPageInfo(&info), S_OK);
  EXPECT_EQ(info.title, "General");
  EXPECT_GT(info.size.width(), info.size.height());
}

TEST_F(PropertyPage, ChoosingSolidAndApplyingSetsTheOuterBevel) {
  QComboBox* outer = Find<QComboBox>(IDC_OUTER_STYLE);
  outer->setFocus();
  QTest::keyClick(outer, Qt::Key_End);  // the last entry, "Solid"
  EXPECT_EQ(outer->currentText(), "Solid");
  EXPECT_EQ(page_->IsPageDirty(), S_OK);
  EXPECT_EQ(GetInt(lamp_.get(), dispidBevelOuter), 1);  // nothing before applying
  ASSERT_EQ(page_->Apply(), S_OK);
  EXPECT_EQ(GetInt(lamp_.get(), dispidBevelOuter), 4);
  EXPECT_EQ(page_->IsPageDirty(), S_FALSE);
  // Only what was changed is set.
  EXPECT_EQ(GetInt(lamp_.get(), dispidBevelInner), 3);
  EXPECT_EQ(GetInt(lamp_.get(), dispidBorderWidth), 4);
}

TEST_F(PropertyPage, TypedWidthsAreApplied) {
  Type(IDC_BORDER_WIDTH, "-2");
  Type(IDC_INNER_WIDTH, "3");
  ASSERT_EQ(page_->Apply(), S_OK);
  EXPECT_EQ(GetInt(lamp_.get(), dispidBorderWidth), -2);
  EXPECT_EQ(GetInt(lamp_.get(), dispidBevelWidthInner), 3);
}

TEST_F(PropertyPage, BadInputIsRefusedAndThePageStaysDirty) {
  plat::BoxRecorder boxes;
  for (const char* text : {"abc", "40000", "-32769", "", "1.5"}) {
    Type(IDC_BORDER_WIDTH, text);
    EXPECT_EQ(page_->Apply(), E_FAIL) << text;
    EXPECT_EQ(page_->IsPageDirty(), S_OK) << text;
    EXPECT_EQ(GetInt(lamp_.get(), dispidBorderWidth), 4) << text;
  }
  ASSERT_EQ(boxes.boxes.size(), 5u);
  EXPECT_EQ(boxes.boxes[0].text, "Please enter an integer between -32768 and 32767.");
  // A bad box stops the whole apply: a good change beside it waits too.
  Type(IDC_BORDER_WIDTH, "x");
  Type(IDC_INNER_WIDTH, "2");
  EXPECT_EQ(page_->Apply(), E_FAIL);
  EXPECT_EQ(GetInt(lamp_.get(), dispidBevelWidthInner), 1);
  Type(IDC_BORDER_WIDTH, "6");
  EXPECT_EQ(page_->Apply(), S_OK);
  EXPECT_EQ(GetInt(lamp_.get(), dispidBevelWidthInner), 2);
  EXPECT_EQ(GetInt(lamp_.get(), dispidBorderWidth), 6);
}

TEST_F(PropertyPage, ASettersErrorIsShownAndLeavesThePageDirty) {
  plat::BoxRecorder boxes;
  Type(IDC_OUTER_WIDTH, "-1");  // a whole number, but BevelWidthOuter refuses it (error 380)
  EXPECT_EQ(page_->Apply(), E_FAIL);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "BevelWidthOuter: Invalid property value");
  EXPECT_EQ(page_->IsPageDirty(), S_OK);
  EXPECT_EQ(GetInt(lamp_.get(), dispidBevelWidthOuter), 1);
  Type(IDC_OUTER_WIDTH, "2");
  EXPECT_EQ(page_->Apply(), S_OK);
  EXPECT_EQ(GetInt(lamp_.get(), dispidBevelWidthOuter), 2);
}

TEST_F(PropertyPage, TheSheetGoingAwayFirstIsSafe) {
  sheet_.reset();  // the page's widgets go with it
  EXPECT_EQ(page_->PageWidget(), nullptr);
  EXPECT_EQ(page_->Deactivate(), S_OK);
  sheet_ = std::make_unique<QWidget>();
  EXPECT_EQ(page_->Activate(sheet_.get()), S_OK);
  EXPECT_EQ(Find<QLineEdit>(IDC_BORDER_WIDTH)->text(), "4");
}

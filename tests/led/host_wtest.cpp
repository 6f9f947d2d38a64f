// Lamps sited on a window: the program's two activity lamps, through COM and their stored data.
#include <QApplication>
#include <QHBoxLayout>
#include <QPainter>
#include <QTest>

#include "platform/host/hosted_lamp.h"
#include "platform/ui/message_box.h"
#include "tests/led/led_support.h"

using namespace ledtest;
using namespace glimmet;
using plat::host::ControlHost;

namespace {

class Host : public LedTest {
 protected:
  void SetUp() override {
    LedTest::SetUp();
    ASSERT_EQ(Glimmet().registerServer(), S_OK);
    window_ = std::make_unique<QWidget>();
    window_->resize(120, 60);
  }
  void TearDown() override {
    window_.reset();
    LedTest::TearDown();
  }
  // The colour in the middle of a lamp as it is on screen.
  static QRgb Centre(QWidget* lamp) {
    const QImage img = lamp->grab().toImage();
    return img.pixel(img.width() / 2, img.height() / 2) & 0xFFFFFF;
  }
  std::unique_ptr<QWidget> window_;
};

}  // namespace

TEST_F(Host, TheTwoActivityLampsAreSitedFromTheirStoredBlocks) {
  plat::LampFactory factory;
  QWidget* outWidget = nullptr;
  QWidget* inWidget = nullptr;
  auto out = factory.Create(window_.get(), plat::StoredLedMIDIout(), &outWidget);
  auto in = factory.Create(window_.get(), plat::StoredLedMIDIin(), &inWidget);
  ASSERT_NE(outWidget, nullptr);
  ASSERT_NE(inWidget, nullptr);
  EXPECT_FALSE(factory.ToldUnavailable());
  inWidget->move(40, 0);
  window_->show();
  EXPECT_EQ(outWidget->size(), QSize(24, 24));

  auto* host = static_cast<ControlHost*>(outWidget);
  Variant v;
  EXPECT_EQ(host->GetProperty(dispidOnColor, &v), S_OK);
  EXPECT_EQ(v, Variant::I4(0x0000FF00));
  EXPECT_EQ(host->GetProperty(dispidOffColor, &v), S_OK);
  EXPECT_EQ(v, Variant::I4(0x00808080));
  EXPECT_EQ(host->GetProperty(plat::ax::DISPID_BACKCOLOR, &v), S_OK);
  EXPECT_EQ(v, Variant::I4(static_cast<std::int32_t>(0x8000000Fu)));

  // Off at first, grey; Value switches the face.
  EXPECT_EQ(Centre(outWidget), 0x808080u);
  EXPECT_EQ(Centre(inWidget), 0x808080u);
  out->SetValue(true);
  EXPECT_TRUE(out->Value());
  EXPECT_EQ(Centre(outWidget), 0x00FF00u);  // green
  in->SetValue(true);
  EXPECT_EQ(Centre(inWidget), 0xFF0000u);  // red (Qt's RGB order)
  out->SetValue(false);
  EXPECT_EQ(Centre(outWidget), 0x808080u);
  EXPECT_EQ(Glimmet().canUnloadNow(), S_FALSE);

  // For the eye: both lamps lit, at four times the size.
  out->SetValue(true);
  QImage shot = window_->grab(QRect(0, 0, 64, 24)).toImage();
  shot.scaled(shot.size() * 4).save(QString(LED_ARTIFACT_DIR) + "/activity_lamps.png");

  // Closing the window with live lamps releases them; the lamps outlive their windows safely.
  window_.reset();
  EXPECT_EQ(Glimmet().canUnloadNow(), S_OK);
  out->SetValue(false);
  EXPECT_FALSE(out->Value());
}

TEST_F(Host, SettingValueAsksForARepaint) {
  ControlHost host(window_.get());
  ASSERT_EQ(host.Site(CLSID_LED, plat::StoredLedMIDIin()), S_OK);
  window_->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  QApplication::processEvents();
  EXPECT_EQ(host.SetProperty(dispidValue, Variant::Bool(true)), S_OK);
  EXPECT_EQ(host.SetProperty(dispidBevelInner, Variant::I2(9)), CTL_E_INVALIDPROPERTYVALUE);
  EXPECT_EQ(host.SetProperty(dispidVersion, Variant::Text("1")), CTL_E_SETNOTSUPPORTEDATRUNTIME);
  host.SetUserMode(false);
  EXPECT_EQ(host.SetProperty(dispidVersion, Variant::Text("1")), CTL_E_SETNOTSUPPORTED);
  host.ReleaseControl();
  EXPECT_EQ(host.SetProperty(dispidValue, Variant::Bool(true)), E_UNEXPECTED);
  EXPECT_EQ(Glimmet().canUnloadNow(), S_OK);
}

TEST_F(Host, StoredDataWithAWrongLengthIsRefusedAndTheLampKeepsItsDefaults) {
  auto stored = plat::StoredLedMIDIout();
  ControlHost host(window_.get());
  for (std::uint8_t length : {0x2F, 0x31, 0x00, 0xFF}) {
    auto bad = stored;
    bad[0] = length;
    EXPECT_EQ(host.Site(CLSID_LED, bad), STG_E_READFAULT) << int{length};
    ASSERT_NE(host.Control(), nullptr);
    Variant v;
    host.GetProperty(dispidOnColor, &v);
    EXPECT_EQ(v, Variant::I4(0x000000FF)) << int{length};  // the default, not the stored green
  }
  const std::vector<std::uint8_t> tiny = {0x30, 0x00};
  EXPECT_EQ(host.Site(CLSID_LED, tiny), STG_E_READFAULT);
  auto truncated = stored;
  truncated.resize(20);
  truncated[0] = 16;
  EXPECT_EQ(host.Site(CLSID_LED, truncated), STG_E_READFAULT);
  EXPECT_EQ(host.Site(CLSID_LED, {}), S_OK);  // no stored data: defaults, fine

  // An absurd stored extent does not blow up the window.
  auto huge = stored;
  huge[4 + 4] = 0xFF;
  huge[4 + 5] = 0xFF;
  huge[4 + 6] = 0xFF;
  huge[4 + 7] = 0x7F;
  host.resize(30, 30);
  EXPECT_EQ(host.Site(CLSID_LED, huge), S_OK);
  EXPECT_EQ(host.size(), QSize(30, 30));
  window_->show();
  host.grab();  // paints without harm
}

TEST_F(Host, MouseInputReachesTheLamp) {
  ControlHost host(window_.get());
  ASSERT_EQ(host.Site(CLSID_LED, {}), S_OK);
  window_->show();
  // A click on a lamp is harmless (the program handles none of its events).
  QTest::mouseClick(&host, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  QTest::mouseDClick(&host, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  QTest::mouseMove(&host, QPoint(6, 6));
  SUCCEED();
}

TEST_F(Host, WithoutTheRegisteredLibraryTheProgramSaysSoOnceAndUsesPlainLamps) {
  ASSERT_EQ(Glimmet().unregisterServer(), S_OK);
  plat::BoxRecorder boxes;
  plat::LampFactory factory;
  QWidget* widget = reinterpret_cast<QWidget*>(1);
  auto out = factory.Create(window_.get(), plat::StoredLedMIDIout(), &widget);
  auto in = factory.Create(window_.get(), plat::StoredLedMIDIin());
  EXPECT_EQ(widget, nullptr);
  ASSERT_TRUE(out);
  ASSERT_TRUE(in);
  EXPECT_TRUE(factory.ToldUnavailable());
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].icon, plat::BoxIcon::Information);
  EXPECT_NE(boxes.boxes[0].text.find("{3B9C41EF-0FF1-4DDF-8132-D472FDB12FE7}"), std::string::npos);
  EXPECT_TRUE(window_->findChildren<ControlHost*>().isEmpty());
  out->SetValue(true);
  EXPECT_TRUE(out->Value());
  in->SetValue(false);
  EXPECT_FALSE(in->Value());
}

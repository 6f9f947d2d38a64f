// Page clearing on the real window: every kind resets its own list by Tag and nothing else.
#include "editing/clear_display.h"
#include "platform/controls/buttons.h"
#include "platform/controls/lists.h"
#include "tests/mainwindow/app_fixture.h"

namespace tavoro::testing {
namespace {

using plat::ctl::ComboBox;
using plat::ctl::Control;
using plat::ctl::OptionButton;
using plat::ctl::ScrollBar;
using plat::ctl::Slider;
using plat::ctl::TextBox;

class ClearDisplayTest : public AppFixture {
 protected:
  void SetUp() override {
    AppFixture::SetUp();
    ASSERT_EQ(Start(), 0);
  }
  // Puts every control of a list into a filled, enabled state, as a page fill does: with change
  // events suppressed, so no page handler takes the writes for the user's edits.
  void Fill(const ControlList& list) {
    app->flags.SuppressChange = true;
    for (Control* c : list) {
      c->SetEnabled(true);
      if (auto* t = dynamic_cast<TextBox*>(c)) t->SetText("12");
      if (auto* o = dynamic_cast<OptionButton*>(c)) o->SetValue(true);
      if (auto* s = dynamic_cast<Slider*>(c)) s->SetValue(s->Max());
      if (auto* b = dynamic_cast<ScrollBar*>(c)) b->SetValue(b->Max());
      if (auto* x = dynamic_cast<ComboBox*>(c)) x->SetListIndex(x->ListCount() - 1);
    }
    app->flags.SuppressChange = false;
  }
  void Clear(std::uint8_t kind) { w().ClearObjDisplay(kind); }

  // Every entry reset by its Tag and disabled; spin buttons untouched.
  static void ExpectCleared(const ControlList& list, bool combosReset) {
    for (Control* c : list) {
      const std::string what = c->Name() + "(" + std::to_string(c->Index()) + ")";
      if (c->Tag() == "spn") {
        EXPECT_TRUE(c->Enabled()) << what;
        continue;
      }
      EXPECT_FALSE(c->Enabled()) << what;
      if (auto* t = dynamic_cast<TextBox*>(c)) {
        EXPECT_EQ(t->Text(), "") << what;
      }
      if (auto* o = dynamic_cast<OptionButton*>(c)) {
        EXPECT_FALSE(o->Value()) << what;
      }
      if (auto* s = dynamic_cast<Slider*>(c)) {
        const int lo = std::min(s->Min(), s->Max()), hi = std::max(s->Min(), s->Max());
        EXPECT_EQ(s->Value(), std::clamp(0, lo, hi)) << what;
      }
      if (auto* b = dynamic_cast<ScrollBar*>(c)) {
        EXPECT_EQ(b->Value(), b->Max()) << what << " keeps its position";
      }
      auto* x = dynamic_cast<ComboBox*>(c);
      if (x && combosReset) {
        EXPECT_EQ(x->Text(), x->List(0)) << what;
      }
    }
  }
  static bool AllEnabled(const ControlList& list) {
    for (Control* c : list)
      if (!c->Enabled()) return false;
    return true;
  }
};

TEST_F(ClearDisplayTest, WavePage) {
  Fill(app->lists.WaveControls);
  w().txtObjectName->SetLocked(false);
  w().txtObjectName->SetText("Kept");
  Clear(0);
  ExpectCleared(app->lists.WaveControls, false);
  EXPECT_TRUE(w().txtObjectName->Locked());
  EXPECT_EQ(w().txtObjectName->Text(), "Kept");
  EXPECT_FALSE(app->flags.SuppressChange);
}

TEST_F(ClearDisplayTest, TonePagesResetTheirCombosToTheFirstEntryAndEraseThePlots) {
  Fill(app->lists.ToneControls);
  Fill(app->lists.ToneControls2);
  w().pages.picEnv1->Line(0, 0, 300, 300, 0xFF);
  w().pages.lblEnv1Mode->SetCaption("Gate Mode");
  w().pages.lblEnv2Mode->SetCaption("Trigger Mode");
  Clear(1);
  ExpectCleared(app->lists.ToneControls, true);
  ExpectCleared(app->lists.ToneControls2, true);
  EXPECT_EQ(w().pages.cboTone(4).Text(), w().pages.cboTone(4).List(0));
  EXPECT_TRUE(w().pages.spnTone(0).Enabled());
  EXPECT_EQ(w().pages.lblEnv1Mode->Caption(), "");
  EXPECT_EQ(w().pages.lblEnv2Mode->Caption(), "");
  EXPECT_EQ(w().pages.picEnv1->Point(10, 10), w().pages.picEnv1->BackColor());
}

TEST_F(ClearDisplayTest, MapPageUnloadsZoneLabelsAndWhitensOnlyTheWhiteKeys) {
  Fill(app->lists.MapControls);
  w().lblZone.Load(1).SetVisible(true);
  w().lblZone.Load(2);
  w().lblZone(0).SetVisible(true);
  for (int i = 0; i < 72; ++i) w().pnlKey()(i).SetBackColor(0x00FF00);
  w().picMap().Line(0, 0, 600, 300, 0xFF);
  const int barValue = w().hsbKey().Value();
  Clear(2);
  ExpectCleared(app->lists.MapControls, false);
  EXPECT_EQ(w().hsbKey().Value(), barValue);
  EXPECT_EQ(w().lblZone.Indexes(), std::vector<int>{0});
  EXPECT_FALSE(w().lblZone(0).Visible());
  for (int i = 0; i < 72; ++i) {
    const bool black = app->lists.BlackKey[static_cast<std::size_t>(i % 12)];
    EXPECT_EQ(w().pnlKey()(i).BackColor(), black ? 0x00FF00 : 0xFFFFFF) << i;
  }
  EXPECT_EQ(w().picMap().Point(15, 15), w().picMap().BackColor());
  Clear(2);  // a second clear gives the same
  EXPECT_EQ(w().lblZone.Indexes(), std::vector<int>{0});
}

TEST_F(ClearDisplayTest, PresetPage) {
  Fill(app->lists.PresetControls);
  Clear(3);
  ExpectCleared(app->lists.PresetControls, true);
}

TEST_F(ClearDisplayTest, MultiAndGlobalHalvesOfTheSamePageAreClearedApart) {
  Fill(app->lists.MultiControls);
  Fill(app->lists.GlobalControls);
  Clear(18);
  ExpectCleared(app->lists.GlobalControls, true);
  EXPECT_TRUE(AllEnabled(app->lists.MultiControls));
  Fill(app->lists.GlobalControls);
  Clear(4);
  ExpectCleared(app->lists.MultiControls, true);
  EXPECT_TRUE(AllEnabled(app->lists.GlobalControls));
}

TEST_F(ClearDisplayTest, AnUnknownKindOnlyLocksTheNameBox) {
  Fill(app->lists.WaveControls);
  w().txtObjectName->SetLocked(false);
  for (std::uint8_t kind : {5, 6, 127}) {
    Clear(kind);
    EXPECT_TRUE(w().txtObjectName->Locked());
    w().txtObjectName->SetLocked(false);
  }
  EXPECT_TRUE(AllEnabled(app->lists.WaveControls));
  EXPECT_FALSE(app->flags.SuppressChange);
}

TEST_F(ClearDisplayTest, ChangeEventsRaisedByTheClearFindSuppressChangeSet) {
  Fill(app->lists.ToneControls2);
  std::vector<bool> seen;
  w().pages.txtDCA(0).Change = [&] { seen.push_back(app->flags.SuppressChange); };
  Clear(1);
  EXPECT_EQ(seen, std::vector<bool>{true});
  EXPECT_FALSE(app->flags.SuppressChange);
}

TEST_F(ClearDisplayTest, AMissingControlIsReportedAndLeavesNoSuppressedEdits) {
  PageControlLists broken = app->lists;
  broken.PresetControls.insert(broken.PresetControls.begin() + 3, nullptr);
  Fill(app->lists.PresetControls);
  ClearObjDisplay(w().View(), broken, app->flags, link(), 3);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "ClearObjDisplay()\r\nError clearing Object display");
  EXPECT_FALSE(app->flags.SuppressChange);
  EXPECT_FALSE(app->lists.PresetControls[0]->Enabled());  // what was reset before stays reset
  EXPECT_TRUE(app->lists.PresetControls[3]->Enabled());
}

}  // namespace
}  // namespace tavoro::testing

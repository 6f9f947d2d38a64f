#pragma once
// The running program with a Map, a Preset, a Multi and the Global data of the emulator on their
// pages, and the user's actions on those pages: typing and Enter, clicks on options and spin
// buttons, and what the instrument received.

#include <QDir>
#include <QImage>
#include <QtTest/QTest>
#include <cstdlib>
#include <initializer_list>
#include <string>

#include "tests/mainwindow/edit_fixture.h"

namespace tavoro::testing {

class PageEditFixture : public EditFixture {
 protected:
  static constexpr int kPreset1Tab = 0, kPreset2Tab = 1, kMapTab = 2, kGlobalTab = 7;

  // Reads every kind's status and directory, the objects named (-1: none) and the Global data as
  // the download does, fills their pages, shows `tab` and forgets what was sent so far.
  void LoadPages(int map, int preset, int multi, int tab) {
    ObjectTransfer t(link(), store());
    ObjectStore& s = store();
    for (ObjType k : {ObjType::Wave, ObjType::Tone, ObjType::Map, ObjType::Preset, ObjType::Multi}) {
      KindStore ks = StoreOf(s, k);
      ks.Status = t.GetObjDirStatus(Code(k));
      ks.Dir = t.GetObjDir(Code(k));
    }
    auto place = [](const ObjDir& dir, int number) {
      for (std::size_t i = 0; i < dir.Entries.size(); ++i)
        if (dir.Entries[i].Number == number) return static_cast<std::int16_t>(i);
      return std::int16_t{0};
    };
    EditContext ctx = Context();
    if (map >= 0) {
      ASSERT_TRUE(t.MapObjDump(static_cast<std::int16_t>(map)));
      s.MapDirIdx = place(s.MapDir, map);
      LoadMapDisplay(ctx);
    }
    if (preset >= 0) {
      ASSERT_TRUE(t.PresetObjDump(static_cast<std::int16_t>(preset)));
      s.PresetDirIdx = place(s.PresetDir, preset);
      LoadPresetDisplay(ctx);
    }
    if (multi >= 0) {
      ASSERT_TRUE(t.MultiObjDump(static_cast<std::int16_t>(multi)));
      s.MultiDirIdx = place(s.MultiDir, multi);
      LoadMultiDisplay(ctx);
    }
    ASSERT_TRUE(t.GlobalObjDump());
    LoadGlobalDisplay(ctx);
    Show(tab);
  }

  // Clicks through a walk on one box's spin button: after each step the box shows `shown`, and
  // the one upload (when `sent`) holds that number at `position`.
  struct SpinStep { bool up; const char* shown; bool sent; };
  void ExpectSpinWalk(plat::ctl::SpinButton& spin, plat::ctl::TextBox& box, std::size_t position,
                      std::initializer_list<SpinStep> walk) {
    for (const SpinStep& s : walk) {
      Spin(spin, s.up);
      EXPECT_EQ(Sent(position), s.sent ? std::stol(s.shown) : -1) << s.shown;
      EXPECT_EQ(box.Text(), s.shown);
    }
  }
  // With TAVORO_SCREENSHOT_DIR set, saves a picture of the window there as <name>.png.
  void SavePicture(const char* name) {
    QApplication::processEvents();
    const char* dir = std::getenv("TAVORO_SCREENSHOT_DIR");
    if (dir == nullptr || *dir == '\0') return;
    QDir().mkpath(dir);
    w().grab().toImage().save(QString("%1/%2.png").arg(dir, name));
  }
};

}  // namespace tavoro::testing

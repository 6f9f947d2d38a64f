// How the lamp paints: the exact calls of the worked example and its variants, pixels through
// the recording context and through QPainter, the metafile picture, and a gallery for the eye.
#include <QPainter>
#include <algorithm>
#include <climits>

#include "platform/gdi/system.h"
#include "tests/led/led_support.h"

using namespace ledtest;
using namespace glimmet;
namespace gdi = plat::gdi;

namespace {

// Lamps in the older look draw with fixed bevel colours and a fixed background, so the calls
// below do not depend on the desktop's palette.
class LampDrawing : public LedTest {
 protected:
  void SetUp() override {
    LedTest::SetUp();
    gdi::SetVersionForTesting(3);
  }
  void TearDown() override {
    gdi::SetVersionForTesting(0);
    TearDownLamps();
    LedTest::TearDown();
  }
  using Changes = std::vector<std::pair<DISPID, std::int32_t>>;
  ComPtr<IControl> Lamp(const Changes& changes = {}) {
    ComPtr<IControl> lamp = NewLamp();
    lamp->SetClientSite(&site_);
    for (const auto& [id, v] : changes) EXPECT_EQ(Put(lamp.get(), id, Variant::I4(v)), S_OK) << id;
    lamps_.push_back(lamp);
    return lamp;
  }
  void TearDownLamps() {
    for (auto& l : lamps_) l->SetClientSite(nullptr);
    lamps_.clear();
  }
  ~LampDrawing() override { TearDownLamps(); }
  TestSite site_;
  std::vector<ComPtr<IControl>> lamps_;
};

// The calls made on the memory context (without the shared frame of every drawing).
std::vector<std::string> Body(const std::vector<std::string>& calls) {
  std::vector<std::string> body;
  for (const std::string& c : calls)
    if (c.rfind("mem1: ", 0) == 0 && c != "mem1: SaveDC" && c != "mem1: SelectBitmap 32x32x32" &&
        c != "mem1: RestoreDC 1" && c != "mem1: DeleteDC")
      body.push_back(c.substr(6));
  return body;
}

constexpr gdi::COLORREF kGrey = 0x00C0C0C0;
constexpr gdi::COLORREF kWhite = 0x00FFFFFF;
constexpr gdi::COLORREF kShadow = 0x00808080;
constexpr gdi::COLORREF kRed = 0x000000FF;

}  // namespace

TEST_F(LampDrawing, TheDefaultLampMakesExactlyTheseCalls) {
  auto lamp = Lamp();
  const std::vector<std::string> expected = {
      "target: CreateCompatibleDC mem1",
      "mem1: SaveDC",
      "target: CreateCompatibleBitmap 32x32",
      "mem1: SelectBitmap 32x32x32",
      "mem1: FillRect (0,0,32,32) solid 00C0C0C0",
      // raised rectangular outer ring
      "mem1: SelectPen solid 00FFFFFF",
      "mem1: Polyline (0,30) (0,0) (32,0)",
      "mem1: SelectPen solid 00808080",
      "mem1: Polyline (0,31) (31,31) (31,0)",
      "mem1: SelectPen solid 00000000",
      // lowered elliptic inner ring in the box 5, 5, 28, 28
      "mem1: SelectPen null",
      "mem1: SelectBrush solid 00FFFFFF",
      "mem1: Ellipse (5,5,28,28)",
      "mem1: SelectBrush solid 00808080",
      "mem1: Chord (5,5,28,28) (28,5) (5,28)",
      "mem1: SelectPen solid 00000000",
      "mem1: SelectBrush solid 00FFFFFF",
      // red elliptic face in the box 6, 6, 27, 27
      "mem1: SelectBrush solid 000000FF",
      "mem1: SelectPen null",
      "mem1: Ellipse (6,6,27,27)",
      "target: BitBlt (0,0,32,32) mem1 (0,0) SRCCOPY",
      "mem1: RestoreDC 1",
      "mem1: DeleteDC",
  };
  const auto d = Draw(lamp.get());
  EXPECT_EQ(d.calls, expected);

  // What that looks like.
  EXPECT_EQ(Pixel(d.image, 0, 0), kWhite);
  EXPECT_EQ(Pixel(d.image, 31, 0), kWhite);   // the light line runs to the right edge
  EXPECT_EQ(Pixel(d.image, 0, 31), kShadow);  // the shadow line starts at the left edge
  EXPECT_EQ(Pixel(d.image, 31, 31), kShadow);
  EXPECT_EQ(Pixel(d.image, 2, 2), kGrey);     // the 4-pixel gap
  EXPECT_EQ(Pixel(d.image, 4, 16), kGrey);
  EXPECT_EQ(Pixel(d.image, 5, 16), kShadow);  // the ring: shadow at the upper left
  EXPECT_EQ(Pixel(d.image, 16, 5), kShadow);
  EXPECT_EQ(Pixel(d.image, 26, 16), kWhite);  // light at the lower right
  EXPECT_EQ(Pixel(d.image, 16, 26), kWhite);
  EXPECT_EQ(Pixel(d.image, 27, 16), kGrey);
  EXPECT_EQ(Pixel(d.image, 16, 16), kRed);
  EXPECT_EQ(Pixel(d.image, 6, 16), kRed);
  EXPECT_EQ(Pixel(d.image, 25, 16), kRed);
}

TEST_F(LampDrawing, TheFaceTakesTheOnOffOrDisabledColour) {
  struct Row {
    bool enabled;
    bool value;
    gdi::COLORREF face;
  };
  for (const Row& r : {Row{true, true, 0x0000FF00}, Row{true, false, 0x00808080}, Row{false, true, 0x00C0C0C0},
                       Row{false, false, 0x00C0C0C0}}) {
    auto lamp = Lamp({{dispidOnColor, 0x0000FF00}, {dispidDisabledColor, 0x00C0C0C0}});
    Put(lamp.get(), plat::ax::DISPID_ENABLED, Variant::Bool(r.enabled));
    Put(lamp.get(), dispidValue, Variant::Bool(r.value));
    const auto d = Draw(lamp.get());
    EXPECT_EQ(Pixel(d.image, 16, 16), r.face) << r.enabled << r.value;
    EXPECT_EQ(Body(d.calls)[13], "SelectBrush solid " + gdi::ColorText(r.face));
  }
}

TEST_F(LampDrawing, FaceColoursAreTheirStoredRgbWhileTheBackgroundIsTranslated) {
  struct Row { std::uint32_t on; gdi::COLORREF face; };
  for (const Row r : {Row{0x80000005u, 0x00000005}, Row{0x8000001Fu, 0x0000001F}, Row{0x0000FF00u, 0x0000FF00}}) {
    auto lamp = Lamp({{dispidOnColor, static_cast<std::int32_t>(r.on)}});
    const auto d = Draw(lamp.get());
    EXPECT_EQ(Pixel(d.image, 16, 16), r.face) << std::hex << r.on;
    EXPECT_EQ(Body(d.calls)[13], "SelectBrush solid " + gdi::ColorText(r.on)) << std::hex << r.on;
  }
  auto back = Lamp({{plat::ax::DISPID_BACKCOLOR, static_cast<std::int32_t>(0x8000000Fu)}});
  EXPECT_EQ(Pixel(Draw(back.get()).image, 2, 2), gdi::GetSysColor(gdi::COLOR_BTNFACE));
}

TEST_F(LampDrawing, EachRectangularOuterStyleDrawsItsLines) {
  struct Row {
    std::int16_t style;
    std::vector<std::string> lines;
  };
  const Row rows[] = {
      {0, {}},
      {1,
       {"SelectPen solid 00FFFFFF", "Polyline (0,30) (0,0) (32,0)", "SelectPen solid 00808080",
        "Polyline (0,31) (31,31) (31,0)", "SelectPen solid 00000000"}},
      {2,
       {"SelectPen solid 00808080", "Polyline (1,29) (1,1) (29,1)", "SelectPen solid 00808080",
        "Polyline (3,29) (29,29) (29,2)", "SelectPen solid 00FFFFFF", "Polyline (2,2) (30,2) (30,30) (2,30) (2,2)",
        "SelectPen solid 00000000"}},
      {3,
       {"SelectPen solid 00808080", "Polyline (0,30) (0,0) (32,0)", "SelectPen solid 00FFFFFF",
        "Polyline (0,31) (31,31) (31,0)", "SelectPen solid 00000000"}},
      {4, {"SelectPen solid 00000000", "Polyline (0,0) (31,0) (31,31) (0,31) (0,0)", "SelectPen solid 00000000"}},
  };
  for (const Row& r : rows) {
    auto lamp = Lamp({{dispidBevelOuter, r.style}});
    const auto body = Body(Draw(lamp.get()).calls);
    ASSERT_GE(body.size(), r.lines.size() + 1);
    EXPECT_EQ(std::vector<std::string>(body.begin() + 1, body.begin() + 1 + static_cast<std::ptrdiff_t>(r.lines.size())),
              r.lines)
        << "style " << r.style;
    // The inner ring's box: 1 + 4 in, one more for the inset style, just 4 without rings.
    const std::string box = r.style == 0 ? "(4,4,29,29)" : r.style == 2 ? "(6,6,27,27)" : "(5,5,28,28)";
    EXPECT_NE(std::find(body.begin(), body.end(), "Ellipse " + box), body.end()) << "style " << r.style;
  }
}

TEST_F(LampDrawing, EachEllipticInnerStyleDrawsItsRing) {
  struct Row {
    std::int16_t style;
    std::vector<std::string> ring;
  };
  const Row rows[] = {
      {0, {}},
      {1,
       {"SelectPen null", "SelectBrush solid 00808080", "Ellipse (5,5,28,28)", "SelectBrush solid 00FFFFFF",
        "Chord (5,5,28,28) (28,5) (5,28)", "SelectPen solid 00000000", "SelectBrush solid 00FFFFFF"}},
      {2,
       {"SelectPen solid 00000000", "SelectBrush hollow", "Ellipse (5,5,28,28)", "SelectPen solid 00000000",
        "SelectBrush solid 00FFFFFF"}},
      {3,
       {"SelectPen null", "SelectBrush solid 00FFFFFF", "Ellipse (5,5,28,28)", "SelectBrush solid 00808080",
        "Chord (5,5,28,28) (28,5) (5,28)", "SelectPen solid 00000000", "SelectBrush solid 00FFFFFF"}},
      {4,
       {"SelectPen solid 00000000", "SelectBrush hollow", "Ellipse (5,5,28,28)", "SelectPen solid 00000000",
        "SelectBrush solid 00FFFFFF"}},
  };
  for (const Row& r : rows) {
    auto lamp = Lamp({{dispidBevelInner, r.style}});
    const auto body = Body(Draw(lamp.get()).calls);
    // After the background and the outer ring (5 calls): the inner ring, then the face.
    std::vector<std::string> expected(body.begin(), body.begin() + 6);
    expected.insert(expected.end(), r.ring.begin(), r.ring.end());
    const std::string faceBox = r.style == 0 ? "(5,5,28,28)" : "(6,6,27,27)";
    for (const char* c : {"SelectBrush solid 000000FF", "SelectPen null"}) expected.push_back(c);
    expected.push_back("Ellipse " + faceBox);
    EXPECT_EQ(body, expected) << "style " << r.style;
  }
}

TEST_F(LampDrawing, RectangularInnerShapeAndFace) {
  auto lamp = Lamp({{dispidBevelShapeInner, 0}});
  const auto body = Body(Draw(lamp.get()).calls);
  const std::vector<std::string> tail = {"SelectPen solid 00808080", "Polyline (5,25) (5,5) (27,5)",
                                         "SelectPen solid 00FFFFFF", "Polyline (5,26) (26,26) (26,5)",
                                         "SelectPen solid 00000000", "SelectBrush solid 000000FF",
                                         "FillRect (6,6,26,26) solid 000000FF"};
  EXPECT_EQ(std::vector<std::string>(body.end() - 7, body.end()), tail);
}

TEST_F(LampDrawing, AnEllipticOuterShapeShowsTheContainersColourOutsideIt) {
  site_.ambient = 0x00336699;
  auto lamp = Lamp({{dispidBevelShapeOuter, 1}});
  const auto d = Draw(lamp.get());
  const auto body = Body(d.calls);
  const std::vector<std::string> head = {
      "FillRect (0,0,32,32) solid 00336699", "SelectPen null", "SelectBrush solid 00808080", "Ellipse (0,0,33,33)",
      "SelectBrush solid 00FFFFFF",          "Chord (0,0,33,33) (33,0) (0,33)", "SelectPen solid 00000000",
      "SelectBrush solid 00FFFFFF",          "SelectPen null", "SelectBrush solid 00C0C0C0", "Ellipse (1,1,32,32)"};
  EXPECT_EQ(std::vector<std::string>(body.begin(), body.begin() + 11), head);
  EXPECT_EQ(Pixel(d.image, 0, 0), 0x00336699u);
  EXPECT_EQ(Pixel(d.image, 31, 31), 0x00336699u);
  EXPECT_EQ(Pixel(d.image, 3, 16), kGrey);

  // Without outer rings everything outside the face's ring is the container's.
  auto bare = Lamp({{dispidBevelShapeOuter, 1}, {dispidBevelWidthOuter, 0}});
  const auto b = Draw(bare.get());
  EXPECT_EQ(Body(b.calls)[0], "FillRect (0,0,32,32) solid 00336699");
  EXPECT_EQ(Pixel(b.image, 0, 0), 0x00336699u);
  EXPECT_EQ(Pixel(b.image, 2, 16), 0x00336699u);
  EXPECT_EQ(Pixel(b.image, 16, 16), kRed);
}

TEST_F(LampDrawing, WidthsOfZeroAndMoreRings) {
  auto none = Lamp({{dispidBevelWidthOuter, 0}, {dispidBevelWidthInner, 0}});
  const std::vector<std::string> bare = {"FillRect (0,0,32,32) solid 00C0C0C0", "SelectBrush solid 000000FF",
                                         "SelectPen null", "Ellipse (4,4,29,29)"};
  EXPECT_EQ(Body(Draw(none.get()).calls), bare);

  auto three = Lamp({{dispidBevelWidthOuter, 3}, {dispidBevelWidthInner, 2}, {dispidBorderWidth, 1}});
  const auto body = Body(Draw(three.get()).calls);
  for (const char* c : {"Polyline (0,30) (0,0) (32,0)", "Polyline (1,29) (1,1) (31,1)", "Polyline (2,28) (2,2) (30,2)",
                        "Ellipse (4,4,29,29)", "Ellipse (5,5,28,28)", "Ellipse (6,6,27,27)"})
    EXPECT_NE(std::find(body.begin(), body.end(), c), body.end()) << c;
  EXPECT_EQ(body.back(), "Ellipse (6,6,27,27)");

  // A negative inner width draws no inner ring; a negative border makes the face larger.
  auto negative = Lamp({{dispidBevelWidthInner, -3}, {dispidBorderWidth, -4}});
  const auto n = Draw(negative.get());
  EXPECT_EQ(Body(n.calls).back(), "Ellipse (-3,-3,36,36)");
  EXPECT_EQ(Pixel(n.image, 16, 16), kRed);
  EXPECT_EQ(Pixel(n.image, 1, 16), kRed);
}

TEST_F(LampDrawing, RingsRepeatExactlyTheirWidthPastACollapsedRectangle) {
  struct Row { std::int32_t outer, inner; const char* lastOuter; };
  for (const Row r : {Row{17, 0, "Polyline (16,14) (16,16) (16,16)"}, Row{20, 3, "Polyline (19,11) (19,19) (13,19)"},
                      Row{32767, 32767, "Polyline (32766,-32736) (32766,32766) (-32734,32766)"}}) {
    auto lamp = Lamp({{dispidBevelWidthOuter, r.outer}, {dispidBevelWidthInner, r.inner}});
    const auto body = Body(Draw(lamp.get()).calls);
    const auto count = [&body](const char* what) {
      return std::count_if(body.begin(), body.end(), [what](const std::string& c) { return c.rfind(what, 0) == 0; });
    };
    EXPECT_EQ(count("Polyline"), 2 * r.outer) << r.outer;  // raised: light and shadow per ring
    EXPECT_EQ(count("Chord"), r.inner) << r.inner;         // lowered ellipse: one chord per ring
    EXPECT_NE(std::find(body.begin(), body.end(), r.lastOuter), body.end()) << r.lastOuter;
  }
}

TEST_F(LampDrawing, AnUnknownOuterShapeFillsNothing) {
  auto block = DefaultBlock();
  block[27] = 2;  // BevelShapeOuter, as only stored data can hold it
  ComPtr<IControl> lamp = NewLamp();
  ASSERT_EQ(lamp->Load(block), S_OK);
  const auto body = Body(Draw(lamp.get()).calls);
  EXPECT_EQ(std::count_if(body.begin(), body.end(), [](const std::string& c) { return c.rfind("FillRect", 0) == 0; }), 0);
  EXPECT_EQ(body.back(), "Ellipse (6,6,27,27)");  // the face is still drawn
}

TEST_F(LampDrawing, UnusableAreasDrawNothing) {
  auto lamp = Lamp();
  for (const gdi::Rect& r : {gdi::Rect{0, 0, 0, 32}, gdi::Rect{0, 0, 32, -5}, gdi::Rect{10, 10, 5, 5},
                             gdi::Rect{0, 0, 100000, 100000}, gdi::Rect{INT_MIN, 0, INT_MAX, 10}}) {
    auto dc = gdi::DC::Recording(QSize(8, 8));
    EXPECT_EQ(lamp->Draw(*dc, r), S_OK);
    EXPECT_TRUE(dc->Log()->lines.empty()) << r.left << "," << r.right;
  }
}

TEST_F(LampDrawing, DrawingLandsAtTheBoundsOrigin) {
  auto lamp = Lamp();
  auto dc = gdi::DC::Recording(QSize(40, 40));
  lamp->Draw(*dc, gdi::Rect{5, 7, 37, 39});
  EXPECT_NE(std::find(dc->Log()->lines.begin(), dc->Log()->lines.end(), "target: BitBlt (5,7,37,39) mem1 (0,0) SRCCOPY"),
            dc->Log()->lines.end());
  EXPECT_EQ(Pixel(*dc->Image(), 5, 7), kWhite);
  EXPECT_EQ(Pixel(*dc->Image(), 4, 7), kWhite);  // the canvas
  EXPECT_EQ(Pixel(*dc->Image(), 21, 23), kRed);
}

TEST_F(LampDrawing, ThePainterPathShowsTheSamePixels) {
  gdi::SetVersionForTesting(0);  // and the newer look while at it
  auto lamp = Lamp({{dispidBevelOuter, 2}, {dispidBevelShapeOuter, 1}});
  QImage image(32, 32, QImage::Format_RGB32);
  image.fill(Qt::black);
  {
    QPainter painter(&image);
    auto dc = gdi::DC::ForPainter(&painter, image.size());
    lamp->Draw(*dc, gdi::Rect{0, 0, 32, 32});
  }
  const auto recorded = Draw(lamp.get());
  EXPECT_EQ(image, recorded.image);
  EXPECT_NE(std::find(recorded.calls.begin(), recorded.calls.end(),
                      "mem1: SelectPen solid " + gdi::ColorText(gdi::GetSysColor(gdi::COLOR_WINDOWFRAME))),
            recorded.calls.end());
}

TEST_F(LampDrawing, TheMetafileHoldsTheLampAsOneStretchedBitmap) {
  auto lamp = Lamp();
  const auto screen = Draw(lamp.get());
  const auto meta = DrawMetafile(lamp.get(), 32, 32);
  EXPECT_EQ(meta.calls, std::vector<std::string>{"target: StretchDIBits (0,0,32,32) from (0,0,32,32) 32x32x32"});
  EXPECT_EQ(meta.image, screen.image);

  const auto big = DrawMetafile(lamp.get(), 64, 64);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) ASSERT_EQ(Pixel(big.image, 2 * x + 1, 2 * y), Pixel(screen.image, x, y));

  // The picture is drawn at the control's own size and stretched to the bounds.
  ASSERT_EQ(lamp->SetExtent(423, 423), S_OK);  // 16 pixels
  EXPECT_EQ(DrawMetafile(lamp.get(), 32, 32).calls,
            std::vector<std::string>{"target: StretchDIBits (0,0,32,32) from (0,0,16,16) 16x16x32"});
  ASSERT_EQ(lamp->SetExtent(INT_MAX, 10), S_OK);  // absurd: no picture
  EXPECT_TRUE(DrawMetafile(lamp.get(), 32, 32).calls.empty());
}

TEST_F(LampDrawing, Gallery) {
  // Every state and bevel style side by side, written for a person to look at.
  gdi::SetVersionForTesting(0);
  const int cell = 40;
  const std::vector<std::vector<Changes>> rows = {
      {{}, {{dispidValue, 0}}, {{plat::ax::DISPID_ENABLED, 0}}, {{dispidOnColor, 0x0000FF00}}},
      {{{dispidBevelOuter, 0}}, {{dispidBevelOuter, 1}}, {{dispidBevelOuter, 2}}, {{dispidBevelOuter, 3}},
       {{dispidBevelOuter, 4}}},
      {{{dispidBevelInner, 0}}, {{dispidBevelInner, 1}}, {{dispidBevelInner, 2}}, {{dispidBevelInner, 3}},
       {{dispidBevelInner, 4}}},
      {{{dispidBevelShapeOuter, 1}, {dispidBevelOuter, 1}}, {{dispidBevelShapeOuter, 1}, {dispidBevelOuter, 2}},
       {{dispidBevelShapeOuter, 1}, {dispidBevelOuter, 3}}, {{dispidBevelShapeOuter, 1}, {dispidBevelOuter, 4}},
       {{dispidBevelShapeInner, 0}, {dispidBevelInner, 3}}},
      {{{dispidBevelWidthOuter, 3}}, {{dispidBevelWidthInner, 3}}, {{dispidBorderWidth, 0}}, {{dispidBorderWidth, 8}},
       {{dispidBorderWidth, -2}}},
  };
  QImage sheet(cell * 5, cell * static_cast<int>(rows.size()), QImage::Format_RGB32);
  sheet.fill(Qt::white);
  QPainter painter(&sheet);
  site_.ambient = 0x00E0E0E0;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (std::size_t c = 0; c < rows[r].size(); ++c) {
      auto lamp = Lamp(rows[r][c]);
      const QImage img = Draw(lamp.get()).image;
      painter.drawImage(static_cast<int>(c) * cell + 4, static_cast<int>(r) * cell + 4, img);
    }
  }
  painter.end();
  const QString path = QString(LED_ARTIFACT_DIR) + "/lamp_gallery.png";
  EXPECT_TRUE(sheet.scaled(sheet.size() * 4, Qt::KeepAspectRatio, Qt::FastTransformation).save(path));
}

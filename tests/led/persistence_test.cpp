// The 48-byte stored block: golden bytes, round trips, truncations, bad masks, hostile values.
#include <random>

#include "platform/gdi/system.h"
#include "tests/led/led_support.h"

using namespace ledtest;
using namespace glimmet;

namespace {

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return std::uint32_t{b[at]} | (std::uint32_t{b[at + 1]} << 8) | (std::uint32_t{b[at + 2]} << 16) |
         (std::uint32_t{b[at + 3]} << 24);
}
std::int16_t I16(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::int16_t>(b[at] | (b[at + 1] << 8));
}

const DISPID kAllProperties[] = {dispidBevelInner,  dispidBevelShapeInner, dispidBevelOuter,    dispidBevelShapeOuter,
                                 dispidBevelWidthOuter, dispidBevelWidthInner, dispidBorderWidth, dispidDisabledColor,
                                 dispidOffColor,    dispidOnColor,         dispidValue,         plat::ax::DISPID_ENABLED,
                                 plat::ax::DISPID_BACKCOLOR};

std::vector<Variant> Snapshot(IControl* c) {
  std::vector<Variant> v;
  for (DISPID id : kAllProperties) v.push_back(Get(c, id));
  return v;
}

}  // namespace

using Persistence = LedTest;

TEST_F(Persistence, ADefaultLampSavesTheGoldenBlock) {
  plat::gdi::SetVersionForTesting(3);  // the older look: a fixed grey background
  ComPtr<IControl> lamp = NewLamp();
  plat::gdi::SetVersionForTesting(0);
  const std::vector<std::uint8_t> golden = {
      0x00, 0x00, 0x02, 0x00,  // version 2.0
      0x4F, 0x03, 0x00, 0x00,  // extent 847 by 847 HIMETRIC (32 pixels)
      0x4F, 0x03, 0x00, 0x00,  //
      0x41, 0x00, 0x00, 0x00,  // stock mask: BackColor, Enabled
      0xC0, 0xC0, 0xC0, 0x00,  // BackColor
      0x01,                    // Enabled
      0x03, 0x00,              // BevelInner lowered
      0x01, 0x00,              // BevelShapeInner ellipse
      0x01, 0x00,              // BevelOuter raised
      0x00, 0x00,              // BevelShapeOuter rectangle
      0x01, 0x00,              // BevelWidthOuter
      0x01, 0x00,              // BevelWidthInner
      0x04, 0x00,              // BorderWidth
      0xC0, 0xC0, 0xC0, 0x00,  // DisabledColor
      0x80, 0x80, 0x80, 0x00,  // OffColor
      0xFF, 0x00, 0x00, 0x00,  // OnColor
      0x01,                    // Value
  };
  EXPECT_EQ(Save(lamp.get()), golden);

  // The newer look stores the button face as RGB.
  const auto block = DefaultBlock();
  EXPECT_EQ(U32(block, 16), plat::gdi::GetSysColor(plat::gdi::COLOR_BTNFACE));
}

TEST_F(Persistence, ChangedValuesLandAtTheirOffsets) {
  ComPtr<IControl> lamp = NewLamp();
  ASSERT_EQ(Put(lamp.get(), dispidBevelOuter, Variant::I2(0)), S_OK);
  ASSERT_EQ(Put(lamp.get(), dispidBorderWidth, Variant::I2(0)), S_OK);
  ASSERT_EQ(Put(lamp.get(), dispidOnColor, Variant::I4(0x0000FF00)), S_OK);
  ASSERT_EQ(Put(lamp.get(), dispidValue, Variant::Bool(false)), S_OK);
  EXPECT_EQ(lamp->IsDirty(), S_FALSE);  // a setter does not mark the control modified
  std::vector<std::uint8_t> block;
  ASSERT_EQ(lamp->Save(&block, true), S_OK);
  EXPECT_EQ(lamp->IsDirty(), S_FALSE);
  ASSERT_EQ(block.size(), kLedBlockSize);
  EXPECT_EQ(I16(block, 25), 0);
  EXPECT_EQ(I16(block, 33), 0);
  EXPECT_EQ(U32(block, 43), 0x0000FF00u);
  EXPECT_EQ(block[47], 0);
}

TEST_F(Persistence, EveryValueSurvivesARoundTrip) {
  ComPtr<IControl> a = NewLamp();
  const std::pair<DISPID, Variant> changes[] = {
      {dispidBevelInner, Variant::I2(4)},          {dispidBevelShapeInner, Variant::I2(0)},
      {dispidBevelOuter, Variant::I2(2)},          {dispidBevelShapeOuter, Variant::I2(1)},
      {dispidBevelWidthOuter, Variant::I2(3)},     {dispidBevelWidthInner, Variant::I2(-2)},
      {dispidBorderWidth, Variant::I2(-7)},        {dispidDisabledColor, Variant::I4(0x00010203)},
      {dispidOffColor, Variant::I4(0x00040506)},   {dispidOnColor, Variant::I4(static_cast<std::int32_t>(0x8000000Du))},
      {dispidValue, Variant::Bool(false)},         {plat::ax::DISPID_ENABLED, Variant::Bool(false)},
      {plat::ax::DISPID_BACKCOLOR, Variant::I4(static_cast<std::int32_t>(0x80000005u))},
  };
  for (const auto& [id, v] : changes) ASSERT_EQ(Put(a.get(), id, v), S_OK) << id;
  ASSERT_EQ(a->SetExtent(1000, 2000), S_OK);
  const auto block = Save(a.get());

  ComPtr<IControl> b = NewLamp();
  ASSERT_EQ(b->Load(block), S_OK);
  EXPECT_EQ(Snapshot(b.get()), Snapshot(a.get()));
  std::int32_t cx = 0, cy = 0;
  b->GetExtent(&cx, &cy);
  EXPECT_EQ(cx, 1000);
  EXPECT_EQ(cy, 2000);
  EXPECT_EQ(b->IsDirty(), S_FALSE);
  EXPECT_EQ(Save(b.get()), block);

  // A default lamp round-trips to the same eleven values too.
  ComPtr<IControl> c = NewLamp();
  ComPtr<IControl> d = NewLamp();
  Put(d.get(), dispidBorderWidth, Variant::I2(12));
  ASSERT_EQ(d->Load(Save(c.get())), S_OK);
  EXPECT_EQ(Snapshot(d.get()), Snapshot(c.get()));
}

TEST_F(Persistence, EveryTruncationFailsAndChangesNothing) {
  ComPtr<IControl> source = NewLamp();
  Put(source.get(), dispidOnColor, Variant::I4(0x0000FF00));
  Put(source.get(), dispidValue, Variant::Bool(false));
  const auto block = Save(source.get());
  ComPtr<IControl> lamp = NewLamp();
  const auto defaults = Save(lamp.get());
  for (std::size_t n = 0; n < block.size(); ++n) {
    const std::vector<std::uint8_t> part(block.begin(), block.begin() + static_cast<std::ptrdiff_t>(n));
    EXPECT_EQ(lamp->Load(part), STG_E_READFAULT) << n;
    EXPECT_EQ(Save(lamp.get()), defaults) << n;
  }
  // Trailing bytes beyond the block are left alone.
  auto longer = block;
  longer.push_back(0xEE);
  EXPECT_EQ(lamp->Load(longer), S_OK);
  EXPECT_EQ(Save(lamp.get()), block);
}

TEST_F(Persistence, AStockMaskOtherThan0x41IsRefused) {
  ComPtr<IControl> lamp = NewLamp();
  const auto defaults = Save(lamp.get());
  for (std::uint8_t mask : {0x00, 0x01, 0x40, 0x43, 0xFF}) {
    auto block = defaults;
    block[12] = mask;
    block[43] = 0x12;  // a different on colour that must not arrive
    EXPECT_EQ(lamp->Load(block), STG_E_READFAULT) << int{mask};
    EXPECT_EQ(Save(lamp.get()), defaults) << int{mask};
  }
  auto block = defaults;
  block[13] = 0x01;  // 0x141
  EXPECT_EQ(lamp->Load(block), STG_E_READFAULT);
}

TEST_F(Persistence, AnyNonZeroFlagByteReadsAsTrueAndSavingWritesOneOrZero) {
  auto block = DefaultBlock();
  block[20] = 0x80;  // Enabled
  block[47] = 0x02;  // Value
  block[0] = 0x07;   // an older persistence version
  block[2] = 0x01;
  ComPtr<IControl> lamp = NewLamp();
  ASSERT_EQ(lamp->Load(block), S_OK);
  EXPECT_EQ(Get(lamp.get(), plat::ax::DISPID_ENABLED), Variant::Bool(true));
  EXPECT_EQ(Get(lamp.get(), dispidValue), Variant::Bool(true));
  const auto saved = Save(lamp.get());
  EXPECT_EQ(saved[20], 1);
  EXPECT_EQ(saved[47], 1);
  EXPECT_EQ(U32(saved, 0), kLedPersistVersion);  // whatever version was loaded
}

TEST_F(Persistence, OutOfRangeStoredValuesLoadAsTheyAreAndDrawWithoutHarm) {
  auto block = DefaultBlock();
  auto put16 = [&block](std::size_t at, std::int16_t v) {
    block[at] = static_cast<std::uint8_t>(v);
    block[at + 1] = static_cast<std::uint8_t>(static_cast<std::uint16_t>(v) >> 8);
  };
  put16(21, 9);       // BevelInner
  put16(23, 7);       // BevelShapeInner
  put16(25, -3);      // BevelOuter
  put16(27, 5);       // BevelShapeOuter
  put16(29, -32768);  // BevelWidthOuter
  put16(31, 32767);   // BevelWidthInner
  put16(33, -32768);  // BorderWidth
  block[16] = 0x1F;   // BackColor 0x8000001F: a system colour that does not exist
  block[17] = block[18] = 0;
  block[19] = 0x80;
  ComPtr<IControl> lamp = NewLamp();
  ASSERT_EQ(lamp->Load(block), S_OK);
  EXPECT_EQ(GetInt(lamp.get(), dispidBevelInner), 9);
  EXPECT_EQ(GetInt(lamp.get(), dispidBevelWidthOuter), -32768);
  EXPECT_EQ(GetInt(lamp.get(), dispidBorderWidth), -32768);
  const Drawing d = Draw(lamp.get());
  ASSERT_FALSE(d.image.isNull());
  // No shape, no face: the bad background colour resolves to black everywhere.
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) ASSERT_EQ(Pixel(d.image, x, y), 0u) << x << "," << y;
}

TEST_F(Persistence, RandomBlocksLoadAndDrawSafely) {
  std::mt19937 rng(20240613);
  std::uniform_int_distribution<int> byte(0, 255);
  ComPtr<IControl> lamp = NewLamp();
  TestSite site;
  lamp->SetClientSite(&site);
  int loaded = 0;
  for (int i = 0; i < 300; ++i) {
    std::vector<std::uint8_t> block(44 + static_cast<std::size_t>(byte(rng) % 8));
    for (auto& b : block) b = static_cast<std::uint8_t>(byte(rng));
    if (i % 3 != 0 && block.size() > 16) {  // mostly well-formed masks, so the values get drawn
      block[12] = 0x41;
      block[13] = block[14] = block[15] = 0;
    }
    if (i % 5 == 0 && block.size() >= 12)  // extents the metafile path can use
      for (std::size_t k = 4; k < 12; ++k) block[k] = k % 4 == 0 ? static_cast<std::uint8_t>(byte(rng)) : 0;
    const HRESULT hr = lamp->Load(block);
    if (hr == S_OK) ++loaded;
    else ASSERT_EQ(hr, STG_E_READFAULT);
    const int w = 1 + byte(rng) % 48;
    const int h = 1 + byte(rng) % 48;
    DrawQuiet(lamp.get(), w, h);
    DrawMetafile(lamp.get(), w, h);
  }
  EXPECT_GT(loaded, 60);
  lamp->SetClientSite(nullptr);
}

// The lamp's properties: defaults, set rules, Version, the stock members and the call rules.
#include <thread>

#include "platform/gdi/system.h"
#include "platform/ui/message_box.h"
#include "tests/led/led_support.h"

using namespace ledtest;
using namespace glimmet;

using Properties = LedTest;

TEST_F(Properties, AFreshLampHasTheDefaults) {
  ComPtr<IControl> lamp = NewLamp();
  ASSERT_TRUE(lamp);
  struct Row {
    DISPID id;
    Variant value;
  };
  const Row defaults[] = {
      {dispidBevelInner, Variant::I2(3)},          {dispidBevelShapeInner, Variant::I2(1)},
      {dispidBevelOuter, Variant::I2(1)},          {dispidBevelShapeOuter, Variant::I2(0)},
      {dispidBevelWidthOuter, Variant::I2(1)},     {dispidBevelWidthInner, Variant::I2(1)},
      {dispidBorderWidth, Variant::I2(4)},         {dispidDisabledColor, Variant::I4(0x00C0C0C0)},
      {dispidOffColor, Variant::I4(0x00808080)},   {dispidOnColor, Variant::I4(0x000000FF)},
      {dispidValue, Variant::Bool(true)},          {dispidVersion, Variant::Text("2.00.003")},
      {DISPID_VALUE, Variant::Bool(true)},         {plat::ax::DISPID_ENABLED, Variant::Bool(true)},
      {plat::ax::DISPID_BACKCOLOR,
       Variant::I4(static_cast<std::int32_t>(plat::gdi::GetSysColor(plat::gdi::COLOR_BTNFACE)))},
  };
  for (const Row& r : defaults) EXPECT_EQ(Get(lamp.get(), r.id), r.value) << "dispatch id " << r.id;
  EXPECT_EQ(lamp->IsDirty(), S_FALSE);
  std::int32_t cx = 0, cy = 0;
  EXPECT_EQ(lamp->GetExtent(&cx, &cy), S_OK);
  EXPECT_EQ(cx, 847);  // 32 pixels in HIMETRIC
  EXPECT_EQ(cy, 847);
}

TEST_F(Properties, SettersApplyTheirRulesAndRaise380Otherwise) {
  struct Row {
    DISPID id;
    std::int32_t value;
    HRESULT expected;
  };
  const Row rules[] = {
      {dispidBevelInner, 5, CTL_E_INVALIDPROPERTYVALUE},      {dispidBevelInner, -1, CTL_E_INVALIDPROPERTYVALUE},
      {dispidBevelInner, 4, S_OK},                            {dispidBevelInner, 0, S_OK},
      {dispidBevelOuter, 5, CTL_E_INVALIDPROPERTYVALUE},      {dispidBevelOuter, 2, S_OK},
      {dispidBevelShapeInner, 2, CTL_E_INVALIDPROPERTYVALUE}, {dispidBevelShapeInner, 0, S_OK},
      {dispidBevelShapeOuter, -1, CTL_E_INVALIDPROPERTYVALUE}, {dispidBevelShapeOuter, 1, S_OK},
      {dispidBevelWidthOuter, -1, CTL_E_INVALIDPROPERTYVALUE}, {dispidBevelWidthOuter, 32767, S_OK},
      {dispidBevelWidthInner, -1, S_OK},                      {dispidBevelWidthInner, -32768, S_OK},
      {dispidBorderWidth, -1, S_OK},                          {dispidBorderWidth, 32767, S_OK},
      {dispidOnColor, -1, S_OK},                              {dispidOffColor, static_cast<std::int32_t>(0x8000000Fu), S_OK},
      {dispidDisabledColor, 0x12345678, S_OK},
      // Values a 16-bit property cannot hold fail in the conversion, not by wrapping.
      {dispidBevelWidthInner, 70000, DISP_E_OVERFLOW},        {dispidBorderWidth, -40000, DISP_E_OVERFLOW},
  };
  for (const Row& r : rules) {
    ComPtr<IControl> lamp = NewLamp();
    TestSite site;
    lamp->SetClientSite(&site);
    const std::int32_t before = GetInt(lamp.get(), r.id);
    EXPECT_EQ(Put(lamp.get(), r.id, Variant::I4(r.value)), r.expected) << r.id << " := " << r.value;
    if (r.expected == S_OK) {
      EXPECT_EQ(GetInt(lamp.get(), r.id), r.value) << r.id;
      EXPECT_EQ(lamp->IsDirty(), S_FALSE) << r.id;     // setters leave the modified flag alone
      EXPECT_EQ(site.invalidations, 1) << r.id;        // and repaint
    } else {
      EXPECT_EQ(GetInt(lamp.get(), r.id), before) << r.id;
      EXPECT_EQ(lamp->IsDirty(), S_FALSE) << r.id;
      EXPECT_EQ(site.invalidations, 0) << r.id;
    }
    lamp->SetClientSite(nullptr);
  }
}

TEST_F(Properties, ValueTakesAnyTruthAndTheDefaultMemberIsValue) {
  ComPtr<IControl> lamp = NewLamp();
  EXPECT_EQ(Put(lamp.get(), dispidValue, Variant::Bool(false)), S_OK);
  EXPECT_EQ(Get(lamp.get(), dispidValue), Variant::Bool(false));
  EXPECT_EQ(Put(lamp.get(), dispidValue, Variant::I2(-1)), S_OK);  // True
  EXPECT_EQ(Get(lamp.get(), dispidValue), Variant::Bool(true));
  EXPECT_EQ(Put(lamp.get(), DISPID_VALUE, Variant::I4(0)), S_OK);
  EXPECT_EQ(Get(lamp.get(), dispidValue), Variant::Bool(false));
  EXPECT_EQ(Put(lamp.get(), dispidValue, Variant::I4(1)), S_OK);
  EXPECT_EQ(Get(lamp.get(), DISPID_VALUE), Variant::Bool(true));
  EXPECT_EQ(Put(lamp.get(), dispidValue, Variant::Text("maybe")), DISP_E_TYPEMISMATCH);
}

TEST_F(Properties, VersionCannotBeSetAtRunTimeNorAtDesignTime) {
  ComPtr<IControl> lamp = NewLamp();
  TestSite site;
  lamp->SetClientSite(&site);
  EXPECT_EQ(Put(lamp.get(), dispidVersion, Variant::Text("9.99.999")), CTL_E_SETNOTSUPPORTEDATRUNTIME);  // 382
  site.userMode = false;
  EXPECT_EQ(Put(lamp.get(), dispidVersion, Variant::Text("9.99.999")), CTL_E_SETNOTSUPPORTED);  // 383
  EXPECT_EQ(Get(lamp.get(), dispidVersion), Variant::Text("2.00.003"));
  EXPECT_EQ(Put(lamp.get(), plat::ax::DISPID_HWND, Variant::I4(5)), CTL_E_SETNOTSUPPORTED);
  EXPECT_EQ(Get(lamp.get(), plat::ax::DISPID_HWND), Variant::I4(77));
  lamp->SetClientSite(nullptr);
  EXPECT_EQ(Get(lamp.get(), plat::ax::DISPID_HWND), Variant::I4(0));
}

TEST_F(Properties, ErrorsComeBackAsTheScodeOfAnException) {
  ComPtr<IControl> lamp = NewLamp();
  const Variant five = Variant::I2(5);
  ExcepInfo excep;
  EXPECT_EQ(lamp->Invoke(dispidBevelInner, DISPATCH_PROPERTYPUT, std::span<const Variant>(&five, 1), nullptr, &excep),
            DISP_E_EXCEPTION);
  EXPECT_EQ(excep.scode, CTL_E_INVALIDPROPERTYVALUE);
  EXPECT_EQ(excep.description, "Invalid property value");

  Variant v;
  EXPECT_EQ(lamp->Invoke(99, DISPATCH_PROPERTYGET, {}, &v, &excep), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(lamp->Invoke(dispidBevelInner, DISPATCH_PROPERTYPUT, {}, nullptr, &excep), DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(lamp->Invoke(dispidBevelInner, DISPATCH_PROPERTYGET, std::span<const Variant>(&five, 1), &v, &excep),
            DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(lamp->Invoke(plat::ax::DISPID_ABOUTBOX, DISPATCH_PROPERTYPUT, std::span<const Variant>(&five, 1), nullptr,
                         &excep),
            DISP_E_MEMBERNOTFOUND);
}

TEST_F(Properties, NamesMapToDispatchIds) {
  ComPtr<IControl> lamp = NewLamp();
  struct Row {
    const char* name;
    DISPID id;
  };
  for (const Row& r : {Row{"BevelInner", 1}, Row{"bevelshapeinner", 2}, Row{"BevelOuter", 3}, Row{"BevelShapeOuter", 4},
                       Row{"BevelWidthOuter", 5}, Row{"BevelWidthInner", 6}, Row{"BorderWidth", 7},
                       Row{"DisabledColor", 8}, Row{"OffColor", 9}, Row{"OnColor", 10}, Row{"Value", 11},
                       Row{"Version", 12}, Row{"BackColor", -501}, Row{"Enabled", -514}, Row{"hWnd", -515},
                       Row{"AboutBox", -552}}) {
    DISPID id = 0;
    EXPECT_EQ(lamp->GetIDsOfNames(r.name, &id), S_OK) << r.name;
    EXPECT_EQ(id, r.id) << r.name;
  }
  DISPID id = 0;
  EXPECT_EQ(lamp->GetIDsOfNames("Colour", &id), DISP_E_UNKNOWNNAME);
}

TEST_F(Properties, AboutBoxShowsTheAboutText) {
  ComPtr<IControl> lamp = NewLamp();
  plat::BoxRecorder boxes;
  ExcepInfo excep;
  EXPECT_EQ(lamp->Invoke(plat::ax::DISPID_ABOUTBOX, DISPATCH_METHOD, {}, nullptr, &excep), S_OK);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].title, "About Pendrel LED Control");
  EXPECT_NE(boxes.boxes[0].text.find("2.00.003"), std::string::npos);
  EXPECT_EQ(boxes.boxes[0].icon, plat::BoxIcon::Information);
}

TEST_F(Properties, StockPropertiesRepaintAndResetRestoresEverything) {
  ComPtr<IControl> lamp = NewLamp();
  TestSite site;
  lamp->SetClientSite(&site);
  EXPECT_EQ(Put(lamp.get(), plat::ax::DISPID_ENABLED, Variant::Bool(false)), S_OK);
  EXPECT_EQ(Put(lamp.get(), plat::ax::DISPID_BACKCOLOR, Variant::I4(0x00010203)), S_OK);
  EXPECT_EQ(Put(lamp.get(), dispidBorderWidth, Variant::I2(9)), S_OK);
  EXPECT_EQ(site.invalidations, 3);
  EXPECT_EQ(lamp->InitNew(), S_OK);
  EXPECT_EQ(Get(lamp.get(), plat::ax::DISPID_ENABLED), Variant::Bool(true));
  EXPECT_EQ(GetInt(lamp.get(), plat::ax::DISPID_BACKCOLOR),
            static_cast<std::int32_t>(plat::gdi::GetSysColor(plat::gdi::COLOR_BTNFACE)));
  EXPECT_EQ(GetInt(lamp.get(), dispidBorderWidth), 4);
  EXPECT_EQ(lamp->IsDirty(), S_FALSE);
  lamp->SetClientSite(nullptr);
}

TEST_F(Properties, TheOlderSystemLookUsesFixedColours) {
  plat::gdi::SetVersionForTesting(3);
  ComPtr<IControl> lamp = NewLamp();
  plat::gdi::SetVersionForTesting(0);
  EXPECT_EQ(GetInt(lamp.get(), plat::ax::DISPID_BACKCOLOR), 0x00C0C0C0);
}

TEST_F(Properties, NothingTouchesTheLampOffTheUserInterfaceThread) {
  ComPtr<IControl> lamp = NewLamp();
  HRESULT put = S_OK, draw = S_OK, load = S_OK;
  std::thread worker([&] {
    put = Put(lamp.get(), dispidValue, Variant::Bool(false));
    auto dc = plat::gdi::DC::Recording(QSize(8, 8));
    draw = lamp->Draw(*dc, plat::gdi::Rect{0, 0, 8, 8});
    std::vector<std::uint8_t> block(48, 0);
    load = lamp->Load(block);
  });
  worker.join();
  EXPECT_EQ(put, RPC_E_WRONG_THREAD);
  EXPECT_EQ(draw, RPC_E_WRONG_THREAD);
  EXPECT_EQ(load, RPC_E_WRONG_THREAD);
  EXPECT_EQ(Get(lamp.get(), dispidValue), Variant::Bool(true));
}

namespace {
// Collects the events a lamp fires.
class Sink : public IDispatch {
 public:
  std::vector<std::pair<DISPID, std::vector<Variant>>> events;
  HRESULT QueryInterface(const IID& iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IDispatch) {
      *out = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  std::uint32_t AddRef() override { return ++refs; }
  std::uint32_t Release() override { return --refs; }
  HRESULT GetIDsOfNames(std::string_view, DISPID*) override { return E_NOTIMPL; }
  HRESULT Invoke(DISPID id, std::uint16_t, std::span<const Variant> args, Variant*, ExcepInfo*) override {
    events.emplace_back(id, std::vector<Variant>(args.begin(), args.end()));
    return S_OK;
  }
  std::uint32_t refs = 1;
};
}  // namespace

TEST_F(Properties, MouseInputFiresTheStockEvents) {
  ComPtr<IControl> lamp = NewLamp();
  Sink sink;
  ASSERT_EQ(lamp->Advise(&sink), S_OK);
  EXPECT_EQ(sink.refs, 2u);
  using plat::ax::MouseKind;
  lamp->MouseEvent(MouseKind::Down, plat::ax::LEFT_BUTTON, plat::ax::SHIFT_MASK, 3, 4);
  lamp->MouseEvent(MouseKind::Move, plat::ax::LEFT_BUTTON, 0, 5, 6);
  lamp->MouseEvent(MouseKind::Up, plat::ax::LEFT_BUTTON, 0, 5, 6);
  lamp->MouseEvent(MouseKind::DblClick, plat::ax::LEFT_BUTTON, 0, 5, 6);
  lamp->MouseEvent(MouseKind::Down, plat::ax::RIGHT_BUTTON, 0, 5, 6);
  lamp->MouseEvent(MouseKind::Up, plat::ax::RIGHT_BUTTON, 0, 50, 6);  // no click for the right button
  ASSERT_EQ(sink.events.size(), 7u);
  EXPECT_EQ(sink.events[0].first, plat::ax::DISPID_MOUSEDOWN);
  EXPECT_EQ(sink.events[0].second, (std::vector<Variant>{Variant::I2(1), Variant::I2(1), Variant::I4(3), Variant::I4(4)}));
  EXPECT_EQ(sink.events[1].first, plat::ax::DISPID_MOUSEMOVE);
  EXPECT_EQ(sink.events[2].first, plat::ax::DISPID_MOUSEUP);
  EXPECT_EQ(sink.events[3].first, plat::ax::DISPID_CLICK);
  EXPECT_EQ(sink.events[4].first, plat::ax::DISPID_DBLCLICK);
  EXPECT_EQ(sink.events[6].first, plat::ax::DISPID_MOUSEUP);

  // A disabled lamp fires nothing.
  Put(lamp.get(), plat::ax::DISPID_ENABLED, Variant::Bool(false));
  lamp->MouseEvent(MouseKind::Down, plat::ax::LEFT_BUTTON, 0, 1, 1);
  EXPECT_EQ(sink.events.size(), 7u);
  lamp->Advise(nullptr);
  EXPECT_EQ(sink.refs, 1u);
}

#include "led/led_ctrl.h"

#include <cstdio>

#include "led/led_ids.h"
#include "led/led_resources.h"
#include "platform/ui/message_box.h"

namespace glimmet {

using namespace plat::com;
namespace gdi = plat::gdi;

namespace {

plat::ax::ControlClassInfo ClassInfo() {
  plat::ax::ControlClassInfo info;
  info.clsid = CLSID_LED;
  info.dispatchIid = IID_DLED;
  info.eventsIid = IID_DLEDEvents;
  info.userTypeStringId = IDS_LED;
  info.miscStatus = kLedMiscStatus;
  info.pages = {CLSID_LedPropPage, CLSID_StockColorPage};
  return info;
}

std::string VersionText() {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%d.%0d0.%03d", 2, 0, 3);
  return buf;
}

bool StyleRule(std::int16_t v) { return v >= pnBevelNone && v <= pnBevelSolid; }
bool ShapeRule(std::int16_t v) { return v == pnShapeRectangle || v == pnShapeEllipse; }
bool NotNegative(std::int16_t v) { return v >= 0; }
bool Any(std::int16_t) { return true; }

}  // namespace

CLedCtrl::CLedCtrl(plat::ax::COleControlModule& module) : COleControl(module, ClassInfo()) {
  newLook_ = (gdi::GetVersion() & 0xFF) >= 4;
  SetDefaultBackColor(newLook_ ? gdi::GetSysColor(gdi::COLOR_BTNFACE) : 0x00C0C0C0);
  SetInitialSize(32, 32);
  AddMembers();
  OnResetState();
}

void CLedCtrl::AddShort(std::int32_t id, const char* name, std::int16_t CLedCtrl::*field, bool (*rule)(std::int16_t)) {
  AddProperty(id, name, VarType::I2, [this, field] { return Variant::I2(this->*field); },
              [this, field, rule](const Variant& v) {
                std::int16_t n = 0;
                v.ToI2(&n);
                if (!rule(n)) return CTL_E_INVALIDPROPERTYVALUE;
                this->*field = n;
                InvalidateControl();
                return S_OK;
              });
}

void CLedCtrl::AddColor(std::int32_t id, const char* name, std::uint32_t CLedCtrl::*field) {
  AddProperty(id, name, VarType::I4, [this, field] { return Variant::I4(static_cast<std::int32_t>(this->*field)); },
              [this, field](const Variant& v) {
                std::int32_t n = 0;
                v.ToI4(&n);
                this->*field = static_cast<std::uint32_t>(n);
                InvalidateControl();
                return S_OK;
              });
}

void CLedCtrl::AddMembers() {
  AddShort(dispidBevelInner, "BevelInner", &CLedCtrl::bevelInner_, StyleRule);
  AddShort(dispidBevelShapeInner, "BevelShapeInner", &CLedCtrl::bevelShapeInner_, ShapeRule);
  AddShort(dispidBevelOuter, "BevelOuter", &CLedCtrl::bevelOuter_, StyleRule);
  AddShort(dispidBevelShapeOuter, "BevelShapeOuter", &CLedCtrl::bevelShapeOuter_, ShapeRule);
  AddShort(dispidBevelWidthOuter, "BevelWidthOuter", &CLedCtrl::bevelWidthOuter_, NotNegative);
  AddShort(dispidBevelWidthInner, "BevelWidthInner", &CLedCtrl::bevelWidthInner_, Any);
  AddShort(dispidBorderWidth, "BorderWidth", &CLedCtrl::borderWidth_, Any);
  AddColor(dispidDisabledColor, "DisabledColor", &CLedCtrl::disabledColor_);
  AddColor(dispidOffColor, "OffColor", &CLedCtrl::offColor_);
  AddColor(dispidOnColor, "OnColor", &CLedCtrl::onColor_);
  auto getValue = [this] { return Variant::Bool(value_); };
  auto setValue = [this](const Variant& v) {
    bool on = false;
    v.ToBool(&on);
    return SetValue(on);
  };
  AddProperty(dispidValue, "Value", VarType::Bool, getValue, setValue);
  AddProperty(dispidVersion, "Version", VarType::Text, [] { return Variant::Text(VersionText()); },
              [this](const Variant&) { return SetNotSupported(); });
  AddProperty(DISPID_VALUE, "_Value", VarType::Bool, getValue, setValue);
  AddMethod(plat::ax::DISPID_ABOUTBOX, "AboutBox", [this] { return AboutBox(); });
}

// The lamp's setters only repaint and mark nothing modified, also when the property page applies
// a change through them: a host saves the lamp's stored data again only after a change of its
// extent or of a stock property (back colour, enabled), which do mark it.
HRESULT CLedCtrl::SetValue(bool on) {
  value_ = on;
  InvalidateControl();
  return S_OK;
}

HRESULT CLedCtrl::AboutBox() {
  const std::string description = VersionValue("FileDescription");
  plat::ShowMessageBox(plat::BoxRequest{"About " + description,
                                        description + "\r\nVersion " + VersionText() + "\r\n" +
                                            VersionValue("ProductName") + ", the LED lamp control library.",
                                        plat::BoxIcon::Information, plat::BoxButtons::Ok});
  return S_OK;
}

void CLedCtrl::OnResetState() {
  COleControl::OnResetState();
  bevelInner_ = pnBevelLowered;
  bevelShapeInner_ = pnShapeEllipse;
  bevelOuter_ = pnBevelRaised;
  bevelShapeOuter_ = pnShapeRectangle;
  bevelWidthOuter_ = 1;
  bevelWidthInner_ = 1;
  borderWidth_ = 4;
  disabledColor_ = 0x00C0C0C0;
  offColor_ = 0x00808080;
  onColor_ = 0x000000FF;
  value_ = true;
}

void CLedCtrl::DoPropExchange(plat::ax::CPropExchange& px) {
  ExchangeVersion(px, kLedPersistVersion);
  ExchangeFrameworkState(px);
  px.PX_Short("BevelInner", bevelInner_);
  px.PX_Short("BevelShapeInner", bevelShapeInner_);
  px.PX_Short("BevelOuter", bevelOuter_);
  px.PX_Short("BevelShapeOuter", bevelShapeOuter_);
  px.PX_Short("BevelWidthOuter", bevelWidthOuter_);
  px.PX_Short("BevelWidthInner", bevelWidthInner_);
  px.PX_Short("BorderWidth", borderWidth_);
  px.PX_Color("DisabledColor", disabledColor_);
  px.PX_Color("OffColor", offColor_);
  px.PX_Color("OnColor", onColor_);
  px.PX_Bool("Value", value_);
}

}  // namespace glimmet

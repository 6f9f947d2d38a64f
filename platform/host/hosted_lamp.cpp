#include "platform/host/hosted_lamp.h"

#include <QString>
#include <cstdio>

#include "platform/ui/message_box.h"

namespace plat {

using namespace plat::com;

void HostedLamp::SetValue(bool on) {
  on_ = on;
  if (host_) host_->SetProperty(kLedValueDispId, Variant::Bool(on));
}

std::unique_ptr<Lamp> LampFactory::Create(QWidget* parent, std::span<const std::uint8_t> stored, QWidget** widget) {
  if (widget) *widget = nullptr;
  auto* host = new host::ControlHost(parent);
  const HRESULT hr = host->Site(kLedClassId, stored);
  if (!host->Control()) {
    delete host;
    if (!told_) {
      told_ = true;
      char code[16];
      std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(hr));
      ShowMessageBox(BoxRequest{
          "",
          "The LED lamp control " + FormatGuid(kLedClassId) + " could not be created (" + code +
              "): it is not registered or its library cannot be loaded.\r\nThe activity lamps are not shown. "
              "Register the lamp library with: glimmet-regsvr libglimmet.so",
          BoxIcon::Information, BoxButtons::Ok});
    }
    return std::make_unique<PlainLamp>();
  }
  if (Failed(hr)) std::fprintf(stderr, "tavoro: a lamp's stored data was refused (0x%08X); it shows its defaults\n",
                               static_cast<unsigned>(hr));
  if (widget) *widget = host;
  return std::make_unique<HostedLamp>(host);
}

namespace {

void Put(std::vector<std::uint8_t>& v, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) v.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::vector<std::uint8_t> StoredLamp(std::uint32_t onColor) {
  std::vector<std::uint8_t> v;
  Put(v, 0x30, 4);          // length of the block
  Put(v, 0x00020000, 4);    // persistence version 2.0
  Put(v, 635, 4);           // extent: 24 by 24 pixels in HIMETRIC
  Put(v, 635, 4);
  Put(v, 0x41, 4);          // stock properties: BackColor, Enabled
  Put(v, 0x8000000F, 4);    // BackColor: the button face
  Put(v, 1, 1);             // Enabled
  Put(v, 3, 2);             // BevelInner: lowered
  Put(v, 1, 2);             // BevelShapeInner: ellipse
  Put(v, 1, 2);             // BevelOuter: raised
  Put(v, 0, 2);             // BevelShapeOuter: rectangle
  Put(v, 1, 2);             // BevelWidthOuter
  Put(v, 1, 2);             // BevelWidthInner
  Put(v, 4, 2);             // BorderWidth
  Put(v, 0x00C0C0C0, 4);    // DisabledColor
  Put(v, 0x00808080, 4);    // OffColor
  Put(v, onColor, 4);       // OnColor
  Put(v, 0, 1);             // Value: off
  return v;
}

}  // namespace

std::vector<std::uint8_t> StoredLedMIDIout() { return StoredLamp(0x0000FF00); }
std::vector<std::uint8_t> StoredLedMIDIin() { return StoredLamp(0x000000FF); }

}  // namespace plat

#pragma once
// The program's activity lamps backed by hosted lamp controls.
//
// LampFactory::Create sites a lamp control (class kLedClassId) on a window from its stored data
// and returns a Lamp that sets the control's Value (dispatch id 11). When the control class is
// not registered or cannot be created, the factory says so once, in an information box, and
// hands out plain lamps, so the program runs on without them.

#include <QPointer>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/com/guid.h"
#include "platform/host/control_host.h"
#include "platform/ui/lamp.h"

namespace plat {

inline constexpr com::CLSID kLedClassId = com::Guid("{3B9C41EF-0FF1-4DDF-8132-D472FDB12FE7}");
inline constexpr com::DISPID kLedValueDispId = 11;

class HostedLamp : public Lamp {
 public:
  // `host` belongs to its parent window; the lamp only refers to it.
  explicit HostedLamp(host::ControlHost* host) : host_(host) {}
  void SetValue(bool on) override;
  bool Value() const override { return on_; }
  host::ControlHost* Widget() const { return host_; }

 private:
  QPointer<host::ControlHost> host_;
  bool on_ = false;
};

class LampFactory {
 public:
  // A lamp on `parent` restored from `stored` (length-prefixed stored data). `widget`, when
  // given, receives the lamp's window (null for a plain lamp).
  std::unique_ptr<Lamp> Create(QWidget* parent, std::span<const std::uint8_t> stored, QWidget** widget = nullptr);
  bool ToldUnavailable() const { return told_; }

 private:
  bool told_ = false;
};

// The stored data of the main window's two activity lamps: the length 0x30 and the lamp's
// 48-byte block. 24 by 24 pixels, lamp off, off colour 0x808080, the window's button face as
// background; the out lamp lights green (0x00FF00), the in lamp red (0x0000FF).
std::vector<std::uint8_t> StoredLedMIDIout();
std::vector<std::uint8_t> StoredLedMIDIin();

}  // namespace plat

#pragma once
// CLedCtrl: the lamp. A coloured face inside up to two bevel rings, lit or unlit by Value.

#include <cstdint>

#include "platform/activex/control.h"

namespace glimmet {

class CLedCtrl final : public plat::ax::COleControl {
 public:
  explicit CLedCtrl(plat::ax::COleControlModule& module);

 protected:
  void OnDraw(plat::gdi::DC& dc, const plat::gdi::Rect& bounds, const plat::gdi::Rect& invalid) override;
  void OnDrawMetafile(plat::gdi::DC& dc, const plat::gdi::Rect& bounds) override;
  void DoPropExchange(plat::ax::CPropExchange& px) override;
  void OnResetState() override;

 private:
  ~CLedCtrl() override = default;

  void AddMembers();
  // A 16-bit property with its set rule (true: accept).
  void AddShort(std::int32_t id, const char* name, std::int16_t CLedCtrl::*field, bool (*rule)(std::int16_t));
  void AddColor(std::int32_t id, const char* name, std::uint32_t CLedCtrl::*field);
  plat::com::HRESULT SetValue(bool on);
  plat::com::HRESULT AboutBox();

  struct BevelColors {
    plat::gdi::COLORREF light, shadow, dark;
  };
  static BevelColors Colors(bool newLook);
  void DrawBevel(plat::gdi::DC& dc, std::int16_t style, std::int16_t shape, const plat::gdi::Rect& r, bool newLook);
  void DrawRectBevel(plat::gdi::DC& dc, std::int16_t style, const plat::gdi::Rect& r, bool newLook);
  void DrawEllipseBevel(plat::gdi::DC& dc, std::int16_t style, const plat::gdi::Rect& r, bool newLook);
  void DrawBitmapAsDib(plat::gdi::DC& target, plat::gdi::DC& memory, const plat::gdi::Rect& bounds);

  std::int16_t bevelInner_ = 0;
  std::int16_t bevelShapeInner_ = 0;
  std::int16_t bevelOuter_ = 0;
  std::int16_t bevelShapeOuter_ = 0;
  std::int16_t bevelWidthOuter_ = 0;
  std::int16_t bevelWidthInner_ = 0;
  std::int16_t borderWidth_ = 0;
  std::uint32_t disabledColor_ = 0;
  std::uint32_t offColor_ = 0;
  std::uint32_t onColor_ = 0;
  bool value_ = false;
  bool newLook_ = true;
};

}  // namespace glimmet

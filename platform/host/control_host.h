#pragma once
// A window that sites one control: it creates the control through COM by its class id, restores
// it from its stored data, sets and reads its properties by dispatch id, paints it through the
// control's OnDraw, passes mouse input on, and releases the control before it goes away itself
// (so before the parent window that owns it).
//
// Stored data is the form a window keeps for each control: a 32-bit little-endian length
// followed by that many bytes of the control's stream. A length that does not match the data
// is refused and the control keeps its defaults.

#include <QWidget>
#include <cstdint>
#include <span>

#include "platform/activex/control.h"
#include "platform/com/unknown.h"

namespace plat::host {

class ControlHost : public QWidget, private ax::IClientSite {
 public:
  explicit ControlHost(QWidget* parent = nullptr);
  ~ControlHost() override;

  // Creates and restores the control (empty `stored`: defaults). Fails with the creation's
  // error (no control then), or with STG_E_READFAULT when the stored data was refused (the
  // control is sited with its defaults).
  com::HRESULT Site(const com::CLSID& clsid, std::span<const std::uint8_t> stored);
  // Releases the control now; later calls fail with E_UNEXPECTED.
  void ReleaseControl();
  ax::IControl* Control() const { return control_; }

  // Property access by dispatch id; errors come back as the member's scode.
  com::HRESULT SetProperty(com::DISPID id, const com::Variant& value);
  com::HRESULT GetProperty(com::DISPID id, com::Variant* value);

  // The ambient user mode the host reports (running by default).
  void SetUserMode(bool running) { userMode_ = running; }

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  bool AmbientUserMode() override { return userMode_; }
  gdi::OLE_COLOR AmbientBackColor() override;
  void InvalidateControl() override { update(); }
  std::int32_t WindowHandle() override;
  void Mouse(ax::MouseKind kind, QMouseEvent* event);

  ax::IControl* control_ = nullptr;
  bool userMode_ = true;
  QSize controlSize_;
};

}  // namespace plat::host

#include "platform/host/control_host.h"

#include <QMouseEvent>
#include <QPainter>

#include "platform/com/server.h"

namespace plat::host {

using namespace plat::com;

namespace {

// The largest control a host lays out from a stored extent.
constexpr std::int64_t kMaxHostedSide = 4096;

std::int16_t ButtonOf(Qt::MouseButton b) {
  switch (b) {
    case Qt::LeftButton: return ax::LEFT_BUTTON;
    case Qt::RightButton: return ax::RIGHT_BUTTON;
    case Qt::MiddleButton: return ax::MIDDLE_BUTTON;
    default: return 0;
  }
}

std::int16_t ButtonsOf(Qt::MouseButtons bs) {
  std::int16_t r = 0;
  if (bs & Qt::LeftButton) r |= ax::LEFT_BUTTON;
  if (bs & Qt::RightButton) r |= ax::RIGHT_BUTTON;
  if (bs & Qt::MiddleButton) r |= ax::MIDDLE_BUTTON;
  return r;
}

std::int16_t ShiftOf(Qt::KeyboardModifiers m) {
  std::int16_t r = 0;
  if (m & Qt::ShiftModifier) r |= ax::SHIFT_MASK;
  if (m & Qt::ControlModifier) r |= ax::CTRL_MASK;
  if (m & Qt::AltModifier) r |= ax::ALT_MASK;
  return r;
}

}  // namespace

ControlHost::ControlHost(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

ControlHost::~ControlHost() { ReleaseControl(); }

void ControlHost::ReleaseControl() {
  if (!control_) return;
  ax::IControl* c = control_;
  control_ = nullptr;
  c->SetClientSite(nullptr);
  c->Advise(nullptr);
  c->Release();
}

HRESULT ControlHost::Site(const CLSID& clsid, std::span<const std::uint8_t> stored) {
  ReleaseControl();
  void* p = nullptr;
  const HRESULT created = CoCreateInstance(clsid, nullptr, ax::IID_IControl, &p);
  if (Failed(created)) return created;
  control_ = static_cast<ax::IControl*>(p);
  control_->SetClientSite(this);

  HRESULT result = S_OK;
  bool loaded = false;
  if (!stored.empty()) {
    std::uint32_t length = 0;
    if (stored.size() >= 4) {
      length = std::uint32_t{stored[0]} | (std::uint32_t{stored[1]} << 8) | (std::uint32_t{stored[2]} << 16) |
               (std::uint32_t{stored[3]} << 24);
    }
    if (stored.size() >= 4 && length == stored.size() - 4) {
      loaded = Succeeded(control_->Load(stored.subspan(4)));
    }
    if (!loaded) result = STG_E_READFAULT;
  }
  if (!loaded) control_->InitNew();

  std::int32_t cx = 0, cy = 0;
  control_->GetExtent(&cx, &cy);
  const std::int64_t w = ax::PixelsFromHimetric(cx);
  const std::int64_t h = ax::PixelsFromHimetric(cy);
  if (w > 0 && h > 0 && w <= kMaxHostedSide && h <= kMaxHostedSide) {
    controlSize_ = QSize(static_cast<int>(w), static_cast<int>(h));
    resize(controlSize_);
  }
  updateGeometry();
  update();
  return result;
}

HRESULT ControlHost::SetProperty(DISPID id, const Variant& value) {
  if (!control_) return E_UNEXPECTED;
  ExcepInfo excep;
  const HRESULT hr = control_->Invoke(id, DISPATCH_PROPERTYPUT, std::span<const Variant>(&value, 1), nullptr, &excep);
  return ErrorOf(hr, excep);
}

HRESULT ControlHost::GetProperty(DISPID id, Variant* value) {
  if (!control_) return E_UNEXPECTED;
  ExcepInfo excep;
  const HRESULT hr = control_->Invoke(id, DISPATCH_PROPERTYGET, {}, value, &excep);
  return ErrorOf(hr, excep);
}

QSize ControlHost::sizeHint() const { return controlSize_.isValid() ? controlSize_ : QSize(32, 32); }

void ControlHost::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!control_) {
    painter.fillRect(rect(), palette().window());
    return;
  }
  auto dc = gdi::DC::ForPainter(&painter, size());
  control_->Draw(*dc, gdi::Rect{0, 0, width(), height()});
}

void ControlHost::Mouse(ax::MouseKind kind, QMouseEvent* event) {
  if (!control_) return;
  const QPoint pos = event->position().toPoint();
  const std::int16_t button = kind == ax::MouseKind::Move ? ButtonsOf(event->buttons()) : ButtonOf(event->button());
  control_->MouseEvent(kind, button, ShiftOf(event->modifiers()), pos.x(), pos.y());
}

void ControlHost::mousePressEvent(QMouseEvent* event) { Mouse(ax::MouseKind::Down, event); }
void ControlHost::mouseReleaseEvent(QMouseEvent* event) { Mouse(ax::MouseKind::Up, event); }
void ControlHost::mouseMoveEvent(QMouseEvent* event) { Mouse(ax::MouseKind::Move, event); }
void ControlHost::mouseDoubleClickEvent(QMouseEvent* event) { Mouse(ax::MouseKind::DblClick, event); }

gdi::OLE_COLOR ControlHost::AmbientBackColor() {
  const QWidget* container = parentWidget() ? parentWidget() : this;
  const QColor c = container->palette().color(container->backgroundRole());
  return gdi::RGB(static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                  static_cast<std::uint8_t>(c.blue()));
}

std::int32_t ControlHost::WindowHandle() {
  // The native window of the top-level window, when one exists (offscreen and unshown windows
  // have none); never creates one.
  const WId id = window()->internalWinId();
  return static_cast<std::int32_t>(static_cast<std::uint64_t>(id) & 0x7FFFFFFF);
}

}  // namespace plat::host

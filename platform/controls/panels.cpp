#include "platform/controls/panels.h"

#include <QPainter>

namespace plat::ctl {

namespace {

void PaintBackground(QWidget* w, long color) {
  QPalette p = w->palette();
  p.setColor(QPalette::Window, ColorFromNumber(color));
  w->setPalette(p);
  w->setAutoFillBackground(true);
}

long BackgroundOf(const QWidget* w) { return NumberFromColor(w->palette().color(QPalette::Window)); }

}  // namespace

// ---------------------------------------------------------------------------------------------
// Label

Label::Label(QWidget* parent) : QLabel(parent), Control(this) {}

Label::Label(const std::string& caption, QWidget* parent) : Label(parent) { SetCaption(caption); }

void Label::SetForeColor(long color) {
  foreColor_ = color;
  QPalette p = palette();
  p.setColor(QPalette::WindowText, ColorFromNumber(color));
  setPalette(p);
}

long Label::BackColor() const { return backColor_ >= 0 ? backColor_ : BackgroundOf(this); }

void Label::SetBackColor(long color) {
  backColor_ = color;
  PaintBackground(this, color);
}

void Label::CopyPropertiesFrom(const Control& model) {
  Control::CopyPropertiesFrom(model);
  if (const auto* m = dynamic_cast<const Label*>(&model)) {
    setText(m->text());
    setAlignment(m->alignment());
    SetForeColor(m->foreColor_);
    if (m->backColor_ >= 0) SetBackColor(m->backColor_);
  }
}

// ---------------------------------------------------------------------------------------------
// Panel3D

Panel3D::Panel3D(QWidget* parent) : QFrame(parent), Control(this) { setAttribute(Qt::WA_OpaquePaintEvent); }

Panel3D::Panel3D(const std::string& caption, QWidget* parent) : Panel3D(parent) { SetCaption(caption); }

void Panel3D::SetCaption(const std::string& caption) {
  caption_ = caption;
  updateGeometry();
  update();
}

long Panel3D::BackColor() const { return backColor_ >= 0 ? backColor_ : BackgroundOf(this); }

void Panel3D::SetBackColor(long color) {
  backColor_ = color;
  update();
}

void Panel3D::SetForeColor(long color) {
  foreColor_ = color;
  update();
}

void Panel3D::SetBevelOuter(int look) {
  bevelOuter_ = look;
  update();
}

void Panel3D::SetCaptionAlignment(Qt::Alignment alignment) {
  alignment_ = alignment;
  update();
}

QSize Panel3D::sizeHint() const {
  const QSize text = fontMetrics().size(Qt::TextSingleLine, ToQ(caption_));
  return QSize(text.width() + 10, std::max(text.height() + 6, 20));
}

void Panel3D::CopyPropertiesFrom(const Control& model) {
  Control::CopyPropertiesFrom(model);
  if (const auto* m = dynamic_cast<const Panel3D*>(&model)) {
    caption_ = m->caption_;
    backColor_ = m->backColor_;
    foreColor_ = m->foreColor_;
    bevelOuter_ = m->bevelOuter_;
    alignment_ = m->alignment_;
  }
}

void Panel3D::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect r = rect();
  const QColor face = ColorFromNumber(BackColor());
  painter.fillRect(r, face);
  if (bevelOuter_ == 1 || bevelOuter_ == 2) {
    const QColor light = bevelOuter_ == 2 ? QColor(255, 255, 255) : QColor(128, 128, 128);
    const QColor dark = bevelOuter_ == 2 ? QColor(128, 128, 128) : QColor(255, 255, 255);
    painter.setPen(light);
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(dark);
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
  }
  if (!caption_.empty()) {
    painter.setPen(isEnabled() ? ColorFromNumber(foreColor_) : palette().color(QPalette::Disabled, QPalette::WindowText));
    painter.drawText(r.adjusted(3, 1, -3, -1), static_cast<int>(alignment_ | Qt::TextSingleLine), ToQ(caption_));
  }
}

// ---------------------------------------------------------------------------------------------
// Frame

Frame::Frame(QWidget* parent) : QGroupBox(parent), Control(this) {}

Frame::Frame(const std::string& caption, QWidget* parent) : Frame(parent) { SetCaption(caption); }

long Frame::BackColor() const { return BackgroundOf(this); }
void Frame::SetBackColor(long color) { PaintBackground(this, color); }

// ---------------------------------------------------------------------------------------------
// Elastic

Elastic::Elastic(QWidget* parent) : QFrame(parent), Control(this) {}

long Elastic::BackColor() const { return BackgroundOf(this); }
void Elastic::SetBackColor(long color) { PaintBackground(this, color); }

}  // namespace plat::ctl

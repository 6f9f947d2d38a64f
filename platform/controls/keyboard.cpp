#include "platform/controls/keyboard.h"

#include <QEvent>
#include <QMouseEvent>

namespace plat::ctl {

namespace {

constexpr int kWhitesPerOctave = 7;
constexpr int kOctaves = Keyboard::kKeys / 12;
constexpr int kLabelHeight = 240;
constexpr int kLabelWidth = 480;
constexpr int kBarHeight = 255;

// Place of each key of an octave among the octave's white keys; for a black key, the white key
// to its left.
constexpr int kWhitePlace[12] = {0, 0, 1, 1, 2, 3, 3, 4, 4, 5, 5, 6};

int KeyLeft(int index) {
  const int octave = index / 12;
  const int place = index % 12;
  const int whiteLeft = (octave * kWhitesPerOctave + kWhitePlace[place]) * Keyboard::kWhiteKeyWidth;
  return Keyboard::IsBlackKey(index) ? whiteLeft + Keyboard::kWhiteKeyWidth - Keyboard::kBlackKeyWidth / 2 : whiteLeft;
}

}  // namespace

bool Keyboard::IsBlackKey(int index) {
  switch (((index % 12) + 12) % 12) {
    case 1: case 3: case 6: case 8: case 10: return true;
    default: return false;
  }
}

Keyboard::Keyboard(QWidget* parent) : QWidget(parent) {
  const int width = kOctaves * kWhitesPerOctave * kWhiteKeyWidth;

  backdrop_ = new Panel3D(this);
  backdrop_->Move(0, 0, width, kWhiteKeyHeight);
  backdrop_->SetBevelOuter(1);
  backdrop_->SetBackColor(0x808080);
  keys_.Add(kBackdrop, backdrop_);
  backdrop_->installEventFilter(this);

  // White keys first, then the black keys above them.
  for (int pass = 0; pass < 2; ++pass) {
    for (int i = 0; i < kKeys; ++i) {
      const bool black = IsBlackKey(i);
      if (black != (pass == 1)) continue;
      auto* key = new Panel3D(backdrop_);
      key->Move(KeyLeft(i), 0, black ? kBlackKeyWidth : kWhiteKeyWidth, black ? kBlackKeyHeight : kWhiteKeyHeight);
      key->SetBackColor(black ? 0x000000 : 0xFFFFFF);
      key->SetBevelOuter(2);
      keys_.Add(i, key);
      key->installEventFilter(this);
    }
  }

  strip_ = new PictureBox(this);
  strip_->SetName("picMap");
  strip_->SetBackColor(0x000000);
  strip_->Move(0, kWhiteKeyHeight, width, kStripHeight);

  for (int j = 0; j < kOctaves; ++j) {
    auto* label = new Label(this);
    label->Move(KeyLeft(12 * j), kWhiteKeyHeight + kStripHeight, kLabelWidth, kLabelHeight);
    labels_.Add(j, label);
  }

  bar_ = new ScrollBar(Qt::Horizontal, this);
  bar_->SetName("hsbKey");
  bar_->SetMin(0);
  bar_->SetMax(kOctaves - 1);
  bar_->SetSmallChange(1);
  bar_->SetLargeChange(1);
  bar_->Move(0, kWhiteKeyHeight + kStripHeight + kLabelHeight, width, kBarHeight);

  setFixedSize(sizeHint());
}

QSize Keyboard::sizeHint() const {
  return QSize(PixelsFromTwips(kOctaves * kWhitesPerOctave * kWhiteKeyWidth),
               PixelsFromTwips(kWhiteKeyHeight + kStripHeight + kLabelHeight + kBarHeight));
}

Panel3D* Keyboard::PanelAt(const QPoint& globalPos) const {
  const QPoint p = backdrop_->mapFromGlobal(globalPos);
  if (!backdrop_->isVisible() || !backdrop_->rect().contains(p)) return nullptr;
  for (QWidget* w = backdrop_->childAt(p); w; w = w->parentWidget()) {
    if (w == backdrop_) break;
    if (auto* key = dynamic_cast<Panel3D*>(w); key && key->parentWidget() == backdrop_) return key;
  }
  return backdrop_;
}

void Keyboard::Track(const QPoint& globalPos) {
  lastGlobal_ = globalPos;
  Panel3D* target = PanelAt(globalPos);
  Control* source = source_.data();
  auto raise = [&](Panel3D* panel, int state) {
    const QPoint local = panel->mapFromGlobal(globalPos);
    Raise(panel->DragOver, source, TwipsFromPixels(local.x()), TwipsFromPixels(local.y()), state);
  };
  if (target != over_.data()) {
    QPointer<Panel3D> left = over_;
    QPointer<Panel3D> entered = target;
    over_ = target;
    if (left) raise(left, 1);
    if (entered && dragging_) raise(entered, 0);
  } else if (target) {
    raise(target, 2);
  }
}

void Keyboard::Finish(Panel3D* target, const QPoint& globalPos) {
  Panel3D* dropOn = target ? target : source_.data();
  Control* source = source_.data();
  dragging_ = false;
  source_ = nullptr;
  over_ = nullptr;
  if (dropOn == nullptr) return;
  const QPoint local = dropOn->mapFromGlobal(globalPos);
  const auto handler = dropOn->DragDrop;
  if (handler) handler(source, TwipsFromPixels(local.x()), TwipsFromPixels(local.y()));
}

void Keyboard::EndDrag() {
  if (!dragging_) return;
  Finish(over_.data(), lastGlobal_);
}

bool Keyboard::eventFilter(QObject* watched, QEvent* event) {
  auto* panel = dynamic_cast<Panel3D*>(watched);
  if (!panel) return false;
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      auto* me = static_cast<QMouseEvent*>(event);
      if (me->button() == Qt::LeftButton && !dragging_) {
        dragging_ = true;
        source_ = panel;
        over_ = nullptr;
        Track(me->globalPosition().toPoint());
      }
      break;
    }
    case QEvent::MouseMove: {
      auto* me = static_cast<QMouseEvent*>(event);
      if (dragging_) Track(me->globalPosition().toPoint());
      break;
    }
    case QEvent::MouseButtonRelease: {
      auto* me = static_cast<QMouseEvent*>(event);
      if (me->button() == Qt::LeftButton && dragging_) {
        const QPoint g = me->globalPosition().toPoint();
        Finish(PanelAt(g), g);
      }
      break;
    }
    default:
      break;
  }
  return false;
}

bool Keyboard::event(QEvent* event) {
  if (event->type() == QEvent::WindowDeactivate) EndDrag();
  return QWidget::event(event);
}

void Keyboard::hideEvent(QHideEvent* event) {
  EndDrag();
  QWidget::hideEvent(event);
}

}  // namespace plat::ctl

#include "platform/controls/control.h"

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include "platform/controls/control_events.h"

namespace plat::ctl {

QColor ColorFromNumber(long number) {
  const auto n = static_cast<unsigned long>(number);
  return QColor(static_cast<int>(n & 0xFF), static_cast<int>((n >> 8) & 0xFF), static_cast<int>((n >> 16) & 0xFF));
}

long NumberFromColor(const QColor& color) {
  return static_cast<long>(color.red()) | (static_cast<long>(color.green()) << 8) | (static_cast<long>(color.blue()) << 16);
}

QString ToQ(const std::string& latin1) { return QString::fromLatin1(latin1.data(), static_cast<qsizetype>(latin1.size())); }

std::string FromQ(const QString& text) {
  std::string out;
  out.reserve(static_cast<std::size_t>(text.size()));
  for (QChar c : text) out.push_back(c.unicode() < 256 ? static_cast<char>(c.unicode()) : '?');
  return out;
}

namespace {

// Per window: the control that disabled itself while it held the focus, and the widget Qt moved
// the focus to; while the focus stays there, the disabled control is still the active one.
class ActiveTracker : public QObject {
 public:
  explicit ActiveTracker(QWidget* window) : QObject(window) { setObjectName("plat::ctl::ActiveTracker"); }
  QPointer<QWidget> sticky;
  QPointer<QWidget> movedTo;
};

ActiveTracker* TrackerOf(const QWidget* window, bool create) {
  if (!window) return nullptr;
  ActiveTracker* t = nullptr;
  for (QObject* child : window->children()) {
    if ((t = dynamic_cast<ActiveTracker*>(child))) break;
  }
  if (!t && create) t = new ActiveTracker(const_cast<QWidget*>(window));
  return t;
}

QPointer<QWidget>& LastActiveWindow() {
  static QPointer<QWidget> window;
  return window;
}

bool HoldsFocus(const QWidget* widget) {
  const QWidget* f = widget->window()->focusWidget();
  return f && (f == widget || widget->isAncestorOf(f));
}

int ShiftOf(Qt::KeyboardModifiers m) {
  int s = 0;
  if (m & Qt::ShiftModifier) s |= kShiftMask;
  if (m & Qt::ControlModifier) s |= kCtrlMask;
  if (m & Qt::AltModifier) s |= kAltMask;
  return s;
}

int ButtonOf(Qt::MouseButton b) {
  switch (b) {
    case Qt::LeftButton: return kLeftButton;
    case Qt::RightButton: return kRightButton;
    case Qt::MiddleButton: return kMiddleButton;
    default: return 0;
  }
}

// The key codes a key-down reports: the keyboard's virtual key numbers.
int KeyCodeOf(int qtKey) {
  if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)) return qtKey;
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return 112 + (qtKey - Qt::Key_F1);
  switch (qtKey) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: case Qt::Key_Backtab: return 9;
    case Qt::Key_Return: case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    default: return 0;
  }
}

}  // namespace

// ---------------------------------------------------------------------------------------------

ControlEvents::ControlEvents(Control* owner) : QObject(owner->Widget()), owner_(owner) {
  owner->Widget()->installEventFilter(this);
}

void ControlEvents::ListenToPart(QWidget* part) {
  if (part) part->installEventFilter(this);
}

bool ControlEvents::eventFilter(QObject* watched, QEvent* event) {
  if (!owner_) return false;
  QWidget* w = owner_->Widget();
  if (watched != w) {
    // A part of the control (a list's viewport) reports only its mouse buttons.
    auto* part = qobject_cast<QWidget*>(watched);
    if (!part || !w->isAncestorOf(part)) return false;
    if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonRelease) return false;
  }
  switch (event->type()) {
    case QEvent::FocusIn: {
      LastActiveWindow() = w->window();
      const auto reason = static_cast<QFocusEvent*>(event)->reason();
      // The window getting active again gives the focus back where Qt left it: that is no move.
      if (ActiveTracker* t = TrackerOf(w->window(), false); t && reason != Qt::ActiveWindowFocusReason) t->sticky = nullptr;
      if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) Raise(owner_->GotFocus);
      break;
    }
    case QEvent::FocusOut: {
      const auto reason = static_cast<QFocusEvent*>(event)->reason();
      if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) Raise(owner_->LostFocus);
      break;
    }
    case QEvent::MouseButtonPress: {
      auto* me = static_cast<QMouseEvent*>(event);
      // A control that takes the focus on a click becomes the active control before its own
      // events run, even in a window that is not yet active.
      if ((w->focusPolicy() & Qt::ClickFocus) && w->isEnabled() && !HoldsFocus(w)) w->setFocus(Qt::MouseFocusReason);
      LastActiveWindow() = w->window();
      const QPoint p = static_cast<QWidget*>(watched)->mapTo(w, me->position().toPoint());
      Raise(owner_->MouseDown, ButtonOf(me->button()), ShiftOf(me->modifiers()), TwipsFromPixels(p.x()), TwipsFromPixels(p.y()));
      break;
    }
    case QEvent::MouseButtonRelease: {
      auto* me = static_cast<QMouseEvent*>(event);
      const QPoint p = static_cast<QWidget*>(watched)->mapTo(w, me->position().toPoint());
      Raise(owner_->MouseUp, ButtonOf(me->button()), ShiftOf(me->modifiers()), TwipsFromPixels(p.x()), TwipsFromPixels(p.y()));
      break;
    }
    case QEvent::KeyPress: {
      auto* ke = static_cast<QKeyEvent*>(event);
      int code = KeyCodeOf(ke->key());
      if (code != 0) Raise(owner_->KeyDown, code, ShiftOf(ke->modifiers()));
      break;
    }
    default:
      break;
  }
  return false;
}

// ---------------------------------------------------------------------------------------------

Control::Control(QWidget* self) : widget_(self) { events_ = new ControlEvents(this); }

Control::~Control() {
  // Runs before the widget part goes: stop the filter from reaching a half-destroyed control.
  if (events_) {
    events_->Detach();
    widget_->removeEventFilter(events_);
  }
}

void Control::ListenToPart(QWidget* part) {
  if (events_) events_->ListenToPart(part);
}

void Control::SetName(std::string name) {
  name_ = std::move(name);
  widget_->setObjectName(ToQ(name_));
}

bool Control::Enabled() const { return !widget_->testAttribute(Qt::WA_ForceDisabled); }

void Control::SetEnabled(bool enabled) {
  QWidget* window = widget_->window();
  if (!enabled) {
    const bool hadFocus = HoldsFocus(widget_);
    widget_->setEnabled(false);
    if (hadFocus) {
      ActiveTracker* t = TrackerOf(window, true);
      t->sticky = widget_;
      t->movedTo = window->focusWidget();
    }
    return;
  }
  widget_->setEnabled(true);
  ActiveTracker* t = TrackerOf(window, false);
  if (t && t->sticky == widget_) {
    if (window->focusWidget() == t->movedTo) widget_->setFocus(Qt::OtherFocusReason);
    t->sticky = nullptr;
  }
}

bool Control::Visible() const {
  QWidget* parent = widget_->parentWidget();
  return parent ? widget_->isVisibleTo(parent) : widget_->isVisible();
}

void Control::SetVisible(bool visible) { widget_->setVisible(visible); }

int Control::Left() const { return TwipsFromPixels(widget_->x()); }
int Control::Top() const { return TwipsFromPixels(widget_->y()); }
int Control::Width() const { return TwipsFromPixels(widget_->width()); }
int Control::Height() const { return TwipsFromPixels(widget_->height()); }
void Control::SetLeft(int twips) { widget_->move(PixelsFromTwips(twips), widget_->y()); }
void Control::SetTop(int twips) { widget_->move(widget_->x(), PixelsFromTwips(twips)); }
void Control::SetWidth(int twips) { widget_->resize(std::max(0, PixelsFromTwips(twips)), widget_->height()); }
void Control::SetHeight(int twips) { widget_->resize(widget_->width(), std::max(0, PixelsFromTwips(twips))); }

void Control::Move(int left, int top, int width, int height) {
  widget_->setGeometry(PixelsFromTwips(left), PixelsFromTwips(top), std::max(0, PixelsFromTwips(width)),
                       std::max(0, PixelsFromTwips(height)));
}

void Control::SetFocus() { widget_->setFocus(Qt::OtherFocusReason); }
void Control::Refresh() { widget_->repaint(); }

void Control::CopyPropertiesFrom(const Control& model) {
  SetName(model.Name());
  SetTag(model.Tag());
  widget_->setFont(model.widget_->font());
  widget_->setGeometry(model.widget_->geometry());
  widget_->setEnabled(model.Enabled());
}

// ---------------------------------------------------------------------------------------------

Control* ControlOf(const QWidget* widget) {
  for (const QWidget* w = widget; w; w = w->parentWidget()) {
    if (auto* c = dynamic_cast<Control*>(const_cast<QWidget*>(w))) return c;
    if (w->isWindow()) break;
  }
  return nullptr;
}

Control* ActiveControl(const QWidget* window) {
  if (!window) return nullptr;
  window = window->window();
  QWidget* focus = window->focusWidget();
  if (ActiveTracker* t = TrackerOf(window, false); t && t->sticky) {
    if (focus == t->movedTo) return ControlOf(t->sticky);
    t->sticky = nullptr;
  }
  return ControlOf(focus);
}

Control* ScreenActiveControl() {
  if (QWidget* active = QApplication::activeWindow()) {
    if (Control* c = ActiveControl(active)) return c;
  }
  return ActiveControl(LastActiveWindow());
}

void SetMousePointer(QWidget* window, int pointer) {
  if (!window) return;
  window->setProperty("plat::ctl::MousePointer", pointer);
  if (pointer == 11)
    window->setCursor(Qt::WaitCursor);
  else if (pointer == 13)
    window->setCursor(Qt::BusyCursor);
  else
    window->unsetCursor();
}

int MousePointer(const QWidget* window) {
  if (!window) return 0;
  const QVariant v = window->property("plat::ctl::MousePointer");
  return v.isValid() ? v.toInt() : 0;
}

}  // namespace plat::ctl

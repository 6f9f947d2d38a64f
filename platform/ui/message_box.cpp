// The message-box service: a modal QMessageBox, or whatever answer a test has installed.
#include "platform/ui/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QShowEvent>
#include <QStringDecoder>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <utility>

namespace plat {
namespace {

BoxHandler& Handler() {
  static BoxHandler handler;
  return handler;
}

BoxShownHook& ShownHook() {
  static BoxShownHook hook;
  return hook;
}

// Texts arrive as bytes: UTF-8 when they are valid UTF-8, else one character per byte (names
// read from the instrument are plain 8-bit text).
QString ToQString(const std::string& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
  if (utf8.hasError()) text = QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return text;
}

// The answer when the box is closed without a button that names one (Escape, window close).
BoxResult DismissResult(BoxButtons buttons) {
  switch (buttons) {
    case BoxButtons::Ok: return BoxResult::Ok;
    case BoxButtons::OkCancel: return BoxResult::Cancel;
    case BoxButtons::YesNo: return BoxResult::No;
    case BoxButtons::YesNoCancel: return BoxResult::Cancel;
  }
  return BoxResult::Ok;
}

QMessageBox::Icon ToQtIcon(BoxIcon icon) {
  switch (icon) {
    case BoxIcon::None: return QMessageBox::NoIcon;
    case BoxIcon::Critical: return QMessageBox::Critical;
    case BoxIcon::Question: return QMessageBox::Question;
    case BoxIcon::Exclamation: return QMessageBox::Warning;
    case BoxIcon::Information: return QMessageBox::Information;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQtButtons(BoxButtons buttons) {
  switch (buttons) {
    case BoxButtons::Ok: return QMessageBox::Ok;
    case BoxButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case BoxButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case BoxButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

// The window a box opens over: the active one, else (a window that asked has just hidden
// itself, or the progress window has just closed) a modal window on screen, else the program's
// main window: the first top-level window on screen that belongs to no other.
QWidget* BoxOwner() {
  if (QWidget* active = QApplication::activeWindow(); active != nullptr && active->isVisible()) return active;
  QWidget* topmost = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    const Qt::WindowType type = w->windowType();
    if (!w->isVisible() || (type != Qt::Window && type != Qt::Dialog) || qobject_cast<QMessageBox*>(w) != nullptr)
      continue;
    if (w->isModal()) return w;
    if (topmost == nullptr && w->parentWidget() == nullptr) topmost = w;
  }
  return topmost;
}

// Centred on its owner (on the screen without one) and wholly on that screen. Placed once the
// box has its size, before it is mapped; its frame, not yet known, is taken to be the owner's.
class PlacedBox : public QMessageBox {
 public:
  using QMessageBox::QMessageBox;

 protected:
  void showEvent(QShowEvent* event) override {
    QMessageBox::showEvent(event);
    if (event->spontaneous()) return;
    const QWidget* owner = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
    const QRect area = (owner != nullptr ? owner->screen() : screen())->availableGeometry();
    QMargins frame;
    if (owner != nullptr) {
      const QRect inner = owner->geometry(), outer = owner->frameGeometry();
      frame = QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                       outer.bottom() - inner.bottom());
    }
    QRect placed(QPoint(), size().grownBy(frame));
    placed.moveCenter(owner != nullptr ? owner->frameGeometry().center() : area.center());
    // A box larger than the screen keeps its top left corner on it.
    placed.moveLeft(std::max(area.left(), std::min(placed.left(), area.right() + 1 - placed.width())));
    placed.moveTop(std::max(area.top(), std::min(placed.top(), area.bottom() + 1 - placed.height())));
    // The inner rectangle: where a frame goes before the window is mapped is up to the platform.
    setGeometry(placed.marginsRemoved(frame));
  }
};

BoxResult ShowRealBox(const BoxRequest& request) {
  // Without a widget application there is nothing to show the box on: say it on stderr.
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
    std::fprintf(stderr, "%s: %s\n", request.title.c_str(), request.text.c_str());
    return DismissResult(request.buttons);
  }
  QString title = ToQString(request.title);
  if (title.isEmpty()) title = QGuiApplication::applicationDisplayName();
  // On the heap: a window that goes away while the box is up takes its box with it.
  QPointer<QMessageBox> box =
      new PlacedBox(ToQtIcon(request.icon), title, ToQString(request.text), ToQtButtons(request.buttons), BoxOwner());
  if (const BoxShownHook hook = ShownHook()) {
    // Once the box runs its own loop: the hook may close it.
    QMessageBox* shown = box;
    QTimer::singleShot(0, shown, [shown, hook, &request] { hook(*shown, request); });
  }
  const int answer = box->exec();
  delete box;  // nothing when the owner took it along
  switch (answer) {
    case QMessageBox::Ok: return BoxResult::Ok;
    case QMessageBox::Cancel: return BoxResult::Cancel;
    case QMessageBox::Yes: return BoxResult::Yes;
    case QMessageBox::No: return BoxResult::No;
    default: return DismissResult(request.buttons);
  }
}

}  // namespace

BoxResult ShowMessageBox(const BoxRequest& request) {
  // A copy, so a handler that replaces itself while answering stays alive until it returns.
  BoxHandler handler = Handler();
  if (handler) return handler(request);
  return ShowRealBox(request);
}

void SetMessageBoxHandler(BoxHandler answer) { Handler() = std::move(answer); }

void SetMessageBoxShownHook(BoxShownHook hook) { ShownHook() = std::move(hook); }

BoxRecorder::BoxRecorder(BoxResult replyWith) : reply(replyWith), previous_(Handler()) {
  SetMessageBoxHandler([this](const BoxRequest& request) {
    boxes.push_back(request);
    return reply;
  });
}

BoxRecorder::~BoxRecorder() { SetMessageBoxHandler(std::move(previous_)); }

}  // namespace plat

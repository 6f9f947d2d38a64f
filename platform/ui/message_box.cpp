// The message-box service: a modal QMessageBox, or whatever answer a test has installed.
#include "platform/ui/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QStringDecoder>
#include <QTimer>
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

BoxResult ShowRealBox(const BoxRequest& request) {
  // Without a widget application there is nothing to show the box on: say it on stderr.
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
    std::fprintf(stderr, "%s: %s\n", request.title.c_str(), request.text.c_str());
    return DismissResult(request.buttons);
  }
  QString title = ToQString(request.title);
  if (title.isEmpty()) title = QGuiApplication::applicationDisplayName();
  QMessageBox box(ToQtIcon(request.icon), title, ToQString(request.text), ToQtButtons(request.buttons),
                  QApplication::activeWindow());
  if (const BoxShownHook hook = ShownHook()) {
    // Once the box runs its own loop: the hook may close it.
    QTimer::singleShot(0, &box, [&box, hook, &request] { hook(box, request); });
  }
  switch (box.exec()) {
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

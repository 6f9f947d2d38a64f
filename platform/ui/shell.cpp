#include "platform/ui/shell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QString>
#include <QUrl>
#include <utility>

namespace plat {
namespace {

ShellHandler& Handler() {
  static ShellHandler handler;
  return handler;
}

bool Dispatch(const ShellRequest& request) {
  ShellHandler handler = Handler();
  if (handler) return handler(request);
  const QString target = QString::fromUtf8(request.target.data(), static_cast<qsizetype>(request.target.size()));
  if (request.verb == "run") return !target.isEmpty() && QProcess::startDetached(target, {});
  const QUrl url = QUrl::fromUserInput(target);
  return url.isValid() && QDesktopServices::openUrl(url);
}

}  // namespace

bool ShellOpen(const std::string& address) { return Dispatch({"open", address}); }

bool StartProgram(const std::string& path) { return Dispatch({"run", path}); }

void SetShellHandler(ShellHandler handler) { Handler() = std::move(handler); }

ShellRecorder::ShellRecorder(bool answer) : result(answer), previous_(Handler()) {
  SetShellHandler([this](const ShellRequest& request) {
    requests.push_back(request);
    return result;
  });
}

ShellRecorder::~ShellRecorder() { SetShellHandler(std::move(previous_)); }

}  // namespace plat

#include "platform/ui/help.h"

#include <QFileInfo>
#include <QString>
#include <utility>

#include "platform/ui/shell.h"

namespace plat {
namespace {

HelpHandler& Handler() {
  static HelpHandler handler;
  return handler;
}

}  // namespace

bool ShowHelp(const HelpRequest& request) {
  HelpHandler handler = Handler();
  if (handler) return handler(request);
  // There is no help viewer with a topics window here: both commands open the file itself.
  const QFileInfo file(QString::fromUtf8(request.file.data(), static_cast<qsizetype>(request.file.size())));
  if (request.file.empty() || !file.isFile()) return false;
  return ShellOpen(file.absoluteFilePath().toStdString());
}

void SetHelpHandler(HelpHandler handler) { Handler() = std::move(handler); }

HelpRecorder::HelpRecorder(bool answer) : result(answer), previous_(Handler()) {
  SetHelpHandler([this](const HelpRequest& request) {
    requests.push_back(request);
    return result;
  });
}

HelpRecorder::~HelpRecorder() { SetHelpHandler(std::move(previous_)); }

}  // namespace plat

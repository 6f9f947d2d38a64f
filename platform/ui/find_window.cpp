#include "platform/ui/find_window.h"

#include <QApplication>
#include <QWidget>

namespace plat {

QWidget* FindTopLevelWindow(std::string_view title) {
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return nullptr;
  const QString wanted = QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size()));
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->windowTitle().compare(wanted, Qt::CaseInsensitive) == 0) return widget;
  }
  return nullptr;
}

}  // namespace plat

#include "platform/controls/index_tab.h"

#include <QStringList>

namespace plat::ctl {

IndexTab::IndexTab(QWidget* parent) : QTabWidget(parent), Control(this) {
  connect(this, &QTabWidget::currentChanged, this, [this] {
    if (!programWrite_) Raise(Click);
  });
}

std::string IndexTab::Caption() const {
  QStringList parts;
  for (int i = 0; i < count(); ++i) parts << tabText(i);
  return FromQ(parts.join(u'|'));
}

void IndexTab::SetCaption(const std::string& captions) {
  const QStringList parts = ToQ(captions).split(u'|');
  programWrite_ = true;
  while (count() > parts.size()) {
    QWidget* page = widget(count() - 1);
    removeTab(count() - 1);
    delete page;
  }
  for (int i = 0; i < parts.size(); ++i) {
    if (i < count())
      setTabText(i, parts[i]);
    else
      addTab(new QWidget, parts[i]);
  }
  programWrite_ = false;
}

void IndexTab::SetCurrTab(int tab) {
  if (tab < 0 || tab >= count()) return;
  programWrite_ = true;
  setCurrentIndex(tab);
  programWrite_ = false;
}

void IndexTab::SetPage(int tab, QWidget* page) {
  if (tab < 0 || tab >= count() || !page) return;
  programWrite_ = true;
  const int current = currentIndex();
  const QString caption = tabText(tab);
  QWidget* old = widget(tab);
  removeTab(tab);
  insertTab(tab, page, caption);
  delete old;
  setCurrentIndex(current);
  programWrite_ = false;
}

}  // namespace plat::ctl

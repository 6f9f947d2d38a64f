#pragma once
// An index tab strip with a page under each tab. Caption holds every tab's caption in one text,
// separated by "|" ("Midi|Disk|Vesk"). CurrTab is the current tab, from 0; setting it shows that
// page and raises nothing. Click is raised after the user has brought another tab to the front.

#include <QTabWidget>
#include <functional>
#include <string>

#include "platform/controls/control.h"

namespace plat::ctl {

class IndexTab : public QTabWidget, public Control {
 public:
  explicit IndexTab(QWidget* parent = nullptr);

  std::string Caption() const;
  // One tab per caption; new tabs get an empty page, surplus tabs and their pages go.
  void SetCaption(const std::string& captions);
  int CurrTab() const { return currentIndex(); }
  void SetCurrTab(int tab);
  int TabCount() const { return count(); }
  QWidget* Page(int tab) const { return widget(tab); }
  // Puts `page` under tab `tab` in place of the page it had (which is deleted).
  void SetPage(int tab, QWidget* page);

  std::function<void()> Click;

 private:
  bool programWrite_ = false;
};

}  // namespace plat::ctl

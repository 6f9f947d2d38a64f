#include "platform/controls/status_bar.h"

#include <QHBoxLayout>

namespace plat::ctl {

StatusPanel::StatusPanel(int index, std::string key, std::string tag, QWidget* parent)
    : QLabel(parent), index_(index), key_(std::move(key)), tag_(std::move(tag)) {
  setFrameShape(QFrame::Panel);
  setFrameShadow(QFrame::Sunken);
  setMargin(1);
  setIndent(3);
  setTextFormat(Qt::PlainText);
}

StatusBar::StatusBar(QWidget* parent) : QWidget(parent), Control(this), layout_(new QHBoxLayout(this)) {
  layout_->setContentsMargins(2, 2, 2, 2);
  layout_->setSpacing(2);
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

StatusPanel& StatusBar::Add(const std::string& key, const std::string& text, const std::string& tag, const std::string& hint,
                            bool stretch) {
  auto* panel = new StatusPanel(Count() + 1, key, tag, this);
  panel->SetText(text);
  panel->SetToolTipText(hint);
  layout_->addWidget(panel, stretch ? 1 : 0);
  panels_.push_back(panel);
  return *panel;
}

StatusPanel& StatusBar::Panels(int index) const {
  if (index < 1 || index > Count()) throw StatusPanelError("status bar has no panel " + std::to_string(index));
  return *panels_[static_cast<std::size_t>(index - 1)];
}

StatusPanel& StatusBar::Panels(const std::string& key) const {
  for (StatusPanel* p : panels_)
    if (p->Key() == key) return *p;
  throw StatusPanelError("status bar has no panel with the key \"" + key + "\"");
}

StatusPanel* StatusBar::PanelWithTag(const std::string& tag) const {
  for (StatusPanel* p : panels_)
    if (p->Tag() == tag) return p;
  return nullptr;
}

}  // namespace plat::ctl

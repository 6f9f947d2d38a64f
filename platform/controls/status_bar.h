#pragma once
// A status bar of panels, reached by position (from 1), by key or by tag. Each panel has a Text,
// a Key, a Tag and a hint (ToolTipText) shown when the mouse rests on it.

#include <QLabel>
#include <QWidget>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/controls/control.h"

class QHBoxLayout;

namespace plat::ctl {

struct StatusPanelError : std::out_of_range {
  using std::out_of_range::out_of_range;
};

class StatusPanel : public QLabel {
 public:
  StatusPanel(int index, std::string key, std::string tag, QWidget* parent);

  int Index() const { return index_; }  // position, from 1
  std::string Text() const { return FromQ(text()); }
  void SetText(const std::string& text) { setText(ToQ(text)); }
  const std::string& Key() const { return key_; }
  const std::string& Tag() const { return tag_; }
  void SetTag(std::string tag) { tag_ = std::move(tag); }
  std::string ToolTipText() const { return FromQ(toolTip()); }
  void SetToolTipText(const std::string& hint) { setToolTip(ToQ(hint)); }

 private:
  int index_;
  std::string key_;
  std::string tag_;
};

class StatusBar : public QWidget, public Control {
 public:
  explicit StatusBar(QWidget* parent = nullptr);

  // Appends a panel; `stretch` panels share the width left over by the others.
  StatusPanel& Add(const std::string& key, const std::string& text, const std::string& tag, const std::string& hint,
                   bool stretch = false);
  int Count() const { return static_cast<int>(panels_.size()); }
  StatusPanel& Panels(int index) const;                // from 1; throws StatusPanelError
  StatusPanel& Panels(const std::string& key) const;   // throws StatusPanelError
  StatusPanel* PanelWithTag(const std::string& tag) const;  // the first, or nullptr

 private:
  QHBoxLayout* layout_;
  std::vector<StatusPanel*> panels_;
};

}  // namespace plat::ctl

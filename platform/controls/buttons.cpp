#include "platform/controls/buttons.h"

#include <QPointer>

namespace plat::ctl {

// ---------------------------------------------------------------------------------------------
// OptionButton

OptionButton::OptionButton(QWidget* parent) : QRadioButton(parent), Control(this) {
  setAutoExclusive(false);  // the sets are kept here: Qt's would not let the program clear a set
  setFocusPolicy(Qt::StrongFocus);
  connect(this, &QAbstractButton::clicked, this, [this] { Raise(Click); });
}

OptionButton::OptionButton(const std::string& caption, QWidget* parent) : OptionButton(parent) { SetCaption(caption); }

void OptionButton::SetGroup(OptionGroup* group) { group_ = group; }

void OptionButton::Select() {
  QList<OptionButton*> set;
  if (group_) {
    // Every option of the window that names this set.
    for (QRadioButton* r : window()->findChildren<QRadioButton*>())
      if (auto* o = dynamic_cast<OptionButton*>(r); o && o->group_ == group_) set.push_back(o);
  } else if (QWidget* container = parentWidget()) {
    for (QRadioButton* r : container->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly))
      if (auto* o = dynamic_cast<OptionButton*>(r); o && !o->group_) set.push_back(o);
  }
  for (OptionButton* o : set)
    if (o != this && o->isChecked()) o->setChecked(false);
  setChecked(true);
}

void OptionButton::SetValue(bool value) {
  if (value == isChecked()) return;
  if (!value) {
    setChecked(false);
    return;
  }
  Select();
  Raise(Click);
}

void OptionButton::nextCheckState() { Select(); }

void OptionButton::CopyPropertiesFrom(const Control& model) {
  Control::CopyPropertiesFrom(model);
  if (const auto* m = dynamic_cast<const OptionButton*>(&model)) {
    setText(m->text());
    group_ = m->group_;
  }
}

// ---------------------------------------------------------------------------------------------
// CheckBox

CheckBox::CheckBox(QWidget* parent) : QCheckBox(parent), Control(this) {
  setFocusPolicy(Qt::StrongFocus);
  connect(this, &QCheckBox::stateChanged, this, [this] {
    if (!programWrite_) Raise(Click);
  });
}

CheckBox::CheckBox(const std::string& caption, QWidget* parent) : CheckBox(parent) { SetCaption(caption); }

int CheckBox::Value() const {
  switch (checkState()) {
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    default: return 0;
  }
}

void CheckBox::SetValue(int value) {
  const Qt::CheckState state = value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked;
  if (state == checkState()) return;
  programWrite_ = true;
  setCheckState(state);
  programWrite_ = false;
  Raise(Click);
}

void CheckBox::nextCheckState() {
  // A click checks an unchecked box and unchecks a checked or grayed one.
  setCheckState(checkState() == Qt::Unchecked ? Qt::Checked : Qt::Unchecked);
}

// ---------------------------------------------------------------------------------------------
// CommandButton

CommandButton::CommandButton(QWidget* parent) : QPushButton(parent), Control(this) {
  setFocusPolicy(Qt::StrongFocus);
  setAutoDefault(false);
  connect(this, &QAbstractButton::clicked, this, [this] { Raise(Click); });
}

CommandButton::CommandButton(const std::string& caption, QWidget* parent) : CommandButton(parent) { SetCaption(caption); }

// ---------------------------------------------------------------------------------------------
// PictureButton

PictureButton::PictureButton(QWidget* parent) : QToolButton(parent), Control(this) {
  setFocusPolicy(Qt::StrongFocus);
  setToolButtonStyle(Qt::ToolButtonTextOnly);
  connect(this, &QAbstractButton::clicked, this, [this] { Raise(Click); });
}

PictureButton::PictureButton(const std::string& caption, QWidget* parent) : PictureButton(parent) { SetCaption(caption); }

void PictureButton::SetCaption(const std::string& caption) {
  setText(ToQ(caption));
  setToolButtonStyle(icon().isNull() ? Qt::ToolButtonTextOnly : caption.empty() ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextUnderIcon);
}

void PictureButton::SetPicture(const QIcon& picture) {
  setIcon(picture);
  SetCaption(Caption());
}

void PictureButton::CopyPropertiesFrom(const Control& model) {
  Control::CopyPropertiesFrom(model);
  if (const auto* m = dynamic_cast<const PictureButton*>(&model)) {
    setIcon(m->icon());
    setToolTip(m->toolTip());
    SetCaption(m->Caption());
  }
}

}  // namespace plat::ctl

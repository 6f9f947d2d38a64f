#pragma once
// Buttons: option buttons, check boxes, command buttons and picture buttons.

#include <QCheckBox>
#include <QIcon>
#include <QObject>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <functional>
#include <string>

#include "platform/controls/control.h"

namespace plat::ctl {

class OptionButton;

// An explicit set of mutually exclusive option buttons, for options that share a container with
// options of another set. Options in no such set form one set per container (parent widget),
// whatever control arrays they belong to.
class OptionGroup : public QObject {
 public:
  explicit OptionGroup(QObject* parent = nullptr) : QObject(parent) {}
};

// An option button. Value true selects it and deselects the other options of its set; Click is
// raised when the user clicks it (also when it is already selected) and when the program sets
// Value to true while it was false. Deselected options raise nothing. The program may set Value
// to false, leaving the set with no option selected.
class OptionButton : public QRadioButton, public Control {
 public:
  explicit OptionButton(QWidget* parent = nullptr);
  OptionButton(const std::string& caption, QWidget* parent);

  bool Value() const { return isChecked(); }
  void SetValue(bool value);
  std::string Caption() const { return FromQ(text()); }
  void SetCaption(const std::string& caption) { setText(ToQ(caption)); }
  void SetGroup(OptionGroup* group);
  OptionGroup* Group() const { return group_; }

  void CopyPropertiesFrom(const Control& model) override;

  std::function<void()> Click;

 protected:
  void nextCheckState() override;

 private:
  void Select();  // selects this one and deselects the rest of its set, raising nothing

  QPointer<OptionGroup> group_;
};

// A check box: Value 0 unchecked, 1 checked, 2 grayed. Click is raised when the user clicks it
// and when the program changes Value.
class CheckBox : public QCheckBox, public Control {
 public:
  explicit CheckBox(QWidget* parent = nullptr);
  CheckBox(const std::string& caption, QWidget* parent);

  int Value() const;
  void SetValue(int value);
  std::string Caption() const { return FromQ(text()); }
  void SetCaption(const std::string& caption) { setText(ToQ(caption)); }

  std::function<void()> Click;

 protected:
  void nextCheckState() override;

 private:
  bool programWrite_ = false;
};

// A command button with a caption ("&" marks the access key).
class CommandButton : public QPushButton, public Control {
 public:
  explicit CommandButton(QWidget* parent = nullptr);
  CommandButton(const std::string& caption, QWidget* parent);

  std::string Caption() const { return FromQ(text()); }
  void SetCaption(const std::string& caption) { setText(ToQ(caption)); }

  std::function<void()> Click;
};

// A picture button: a picture and/or a caption, with a hint shown when the mouse rests on it.
// MouseDown and MouseUp (control.h) report every button; Click only the left one.
class PictureButton : public QToolButton, public Control {
 public:
  explicit PictureButton(QWidget* parent = nullptr);
  PictureButton(const std::string& caption, QWidget* parent);

  std::string Caption() const { return FromQ(text()); }
  void SetCaption(const std::string& caption);
  void SetPicture(const QIcon& picture);
  std::string ToolTipText() const { return FromQ(toolTip()); }
  void SetToolTipText(const std::string& hint) { setToolTip(ToQ(hint)); }

  void CopyPropertiesFrom(const Control& model) override;

  std::function<void()> Click;
};

}  // namespace plat::ctl

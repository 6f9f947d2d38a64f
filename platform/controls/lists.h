#pragma once
// Choice lists: the drop-down combo box and the list box.

#include <QComboBox>
#include <QListWidget>
#include <functional>
#include <string>

#include "platform/controls/control.h"

namespace plat::ctl {

// A drop-down list of fixed entries (the user cannot type into it).
// - List(i), ListCount, AddItem, Clear: the entries, counted from 0.
// - ListIndex: the entry shown, -1 when none. Setting it raises nothing.
// - Text: the entry shown ("" when none); writing it shows the first entry with exactly that
//   text, or no entry when none matches.
// - DropDown: raised when the list is about to open. The combo box raises no event when the
//   user picks an entry: the program learns of it by asking IsDropped after the list opened.
// - IsDropped: whether the list is open now.
// - The user changes the entry only through the open list: keys that would step the entry of the
//   closed box open the list instead, and the mouse wheel leaves it alone, so every choice the
//   user makes follows a DropDown.
class ComboBox : public QComboBox, public Control {
 public:
  explicit ComboBox(QWidget* parent = nullptr);

  std::string List(int index) const;  // "" outside the entries
  int ListCount() const { return count(); }
  void AddItem(const std::string& item) { addItem(ToQ(item)); }
  void Clear() { clear(); }
  int ListIndex() const { return currentIndex(); }
  void SetListIndex(int index);
  std::string Text() const;
  void SetText(const std::string& text);
  bool IsDropped() const;

  void CopyPropertiesFrom(const Control& model) override;

  std::function<void()> DropDown;

  void showPopup() override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
};

// A list box: entries counted from 0, ListIndex the selected entry (-1 none), Text its text.
// Click is raised when the selection changes, by the user or the program; MouseDown and MouseUp
// for buttons pressed anywhere in the box, on its entries too.
class ListBox : public QListWidget, public Control {
 public:
  explicit ListBox(QWidget* parent = nullptr);

  std::string List(int index) const;
  int ListCount() const { return count(); }
  void AddItem(const std::string& item) { addItem(ToQ(item)); }
  void Clear() { clear(); }
  int ListIndex() const { return currentRow(); }
  void SetListIndex(int index);
  std::string Text() const;

  std::function<void()> Click;
};

}  // namespace plat::ctl

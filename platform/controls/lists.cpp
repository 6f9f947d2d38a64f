#include "platform/controls/lists.h"

#include <QAbstractItemView>
#include <QPointer>

namespace plat::ctl {

// ---------------------------------------------------------------------------------------------
// ComboBox

ComboBox::ComboBox(QWidget* parent) : QComboBox(parent), Control(this) {
  setEditable(false);
  setFocusPolicy(Qt::StrongFocus);
  setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  setMinimumContentsLength(8);
}

std::string ComboBox::List(int index) const {
  if (index < 0 || index >= count()) return {};
  return FromQ(itemText(index));
}

void ComboBox::SetListIndex(int index) { setCurrentIndex(index >= 0 && index < count() ? index : -1); }

std::string ComboBox::Text() const { return currentIndex() < 0 ? std::string() : FromQ(currentText()); }

void ComboBox::SetText(const std::string& text) {
  const QString wanted = ToQ(text);
  for (int i = 0; i < count(); ++i) {
    if (itemText(i) == wanted) {
      setCurrentIndex(i);
      return;
    }
  }
  setCurrentIndex(-1);
}

bool ComboBox::IsDropped() const {
  const QAbstractItemView* v = view();
  return v && v->isVisible();
}

void ComboBox::showPopup() {
  QPointer<ComboBox> alive(this);
  Raise(DropDown);
  if (!alive) return;
  QComboBox::showPopup();
}

void ComboBox::CopyPropertiesFrom(const Control& model) {
  Control::CopyPropertiesFrom(model);
  if (const auto* m = dynamic_cast<const ComboBox*>(&model)) {
    for (int i = 0; i < m->count(); ++i) addItem(m->itemText(i));
    setCurrentIndex(m->currentIndex());
  }
}

// ---------------------------------------------------------------------------------------------
// ListBox

ListBox::ListBox(QWidget* parent) : QListWidget(parent), Control(this) {
  setFocusPolicy(Qt::StrongFocus);
  setSelectionMode(QAbstractItemView::SingleSelection);
  connect(this, &QListWidget::currentRowChanged, this, [this] { Raise(Click); });
}

std::string ListBox::List(int index) const {
  const QListWidgetItem* it = item(index);
  return it ? FromQ(it->text()) : std::string();
}

void ListBox::SetListIndex(int index) { setCurrentRow(index >= 0 && index < count() ? index : -1); }

std::string ListBox::Text() const {
  const QListWidgetItem* it = currentItem();
  return it ? FromQ(it->text()) : std::string();
}

}  // namespace plat::ctl

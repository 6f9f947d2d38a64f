#include "platform/controls/lists.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QWheelEvent>
#include <QPointer>

namespace plat::ctl {

// ---------------------------------------------------------------------------------------------
// ComboBox

ComboBox::ComboBox(QWidget* parent) : QComboBox(parent), Control(this) {
  setEditable(false);
  setFocusPolicy(Qt::StrongFocus);
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

void ComboBox::keyPressEvent(QKeyEvent* event) {
  const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
  bool steps = false;
  switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
      steps = !(mods & Qt::AltModifier);  // Alt with an arrow opens the list anyway
      break;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Left:
    case Qt::Key_Right:
      steps = true;
      break;
    default:
      // Typing a letter would pick the entry it begins.
      steps = !event->text().isEmpty() && event->text().at(0).isPrint() && event->text() != QStringLiteral(" ") &&
              !(mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
      break;
  }
  if (!steps) {
    QComboBox::keyPressEvent(event);
    return;
  }
  event->accept();
  if (!IsDropped()) showPopup();
}

void ComboBox::wheelEvent(QWheelEvent* event) { event->ignore(); }

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
  ListenToPart(viewport());  // the entries are drawn, and clicked, on the viewport
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

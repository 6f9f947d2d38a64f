#include "platform/controls/text_box.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPointer>

namespace plat::ctl {

namespace {

constexpr char16_t kInfinity = u'\u221E';
constexpr int kSymbolInfinityCode = 165;

bool IsSymbol(const std::string& fontName) { return fontName == "Symbol"; }

}  // namespace

TextBox::TextBox(QWidget* parent) : QLineEdit(parent), Control(this) {
  setFocusPolicy(Qt::StrongFocus);
  setDragEnabled(false);  // text dragged out would leave the box without passing the filter
  setAcceptDrops(true);
  setContextMenuPolicy(Qt::DefaultContextMenu);
  SetForeColor(0);
  connect(this, &QLineEdit::textChanged, this, [this] { OnTextChanged(); });
}

std::string TextBox::Text() const { return Stored(QLineEdit::text()); }

std::string TextBox::TextKeptByTyping() const {
  QString kept = QLineEdit::text();
  if (hasSelectedText()) kept.remove(selectionStart(), selectionLength());
  return Stored(std::move(kept));
}

std::string TextBox::Stored(QString shown) const {
  if (IsSymbol(fontName_)) shown.replace(QChar(kInfinity), QChar(kSymbolInfinityCode));
  return FromQ(shown);
}

QString TextBox::Shown(const std::string& text) const {
  QString q = ToQ(text);
  if (IsSymbol(fontName_)) q.replace(QChar(kSymbolInfinityCode), QChar(kInfinity));
  return q;
}

void TextBox::SetText(const std::string& text) {
  if (text == Text()) return;
  setText(Shown(text));
  // setText already raised Change through textChanged; make sure of it where Qt stays silent.
  OnTextChanged();
}

void TextBox::OnTextChanged() {
  if (quiet_) return;
  std::string now = Text();
  if (now == lastText_) return;
  lastText_ = std::move(now);
  Raise(Change);
}

void TextBox::SetForeColor(long color) {
  foreColor_ = color;
  QPalette p = palette();
  p.setColor(QPalette::Text, ColorFromNumber(color));
  setPalette(p);
}

void TextBox::SetFontName(const std::string& name) {
  if (IsSymbol(name) == IsSymbol(fontName_)) {
    fontName_ = name;
    return;
  }
  const std::string text = Text();
  const int cursor = cursorPosition();
  fontName_ = name;
  quiet_ = true;
  setText(Shown(text));
  setCursorPosition(cursor);
  quiet_ = false;
}

void TextBox::CopyPropertiesFrom(const Control& model) {
  Control::CopyPropertiesFrom(model);
  if (const auto* m = dynamic_cast<const TextBox*>(&model)) {
    SetMaxLength(m->MaxLength());
    SetLocked(m->Locked());
    SetForeColor(m->ForeColor());
    SetFontName(m->FontName());
    SetDeleteKeyFiltered(m->DeleteKeyFiltered());
    SetText(m->Text());
  }
}

bool TextBox::TypeChar(int code) {
  int key = code;
  QPointer<TextBox> alive(this);
  Raise(KeyPress, key);
  if (!alive || key == 0) return false;
  if (key == 8) {
    if (isReadOnly()) return false;
    backspace();
    return true;
  }
  if (key == 13) return true;
  InsertChar(key);
  return true;
}

void TextBox::InsertChar(int code) {
  if (isReadOnly() || code < 32 || code > 255 || code == 127) return;
  const qsizetype kept = QLineEdit::text().size() - selectedText().size();
  if (maxLength_ > 0 && kept >= maxLength_) return;
  QChar c(code);
  if (IsSymbol(fontName_) && code == kSymbolInfinityCode) c = QChar(kInfinity);
  insert(QString(c));
}

bool TextBox::Erase(const std::function<void()>& edit) {
  if (!KeyPress || isReadOnly()) {
    const QString before = QLineEdit::text();
    edit();
    return QLineEdit::text() != before;
  }
  // Try the edit without telling anyone; keys that change nothing (moves, selection) are done.
  const QString before = QLineEdit::text();
  const int cursor = cursorPosition();
  const int selStart = selectionStart();
  const int selLength = static_cast<int>(selectedText().size());
  quiet_ = true;
  edit();
  quiet_ = false;
  if (QLineEdit::text() == before) return false;
  // The key erases: put the text back and let the filter decide, as it does for Backspace.
  quiet_ = true;
  setText(before);
  if (selStart >= 0 && selLength > 0) {
    if (cursor == selStart)
      setSelection(selStart + selLength, -selLength);
    else
      setSelection(selStart, selLength);
  } else {
    setCursorPosition(cursor);
  }
  quiet_ = false;
  int key = 8;
  QPointer<TextBox> alive(this);
  Raise(KeyPress, key);
  if (!alive || key == 0) return false;
  if (key != 8) {
    InsertChar(key);
    return false;
  }
  edit();
  return true;
}

bool TextBox::EraseSelection() {
  if (deleteKeyFiltered_) return Erase([this] { del(); });
  if (isReadOnly() || !hasSelectedText()) return false;
  del();  // the Delete family erases without asking the filter
  return true;
}

void TextBox::CutFiltered() {
  if (!hasSelectedText() || echoMode() != QLineEdit::Normal) return;
  const QString selection = selectedText();
  if (EraseSelection()) QApplication::clipboard()->setText(selection);
}

void TextBox::PasteText(const QString& text) {
  if (isReadOnly()) return;
  QPointer<TextBox> alive(this);
  for (QChar c : text) {
    if (!alive) return;
    if (c == u'\n' || c == u'\r') break;  // a single line takes the first line only
    const int code = c.unicode();
    if (code < 32 || code > 255 || code == 127) continue;
    TypeChar(code);
  }
}

void TextBox::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Paste)) {
    event->accept();
    if (!isReadOnly()) PasteText(QApplication::clipboard()->text());
    return;
  }
  if (event->matches(QKeySequence::Cut)) {
    event->accept();
    CutFiltered();
    return;
  }
  if (event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo)) {
    // Undoing could bring back text the filter never saw.
    if (KeyPress)
      event->accept();
    else
      QLineEdit::keyPressEvent(event);
    return;
  }
  const Qt::KeyboardModifiers mods = event->modifiers();
  const bool command = mods & (Qt::ControlModifier | Qt::MetaModifier);
  if (event->key() == Qt::Key_Delete && !deleteKeyFiltered_ && !command) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  if ((event->key() == Qt::Key_Backspace) && !command) {
    event->accept();
    TypeChar(8);
    return;
  }
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    int key = 13;
    QPointer<TextBox> alive(this);
    Raise(KeyPress, key);
    if (!alive) return;
    if (key == 13)
      QLineEdit::keyPressEvent(event);  // as a plain box does (a dialog's default button may act)
    else {
      event->accept();
      if (key == 8 && !isReadOnly())
        backspace();
      else if (key != 0)
        InsertChar(key);
    }
    return;
  }
  const QString text = event->text();
  if (!command && text.size() == 1 && text.at(0).unicode() >= 32 && text.at(0).unicode() != 127) {
    event->accept();
    if (text.at(0).unicode() <= 255) TypeChar(text.at(0).unicode());
    return;
  }
  Erase([this, event] { QLineEdit::keyPressEvent(event); });
}

void TextBox::inputMethodEvent(QInputMethodEvent* event) {
  if (!event->commitString().isEmpty() && event->preeditString().isEmpty()) {
    event->accept();
    PasteText(event->commitString());
    return;
  }
  QLineEdit::inputMethodEvent(event);
}

QMenu* TextBox::CreateContextMenu() {
  auto* menu = new QMenu(this);
  const bool selected = hasSelectedText();
  const bool editable = !isReadOnly();
  QAction* cutAction = menu->addAction(QStringLiteral("Cu&t"), this, [this] { CutFiltered(); });
  cutAction->setEnabled(editable && selected && echoMode() == QLineEdit::Normal);
  QAction* copyAction = menu->addAction(QStringLiteral("&Copy"), this, [this] { copy(); });
  copyAction->setEnabled(selected && echoMode() == QLineEdit::Normal);
  QAction* pasteAction = menu->addAction(QStringLiteral("&Paste"), this, [this] { PasteText(QApplication::clipboard()->text()); });
  pasteAction->setEnabled(editable && !QApplication::clipboard()->text().isEmpty());
  QAction* deleteAction = menu->addAction(QStringLiteral("&Delete"), this, [this] { EraseSelection(); });
  deleteAction->setEnabled(editable && selected);
  menu->addSeparator();
  QAction* allAction = menu->addAction(QStringLiteral("Select &All"), this, [this] { selectAll(); });
  allAction->setEnabled(!QLineEdit::text().isEmpty());
  return menu;
}

void TextBox::contextMenuEvent(QContextMenuEvent* event) {
  QMenu* menu = CreateContextMenu();
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(event->globalPos());
  event->accept();
}

void TextBox::dragEnterEvent(QDragEnterEvent* event) {
  if (!isReadOnly() && event->mimeData()->hasText()) {
    event->setDropAction(Qt::CopyAction);
    event->accept();
  } else {
    event->ignore();
  }
}

void TextBox::dragMoveEvent(QDragMoveEvent* event) {
  if (!isReadOnly() && event->mimeData()->hasText()) {
    event->setDropAction(Qt::CopyAction);
    event->accept();
  } else {
    event->ignore();
  }
}

void TextBox::dropEvent(QDropEvent* event) {
  if (isReadOnly() || !event->mimeData()->hasText()) {
    event->ignore();
    return;
  }
  event->setDropAction(Qt::CopyAction);  // never move text out of its source
  event->accept();
  deselect();
  setCursorPosition(cursorPositionAt(event->position().toPoint()));
  PasteText(event->mimeData()->text());
}

}  // namespace plat::ctl

#pragma once
// A single-line text box.
//
// - KeyPress(key): raised for every character the user enters, before it reaches the box: the
//   printable characters with their codes, Backspace as 8, Enter as 13, Escape as 27. The handler
//   may change the code (the new character is entered instead) or set it to 0 (the key is
//   swallowed). Every other way of editing goes through the same filter: pasted and dropped text
//   is offered character by character; Delete, cut and the other erasing keys are offered as 8
//   and happen only when 8 comes back; undo and redo are refused while a handler is set.
//   With DeleteKeyFiltered off, Delete, cut and the menu's Delete erase without asking (a box
//   whose filter takes digits only can still be emptied).
// - Change: raised whenever the text changes, by the user or by the program (SetText); not
//   raised when SetText writes the text the box already holds.
// - MaxLength limits what the user types or pastes, never what the program writes (0: no limit).
// - Locked: the user cannot change the text (KeyPress is still raised).
// - ForeColor: a colour number (0 black, 255 red).
// - FontName: "MS Sans Serif" by default; in the font "Symbol" the character 165 is shown as the
//   infinity sign. Text keeps the character 165 either way.

#include <QLineEdit>
#include <functional>
#include <string>

#include "platform/controls/control.h"

class QMenu;

namespace plat::ctl {

class TextBox : public QLineEdit, public Control {
 public:
  explicit TextBox(QWidget* parent = nullptr);

  std::string Text() const;
  // The text a typed key keeps: the whole text less its selected part, which the key replaces.
  std::string TextKeptByTyping() const;
  void SetText(const std::string& text);
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int length) { maxLength_ = length < 0 ? 0 : length; }
  bool Locked() const { return isReadOnly(); }
  void SetLocked(bool locked) { setReadOnly(locked); }
  long ForeColor() const { return foreColor_; }
  void SetForeColor(long color);
  const std::string& FontName() const { return fontName_; }
  void SetFontName(const std::string& name);
  bool DeleteKeyFiltered() const { return deleteKeyFiltered_; }
  void SetDeleteKeyFiltered(bool filtered) { deleteKeyFiltered_ = filtered; }

  void CopyPropertiesFrom(const Control& model) override;

  // The box's context menu (cut, copy, paste, delete, select all), each edit through the filter.
  QMenu* CreateContextMenu();
  // Enters text as if typed: each character through KeyPress and MaxLength.
  void PasteText(const QString& text);

  std::function<void(int& keyAscii)> KeyPress;
  std::function<void()> Change;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  QString Shown(const std::string& text) const;  // the text as displayed in the current font
  std::string Stored(QString shown) const;        // and back: the displayed text as the text
  void OnTextChanged();
  // Offers one character to KeyPress and enters what comes back; false when nothing was entered.
  bool TypeChar(int code);
  void InsertChar(int code);
  // Runs an erasing edit only when KeyPress lets Backspace through; true when it ran.
  bool Erase(const std::function<void()>& edit);
  // Erases the selection: through the filter as Backspace, or directly where Delete is not
  // filtered. True when it erased.
  bool EraseSelection();
  void CutFiltered();

  int maxLength_ = 0;
  long foreColor_ = 0;
  std::string fontName_ = "MS Sans Serif";
  std::string lastText_;
  bool deleteKeyFiltered_ = true;
  bool quiet_ = false;  // the displayed text changes but the text does not (font switch)
};

}  // namespace plat::ctl

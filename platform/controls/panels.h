#pragma once
// Labels and containers: label, three-dimensional panel, frame and elastic backdrop.

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <functional>
#include <string>

#include "platform/controls/control.h"

namespace plat::ctl {

// A label: Caption, ForeColor and, when set, an opaque BackColor.
class Label : public QLabel, public Control {
 public:
  explicit Label(QWidget* parent = nullptr);
  Label(const std::string& caption, QWidget* parent);

  std::string Caption() const { return FromQ(text()); }
  void SetCaption(const std::string& caption) { setText(ToQ(caption)); }
  long ForeColor() const { return foreColor_; }
  void SetForeColor(long color);
  long BackColor() const;
  void SetBackColor(long color);

  void CopyPropertiesFrom(const Control& model) override;

 private:
  long foreColor_ = 0;
  long backColor_ = -1;  // -1: transparent
};

// A three-dimensional panel: a raised, inset or flat face of one BackColor with a Caption in
// ForeColor. BevelOuter is its look: 0 flat, 1 inset, 2 raised. It can hold other controls.
// DragOver and DragDrop are raised by a drag that passes over it (see keyboard.h).
class Panel3D : public QFrame, public Control {
 public:
  explicit Panel3D(QWidget* parent = nullptr);
  Panel3D(const std::string& caption, QWidget* parent);

  std::string Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  long BackColor() const;
  void SetBackColor(long color);
  long ForeColor() const { return foreColor_; }
  void SetForeColor(long color);
  int BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(int look);
  Qt::Alignment CaptionAlignment() const { return alignment_; }
  void SetCaptionAlignment(Qt::Alignment alignment);

  QSize sizeHint() const override;
  void CopyPropertiesFrom(const Control& model) override;

  // state: 0 the drag enters the panel, 1 leaves it, 2 moves over it; x, y in twips.
  std::function<void(Control* source, int x, int y, int state)> DragOver;
  std::function<void(Control* source, int x, int y)> DragDrop;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::string caption_;
  long backColor_ = -1;  // -1: the window's face colour
  long foreColor_ = 0;
  int bevelOuter_ = 2;
  Qt::Alignment alignment_ = Qt::AlignCenter;
};

// A frame with a Caption that groups the controls it holds.
class Frame : public QGroupBox, public Control {
 public:
  explicit Frame(QWidget* parent = nullptr);
  Frame(const std::string& caption, QWidget* parent);

  std::string Caption() const { return FromQ(title()); }
  void SetCaption(const std::string& caption) { setTitle(ToQ(caption)); }
  long BackColor() const;
  void SetBackColor(long color);
};

// An elastic backdrop: a plain container of one BackColor (a tab page, a group of buttons).
class Elastic : public QFrame, public Control {
 public:
  explicit Elastic(QWidget* parent = nullptr);

  std::string Caption() const { return caption_; }
  void SetCaption(const std::string& caption) { caption_ = caption; }
  long BackColor() const;
  void SetBackColor(long color);

 private:
  std::string caption_;
};

}  // namespace plat::ctl

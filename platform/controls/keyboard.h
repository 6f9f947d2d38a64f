#pragma once
// The on-screen keyboard: six octaves of key panels over a backdrop, the strip under the keys on
// which zones are drawn, the octave labels and the octave scroll bar.
//
// Controls (their names as the window knows them):
// - `pnlKey`: a Panel3D array. Members 0 to 71 are the keys from left to right (member i is the
//   key at place i modulo 12 of its octave, place 0 a C); member 128 is the backdrop that holds
//   them and is not a key. White keys are white and black keys black; every key is raised.
// - `picMap`: a PictureBox under the keys, in twips, whose x = 0 lies under the left edge of the
//   backdrop, so a key's Left is also its x on the strip.
// - `lblKey`: six Labels (0 to 5), one under each octave's C.
// - `hsbKey`: a horizontal ScrollBar, 0 to 5.
//
// Geometry, in twips: white keys kWhiteKeyWidth wide side by side from Left 0; a black key
// kBlackKeyWidth wide, centred on the line between its two white neighbours, above them.
//
// Playing: a left-button press on a key starts a drag. While the button is held, the key panel
// under the mouse raises DragOver (state 0 when the mouse enters it, 2 when it moves on it, 1
// when it leaves); over a gap between keys the backdrop (member 128) raises it. Releasing the
// button anywhere, on the keyboard or off it, ends the drag with one DragDrop: raised by the
// panel under the mouse, or by the pressed key when the mouse is off the keyboard. The drag also
// ends, in the same way, when the window stops being active, when the keyboard is hidden, and
// when the program calls EndDrag.

#include <QPointer>
#include <QWidget>

#include "platform/controls/control_array.h"
#include "platform/controls/panels.h"
#include "platform/controls/picture_box.h"
#include "platform/controls/range_controls.h"

namespace plat::ctl {

class Keyboard : public QWidget {
 public:
  static constexpr int kKeys = 72;
  static constexpr int kBackdrop = 128;
  static constexpr int kWhiteKeyWidth = 240;
  static constexpr int kBlackKeyWidth = 150;
  static constexpr int kWhiteKeyHeight = 900;
  static constexpr int kBlackKeyHeight = 570;
  static constexpr int kStripHeight = 330;

  explicit Keyboard(QWidget* parent = nullptr);

  ControlArray<Panel3D>& Keys() { return keys_; }
  PictureBox& ZonePicture() { return *strip_; }
  ControlArray<Label>& OctaveLabels() { return labels_; }
  ScrollBar& OctaveBar() { return *bar_; }

  // Whether the key at place `index` of the keyboard is a black key.
  static bool IsBlackKey(int index);

  bool Dragging() const { return dragging_; }
  void EndDrag();

  QSize sizeHint() const override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool event(QEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  Panel3D* PanelAt(const QPoint& globalPos) const;
  void Track(const QPoint& globalPos);
  void Finish(Panel3D* target, const QPoint& globalPos);

  ControlArray<Panel3D> keys_{"pnlKey"};
  ControlArray<Label> labels_{"lblKey"};
  Panel3D* backdrop_;
  PictureBox* strip_;
  ScrollBar* bar_;

  bool dragging_ = false;
  QPointer<Panel3D> source_;
  QPointer<Panel3D> over_;
  QPoint lastGlobal_;
};

}  // namespace plat::ctl

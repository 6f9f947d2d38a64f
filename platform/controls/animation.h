#pragma once
// The animation control: plays a silent AVI clip (see platform/media/avi.h for the codings it
// takes) in a loop.
//
// - Open(path): loads the whole clip; false when the file is missing or cannot be decoded, and
//   the control is then empty. With AutoPlay set the clip starts at once.
// - AutoPlay: set while a clip is open, starts it; cleared, stops it.
// - Center: the frame is drawn in the middle of the control, else at its top-left corner.
// - Play, Stop, Close (Stop and Close keep the control's place and size).
// - Each frame is shown for the period the clip's header gives.

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <string>
#include <vector>

#include "platform/controls/control.h"

namespace plat::ctl {

class Animation : public QWidget, public Control {
 public:
  explicit Animation(QWidget* parent = nullptr);

  bool Open(const std::string& path);
  void Close();
  void Play();
  void Stop();

  bool AutoPlay() const { return autoPlay_; }
  void SetAutoPlay(bool on);
  bool Center() const { return center_; }
  void SetCenter(bool on);

  bool IsOpen() const { return !frames_.empty(); }
  bool Playing() const { return timer_.isActive(); }
  int FrameCount() const { return static_cast<int>(frames_.size()); }
  int CurrentFrame() const { return current_; }
  int FramePeriodMs() const { return periodMs_; }
  const QImage& Frame(int index) const;

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<QImage> frames_;
  QTimer timer_;
  int current_ = 0;
  int periodMs_ = 0;
  bool autoPlay_ = false;
  bool center_ = false;
};

}  // namespace plat::ctl

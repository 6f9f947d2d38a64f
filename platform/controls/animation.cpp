#include "platform/controls/animation.h"

#include <QFile>
#include <QPainter>

#include "platform/media/avi.h"

namespace plat::ctl {

namespace {
// A clip larger than this is no animation for a control.
constexpr qint64 kMaxClipBytes = 64 * 1024 * 1024;
}  // namespace

Animation::Animation(QWidget* parent) : QWidget(parent), Control(this) {
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, this, [this] {
    if (frames_.empty()) return;
    current_ = (current_ + 1) % static_cast<int>(frames_.size());
    update();
  });
}

bool Animation::Open(const std::string& path) {
  Close();
  QFile file(ToQ(path));
  if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxClipBytes) return false;
  const QByteArray bytes = file.readAll();
  const auto clip = media::ReadAvi(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                   static_cast<std::size_t>(bytes.size()));
  if (!clip) return false;
  frames_.reserve(clip->frames.size());
  for (const auto& pixels : clip->frames) {
    QImage frame(clip->width, clip->height, QImage::Format_RGB32);
    for (int y = 0; y < clip->height; ++y)
      std::copy_n(pixels.begin() + static_cast<std::ptrdiff_t>(y) * clip->width, clip->width,
                  reinterpret_cast<std::uint32_t*>(frame.scanLine(y)));
    frames_.push_back(std::move(frame));
  }
  periodMs_ = std::max(1, (clip->framePeriodUs + 500) / 1000);
  update();
  if (autoPlay_) Play();
  return true;
}

void Animation::Close() {
  timer_.stop();
  frames_.clear();
  current_ = 0;
  periodMs_ = 0;
  update();
}

void Animation::Play() {
  if (frames_.empty()) return;
  if (frames_.size() > 1) timer_.start(periodMs_);
}

void Animation::Stop() { timer_.stop(); }

void Animation::SetAutoPlay(bool on) {
  autoPlay_ = on;
  if (on)
    Play();
  else
    Stop();
}

void Animation::SetCenter(bool on) {
  center_ = on;
  update();
}

const QImage& Animation::Frame(int index) const {
  static const QImage none;
  return index >= 0 && index < FrameCount() ? frames_[static_cast<std::size_t>(index)] : none;
}

QSize Animation::sizeHint() const { return frames_.empty() ? QSize(32, 32) : frames_.front().size(); }

void Animation::paintEvent(QPaintEvent*) {
  if (frames_.empty()) return;
  QPainter p(this);
  const QImage& frame = frames_[static_cast<std::size_t>(current_)];
  QPoint at(0, 0);
  if (center_) at = QPoint((width() - frame.width()) / 2, (height() - frame.height()) / 2);
  p.drawImage(at, frame);
}

}  // namespace plat::ctl

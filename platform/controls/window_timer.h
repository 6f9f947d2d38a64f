#pragma once
// A window timer: while Enabled and Interval (milliseconds) is above 0, it raises Timer every
// Interval milliseconds on the UI thread. Setting Interval or Enabled restarts the count.

#include <QObject>
#include <QTimer>
#include <functional>
#include <string>

namespace plat::ctl {

class WindowTimer : public QObject {
 public:
  explicit WindowTimer(QObject* parent = nullptr);

  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }
  int Interval() const { return interval_; }
  void SetInterval(int ms);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  std::function<void()> Timer;

 private:
  void Apply();

  std::string name_;
  int interval_ = 0;
  bool enabled_ = false;
  QTimer timer_;
};

}  // namespace plat::ctl

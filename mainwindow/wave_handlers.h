#pragma once
// The Wave page's handlers: the four play and loop points and the loop fraction, each with its
// box, stepper and scroll bar; the loop switch and the loop direction; the fine tune and the root
// pitch with their steppers. The point and tuning boxes follow the window's edit-commit protocol
// (with no refill on lost focus); the bars commit through the point boxes.

#include <cstdint>
#include <functional>
#include <optional>

#include "mainwindow/edit_protocol.h"
#include "objects/records.h"
#include "pages/tab_pages.h"

namespace tavoro {

class WaveHandlers {
 public:
  WaveHandlers(EditProtocol& edit, TabPages& pages);

  // Sets the handlers of every Wave page control; `scope` wraps each one as a window handler.
  void Connect(const std::function<void(const std::function<void()>&)>& scope);

  // The points, in the order of the scroll bars hscWave 0-4.
  enum Point : int { kPlayStart = 0, kPlayEnd, kLoopStart, kLoopEnd, kLoopFract, kPoints };

  // The range a bar spreads its values 1 to 100 over; none for a loop bar while the loop is off.
  struct Limits {
    std::int64_t lower;
    std::int64_t upper;
  };
  std::optional<Limits> BarLimits(int Index) const;
  // The point a bar value stands for: the lower limit at 1, the upper at 100, else in between.
  static std::int64_t BarPoint(const Limits& limits, int value);

  void Point_KeyPress(int point, int& KeyAscii);
  void Point_Change(int point);
  void txtLoopFract_Change();
  void Point_Spin(int point, int direction);
  void hscWave_Change(int Index);
  void hscWave_Scroll(int Index);
  void optLoopEnb_Click();
  void optLoopDis_Click();
  void optLoopDirection_Click();

  void txtFineTune_KeyPress(int& KeyAscii);
  void txtFineTune_Change();
  void txtWavePitch_KeyPress(int& KeyAscii);
  void txtWavePitch_Change();
  void spnFineTune_Spin(int direction);
  void spnWavePitch_Spin(int direction);

 private:
  struct PointControls {
    plat::ctl::TextBox* box;
    plat::ctl::SpinButton* spin;
  };
  PointControls Controls(int point) const;
  void ConnectTuning(const std::function<void(const std::function<void()>&)>& scope);
  // The text a point box shows for a value: decimal, the fraction in hexadecimal with "h".
  static std::string PointText(int point, std::int64_t value);
  // The value a point box shows; none when it shows none.
  std::optional<std::int64_t> Shown(int point) const;
  std::int64_t Stored(int point) const;
  // Switches the loop on or off in one upload of the Wave flags.
  void SwitchLoop(bool on);
  // The paired control Change_WaveParm is given: the active control, or the box itself.
  const plat::ctl::Control& Paired(const plat::ctl::TextBox& box) const;
  // The sender sent nothing on Enter: the Enter is over.
  void EnterDone();
  // The note name beside the root pitch, for the pitch the text shows.
  void ShowNote(const std::string& pitchText);
  bool UploadWave(const UploadValue& value, std::int16_t position);

  EditProtocol& edit_;
  TabPages& pages_;
  int commits_ = 0;  // commits started, so a bar can tell whether its write committed
};

}  // namespace tavoro

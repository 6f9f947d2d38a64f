#pragma once
// Wiring a page's control arrays to its handler object: each event of each member calls the
// handler's member function with the member's Index, inside `scope` (the window's handler frame).

#include <functional>

#include "platform/controls/buttons.h"
#include "platform/controls/control_array.h"
#include "platform/controls/range_controls.h"
#include "platform/controls/spin_button.h"
#include "platform/controls/text_box.h"

namespace tavoro {

using HandlerScope = std::function<void(const std::function<void()>&)>;

template <class H>
void ConnectBoxes(plat::ctl::ControlArray<plat::ctl::TextBox>& boxes, const HandlerScope& scope, H& h,
                  void (H::*keyPress)(int, int&), void (H::*change)(int), void (H::*lostFocus)(int)) {
  for (int i : boxes.Indexes()) {
    boxes(i).KeyPress = [&h, keyPress, i, scope](int& key) { scope([&] { (h.*keyPress)(i, key); }); };
    boxes(i).Change = [&h, change, i, scope] { scope([&] { (h.*change)(i); }); };
    boxes(i).LostFocus = [&h, lostFocus, i, scope] { scope([&] { (h.*lostFocus)(i); }); };
  }
}

template <class H>
void ConnectSliders(plat::ctl::ControlArray<plat::ctl::Slider>& sliders, const HandlerScope& scope, H& h,
                    void (H::*change)(int), void (H::*scroll)(int)) {
  for (int i : sliders.Indexes()) {
    sliders(i).Change = [&h, change, i, scope] { scope([&] { (h.*change)(i); }); };
    sliders(i).Scroll = [&h, scroll, i, scope] { scope([&] { (h.*scroll)(i); }); };
  }
}

template <class H>
void ConnectSpins(plat::ctl::ControlArray<plat::ctl::SpinButton>& spins, const HandlerScope& scope, H& h,
                  void (H::*down)(int), void (H::*up)(int)) {
  for (int i : spins.Indexes()) {
    spins(i).SpinDown = [&h, down, i, scope] { scope([&] { (h.*down)(i); }); };
    spins(i).SpinUp = [&h, up, i, scope] { scope([&] { (h.*up)(i); }); };
  }
}

template <class H>
void ConnectOptions(plat::ctl::ControlArray<plat::ctl::OptionButton>& options, const HandlerScope& scope, H& h,
                    void (H::*click)(int)) {
  for (int i : options.Indexes()) options(i).Click = [&h, click, i, scope] { scope([&] { (h.*click)(i); }); };
}

}  // namespace tavoro

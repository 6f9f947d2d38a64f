#pragma once
// The Tone pages' number pairs: the eight envelope stages and the DCA, DCF, DCO, LFO and pan
// values, each a box with its slider, committed through the Tone senders under the window's
// edit-commit protocol.

#include <cstdint>
#include <functional>
#include <vector>

#include "mainwindow/edit_protocol.h"
#include "objects/records.h"
#include "pages/tab_pages.h"

namespace tavoro {

class TonePairs {
 public:
  TonePairs(EditProtocol& edit, TabPages& pages);

  // Sets the handlers of every pair; `scope` wraps each one as a window handler.
  void Connect(const std::function<void(const std::function<void()>&)>& scope);

  enum class Stage { Attack, Sustain, DecayRelease, Param, Lfo, Pan };
  struct Pair {
    plat::ctl::TextBox* box;
    plat::ctl::Slider* slider;
    std::int16_t ToneRecord::*field;
    std::int16_t position;
    Stage stage;
    bool isSigned;
    int index;  // member index in its arrays, -1 for the envelope's single controls
  };
  // The 34 pairs of the three Tone pages.
  const std::vector<Pair>& Pairs() const { return pairs_; }

  void Box_KeyPress(const Pair& p, int& KeyAscii);
  void Box_Change(const Pair& p);
  void Box_LostFocus(const Pair& p);
  void Slider_Change(const Pair& p);
  void Slider_Scroll(const Pair& p);
  void sldLFO_LostFocus(const Pair& p);

 private:
  EditProtocol& edit_;
  TabPages& pages_;
  std::vector<Pair> pairs_;
};

}  // namespace tavoro

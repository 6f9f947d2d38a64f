#include "editing/sender_common.h"

#include <stdexcept>

#include "editing/number_text.h"
#include "editing/tone_texts.h"

namespace tavoro {

void WriteByProgram(EditFlags& flags, plat::ctl::TextBox& box, const std::string& text) {
  if (box.Text() == text) return;
  flags.ProgramTextSet = true;
  box.SetText(text);
}

void WriteStageByProgram(EditFlags& flags, plat::ctl::TextBox& box, const std::string& text) {
  if (box.Text() != text) flags.ProgramTextSet = true;
  SetStageText(box, text);
}

std::int16_t BoxNumber(const plat::ctl::TextBox& box) {
  const auto v = ParseInt16(box.Text());
  if (!v) throw std::invalid_argument(box.Name() + " holds no number");
  return *v;
}

bool IsActiveControl(const plat::ctl::TextBox& box, const plat::ctl::Control& paired) {
  const plat::ctl::Control* active = plat::ctl::ActiveControl(&box);
  return active != nullptr && active->Name() == paired.Name();
}

}  // namespace tavoro

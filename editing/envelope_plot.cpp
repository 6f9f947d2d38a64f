// The envelope pictures of the Tone page: one unit of x per stage value, level zero at y = 124,
// full level at y = 24, half level at y = 74, time running right from x = 10.
#include <cmath>

#include "editing/filler_support.h"
#include "editing/number_text.h"
#include "editing/page_fillers.h"
#include "editing/tone_texts.h"
#include "platform/controls/panels.h"
#include "platform/controls/picture_box.h"

namespace tavoro {

namespace {

using plat::ctl::PictureBox;

constexpr long kWhite = 0xFFFFFF;
constexpr long kLightBlue = 0xFFC0C0;  // trigger mode
constexpr long kTeal = 0xC0C000;       // gate mode

constexpr double kX0 = 10;
constexpr double kZero = 124;
constexpr double kFull = 24;
constexpr double kHalf = 74;

struct Stages {
  int A, S, D, R;
};

// A negative attack curves: a quarter ellipse from (A + 10, 25) down to (10, 125), traced by a
// step-wise rotation in single precision, one point per new pixel.
void CurvedAttack(PictureBox& p, int radius) {
  float x = static_cast<float>(radius), y = 0, dx = 0, dy = 100;
  double lastX = 0, lastY = 0;
  for (int step = 1608; step >= 0; --step) {
    const double px = RoundHalfEven(static_cast<double>(x) + 10);
    const double py = RoundHalfEven(static_cast<double>(y) + 25);
    if (px != lastX || py != lastY) p.PSet(px, py, kWhite);
    lastX = px;
    lastY = py;
    dx = dx - x / 1024;
    dy = dy - y / 1024;
    x = x + dx / 1024;
    y = y + dy / 1024;
  }
}

// A small box around the current point, which stays where it was.
void Marker(PictureBox& p) {
  const double x0 = RoundHalfEven(p.CurrentX()), y0 = RoundHalfEven(p.CurrentY());
  p.LineBox(x0 - 3, y0 - 3, x0 + 3, y0 + 3, kWhite);
  p.SetCurrentX(x0);
  p.SetCurrentY(y0);
}

void Draw(PictureBox& p, plat::ctl::Label& mode, std::uint8_t trigger, Stages v) {
  if (trigger != 0) {
    mode.SetForeColor(kLightBlue);
    mode.SetCaption("Trigger Mode");
  } else {
    mode.SetForeColor(kTeal);
    mode.SetCaption("Gate Mode");
  }
  p.Cls();
  int a = ToneSignedValue(static_cast<std::int16_t>(v.A));
  if (a >= 0) {
    p.Line(kX0, kZero, a + kX0, kFull, kWhite);
  } else {
    a = -a;
    CurvedAttack(p, a);
    p.SetCurrentX(a + kX0);
    p.SetCurrentY(kFull);
  }
  Marker(p);
  const double top = a + kX0;
  if (trigger == 1) {
    p.LineTo(top + v.S, kFull, kLightBlue);
  } else if (trigger == 0) {
    if (v.D == 99)
      p.LineTo(top + 99, kFull, kTeal);
    else
      p.LineTo(top + v.D, kHalf, kTeal);
  }
  Marker(p);
  if (trigger != 0 && trigger != 1) return;
  const double held = trigger == 1 ? v.S : v.D;
  if (v.R != 99)
    p.LineTo(top + held + v.R, kZero, kWhite);
  else
    p.LineTo(top + held + 99, p.CurrentY(), kWhite);
}

}  // namespace

bool Plot_Envelope(EditContext& ctx, std::uint8_t EnvNum) {
  return Trap(ctx.link, "Plot_Envelope()", "Error updating Envelope display", false, [&] {
    TabPages& pages = fill::Pages(ctx);
    const ToneRecord& t = ctx.store.CurTone;
    if (EnvNum == 1) {
      Draw(fill::Need(pages.picEnv1, "picEnv1"), fill::Need(pages.lblEnv1Mode, "lblEnv1Mode"), ctx.flags.Env1Trigger,
           {t.Env1Att, t.Env1Sus, t.Env1Dec, t.Env1Rel});
    } else if (EnvNum == 2) {
      Draw(fill::Need(pages.picEnv2, "picEnv2"), fill::Need(pages.lblEnv2Mode, "lblEnv2Mode"), ctx.flags.Env2Trigger,
           {t.Env2Att, t.Env2Sus, t.Env2Dec, t.Env2Rel});
    } else {
      throw std::runtime_error("no envelope " + std::to_string(EnvNum));
    }
    return true;
  });
}

}  // namespace tavoro

#pragma once
// Small helpers the page builders share: making a control of each kind with its Tag and the
// window's common settings, and the few recurring arrangements (a slider column with its caption
// and box, a captioned row of a panel and a box, a set of option buttons).

#include <QBoxLayout>
#include <QGridLayout>
#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/controls/buttons.h"
#include "platform/controls/control_array.h"
#include "platform/controls/lists.h"
#include "platform/controls/panels.h"
#include "platform/controls/range_controls.h"
#include "platform/controls/spin_button.h"
#include "platform/controls/text_box.h"

namespace tavoro::pages {

using plat::ctl::ComboBox;
using plat::ctl::Frame;
using plat::ctl::Label;
using plat::ctl::OptionButton;
using plat::ctl::OptionGroup;
using plat::ctl::Panel3D;
using plat::ctl::ScrollBar;
using plat::ctl::Slider;
using plat::ctl::SpinButton;
using plat::ctl::TextBox;

// Spacing used inside frames and between frames on a page.
inline constexpr int kSpacing = 4;
// Height of a vertical slider in a slider column.
inline constexpr int kSliderHeight = 84;

// A text box (Tag "txt") wide enough for maxLength digits (three at least) and for `widest`, a
// text the program may show in it.
TextBox* NewBox(QWidget* parent, int maxLength, bool locked = false, std::string_view widest = {});
// A slider (Tag "sld") with its range; vertical sliders get the column height.
Slider* NewSlider(QWidget* parent, Qt::Orientation orientation, int min, int max);
// A spin button (Tag "spn").
SpinButton* NewSpin(QWidget* parent);
// An option button (Tag "opt") in the given set.
OptionButton* NewOption(QWidget* parent, std::string_view caption, OptionGroup* set);
// Makes a drop-down list just wide enough to show its longest entry whole.
void FitComboWidth(ComboBox* combo);
// A drop-down list (Tag "cbo") holding `entries`, as wide as its longest entry.
template <class Entries>
ComboBox* NewCombo(QWidget* parent, const Entries& entries) {
  auto* combo = new ComboBox(parent);
  combo->SetTag("cbo");
  for (const auto& entry : entries) combo->AddItem(std::string(entry));
  FitComboWidth(combo);
  return combo;
}
Label* NewLabel(QWidget* parent, std::string_view caption, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);
// A frame whose contents are laid out by `layout` (made here, compact margins).
Frame* NewFrame(QWidget* parent, std::string_view caption);
QVBoxLayout* VBox(QWidget* owner);
QHBoxLayout* HBox(QWidget* owner);
QGridLayout* Grid(QWidget* owner);
// The layout of a whole page: frames side by side (or stacked), close to the page's edges.
QHBoxLayout* PageHBox(QWidget* page);
QVBoxLayout* PageVBox(QWidget* page);
// The same with the narrowest margins, for frames nested in frames.
QVBoxLayout* TightVBox(QWidget* owner);
QHBoxLayout* TightHBox(QWidget* owner);
// A raised three-dimensional panel showing a caption, left-aligned, as the captions of the
// number boxes (" Play Start") are shown.
Panel3D* CaptionPanel(QWidget* parent, std::string_view caption, int minWidth = 0);

// A slider column: caption on top, the vertical slider, the box under it, centred. The caption
// takes `captionLines` lines (wrapped at its spaces) so the sliders of a row line up; `width` is
// the column's least width.
QVBoxLayout* SliderColumn(QWidget* parent, std::string_view caption, Slider* slider, TextBox* box,
                          int captionLines = 1, int width = 0);
// The width of a caption panel that fits the widest of `captions` (to line up a frame's rows).
int CaptionWidth(const QWidget* parent, std::initializer_list<std::string_view> captions);
// A captioned row: the caption panel, then the widgets, left to right.
QHBoxLayout* CaptionRow(QWidget* parent, std::string_view caption, std::initializer_list<QWidget*> widgets,
                        int captionWidth = 0);

// The same with the caption panel over the widgets, for narrow places.
QVBoxLayout* CaptionStack(QWidget* parent, std::string_view caption, std::initializer_list<QWidget*> widgets);

// Makes the members `indexes` of an option-button array, captioned from `captions` by Index, as
// one exclusive set, and adds them to `layout` in that order.
template <class Captions>
OptionGroup* AddOptionSet(plat::ctl::ControlArray<OptionButton>& array, QWidget* parent, QBoxLayout* layout,
                          std::initializer_list<int> indexes, const Captions& captions) {
  auto* set = new OptionGroup(parent);
  for (int index : indexes) {
    auto* option = NewOption(parent, captions[static_cast<std::size_t>(index)], set);
    array.Add(index, option);
    layout->addWidget(option);
  }
  return set;
}

// A vertical stack for option sets, tight, left-aligned.
QVBoxLayout* OptionStack();
// A choice list under its caption label; `spacing` pixels between them.
QVBoxLayout* LabelledList(QWidget* parent, std::string_view caption, plat::ctl::ComboBox* combo, int spacing = 0);

}  // namespace tavoro::pages

#include "pages/page_builder.h"

#include <QFontMetrics>
#include <algorithm>

namespace tavoro::pages {

namespace {

QString Q(std::string_view text) { return plat::ctl::ToQ(std::string(text)); }

// Room for the frame of a line edit around its text.
constexpr int kBoxPadding = 12;
// Room for the arrow and frame of a drop-down list around its text.
constexpr int kComboChrome = 28;

}  // namespace

TextBox* NewBox(QWidget* parent, int maxLength, bool locked, std::string_view widest) {
  auto* box = new TextBox(parent);
  box->SetTag("txt");
  box->SetMaxLength(maxLength);
  box->SetLocked(locked);
  const QFontMetrics metrics(box->font());
  // Room for maxLength digits (at least three), or for `widest` when it is wider.
  const int chars = std::max(maxLength, 3);
  int textWidth = metrics.horizontalAdvance(QString(chars, QChar('0')));
  if (!widest.empty()) textWidth = std::max(textWidth, metrics.horizontalAdvance(Q(widest)));
  box->setFixedWidth(textWidth + kBoxPadding);
  return box;
}

Slider* NewSlider(QWidget* parent, Qt::Orientation orientation, int min, int max) {
  auto* slider = new Slider(orientation, parent);
  slider->SetTag("sld");
  slider->SetMin(min);
  slider->SetMax(max);
  if (orientation == Qt::Vertical) slider->setFixedHeight(kSliderHeight);
  return slider;
}

void FitComboWidth(ComboBox* combo) {
  const QFontMetrics metrics(combo->font());
  int widest = 0;
  for (int i = 0; i < combo->count(); ++i) widest = std::max(widest, metrics.horizontalAdvance(combo->itemText(i)));
  // The text, the drop-down arrow and the frame.
  combo->setFixedWidth(std::max(widest + kComboChrome, combo->minimumSizeHint().width()));
}

SpinButton* NewSpin(QWidget* parent) {
  auto* spin = new SpinButton(parent);
  spin->SetTag("spn");
  spin->setFixedSize(spin->sizeHint());
  return spin;
}

OptionButton* NewOption(QWidget* parent, std::string_view caption, OptionGroup* set) {
  auto* option = new OptionButton(std::string(caption), parent);
  option->SetTag("opt");
  option->SetGroup(set);
  return option;
}

Label* NewLabel(QWidget* parent, std::string_view caption, Qt::Alignment alignment) {
  auto* label = new Label(std::string(caption), parent);
  label->setAlignment(alignment);
  return label;
}

Frame* NewFrame(QWidget* parent, std::string_view caption) { return new Frame(std::string(caption), parent); }

namespace {

template <class L>
L* Compact(L* layout) {
  layout->setContentsMargins(kSpacing, 2, kSpacing, kSpacing);
  layout->setSpacing(kSpacing);
  return layout;
}

template <class L>
L* Tight(L* layout) {
  layout->setContentsMargins(2, 1, 2, 2);
  layout->setSpacing(2);
  return layout;
}

}  // namespace

QHBoxLayout* PageHBox(QWidget* page) {
  auto* layout = new QHBoxLayout(page);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(kSpacing);
  return layout;
}

QVBoxLayout* PageVBox(QWidget* page) {
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(kSpacing);
  return layout;
}

QVBoxLayout* VBox(QWidget* owner) { return Compact(new QVBoxLayout(owner)); }
QVBoxLayout* TightVBox(QWidget* owner) { return Tight(new QVBoxLayout(owner)); }
QHBoxLayout* TightHBox(QWidget* owner) { return Tight(new QHBoxLayout(owner)); }
QHBoxLayout* HBox(QWidget* owner) { return Compact(new QHBoxLayout(owner)); }
QGridLayout* Grid(QWidget* owner) { return Compact(new QGridLayout(owner)); }

int CaptionWidth(const QWidget* parent, std::initializer_list<std::string_view> captions) {
  const QFontMetrics metrics(parent->font());
  int width = 0;
  for (std::string_view caption : captions) width = std::max(width, metrics.horizontalAdvance(Q(caption)) + 10);
  return width;
}

Panel3D* CaptionPanel(QWidget* parent, std::string_view caption, int minWidth) {
  auto* panel = new Panel3D(std::string(caption), parent);
  panel->SetCaptionAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  panel->SetBevelOuter(1);
  const QFontMetrics metrics(panel->font());
  const int width = std::max(minWidth, metrics.horizontalAdvance(Q(caption)) + 10);
  panel->setFixedWidth(width);
  panel->setFixedHeight(22);
  return panel;
}

QVBoxLayout* SliderColumn(QWidget* parent, std::string_view caption, Slider* slider, TextBox* box, int captionLines,
                          int width) {
  auto* column = new QVBoxLayout;
  column->setSpacing(2);
  column->setContentsMargins(0, 0, 0, 0);
  Label* label = NewLabel(parent, caption, Qt::AlignHCenter | Qt::AlignBottom);
  const QFontMetrics metrics(label->font());
  label->setFixedHeight(captionLines * metrics.lineSpacing());
  int least = std::max(width, box->width());
  if (captionLines > 1) {
    // Wide enough that the caption, wrapped at its spaces, takes no more than its lines.
    const QString text = label->text();
    for (const QString& word : text.split(' ', Qt::SkipEmptyParts))
      least = std::max(least, metrics.horizontalAdvance(word) + 2);
    while (metrics.boundingRect(QRect(0, 0, least, 1000), Qt::TextWordWrap | Qt::AlignHCenter, text).height() >
           captionLines * metrics.lineSpacing())
      least += 2;
    least += 2;  // the label's own margin
    label->setWordWrap(true);
    label->setFixedWidth(least);
  } else {
    label->setMinimumWidth(std::max(least, label->sizeHint().width()));
  }
  column->addWidget(label, 0, Qt::AlignHCenter);
  column->addWidget(slider, 0, Qt::AlignHCenter);
  column->addWidget(box, 0, Qt::AlignHCenter);
  return column;
}

QHBoxLayout* CaptionRow(QWidget* parent, std::string_view caption, std::initializer_list<QWidget*> widgets,
                        int captionWidth) {
  auto* row = new QHBoxLayout;
  row->setSpacing(2);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(CaptionPanel(parent, caption, captionWidth));
  for (QWidget* w : widgets) row->addWidget(w);
  row->addStretch(1);
  return row;
}

QVBoxLayout* CaptionStack(QWidget* parent, std::string_view caption, std::initializer_list<QWidget*> widgets) {
  auto* stack = new QVBoxLayout;
  stack->setSpacing(1);
  stack->setContentsMargins(0, 0, 0, 0);
  stack->addWidget(CaptionPanel(parent, caption), 0, Qt::AlignLeft);
  auto* row = new QHBoxLayout;
  row->setSpacing(2);
  row->setContentsMargins(0, 0, 0, 0);
  for (QWidget* w : widgets) row->addWidget(w);
  row->addStretch(1);
  stack->addLayout(row);
  return stack;
}

QVBoxLayout* OptionStack() {
  auto* stack = new QVBoxLayout;
  stack->setSpacing(0);
  stack->setContentsMargins(0, 0, 0, 0);
  return stack;
}

QVBoxLayout* LabelledList(QWidget* parent, std::string_view caption, ComboBox* combo, int spacing) {
  auto* stack = OptionStack();
  stack->setSpacing(spacing);
  stack->addWidget(NewLabel(parent, caption));
  stack->addWidget(combo);
  return stack;
}

}  // namespace tavoro::pages

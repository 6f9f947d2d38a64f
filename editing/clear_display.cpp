#include "editing/clear_display.h"

#include <stdexcept>
#include <string>
#include <vector>

#include "link/link.h"
#include "platform/controls/buttons.h"
#include "platform/controls/lists.h"

namespace tavoro {

namespace {

using plat::ctl::ComboBox;
using plat::ctl::Control;
using plat::ctl::OptionButton;
using plat::ctl::ScrollBar;
using plat::ctl::Slider;
using plat::ctl::TextBox;

constexpr long kWhite = 0xFFFFFF;

template <class T>
T& As(Control* c) {
  if (c == nullptr) throw std::runtime_error("missing control in a page control list");
  if (auto* t = dynamic_cast<T*>(c)) return *t;
  throw std::runtime_error("control " + c->Name() + " does not match its Tag " + c->Tag());
}

template <class T>
T& Need(T* p, const char* name) {
  if (p == nullptr) throw std::runtime_error(std::string("missing control ") + name);
  return *p;
}

void EmptyText(Control* c) { As<TextBox>(c).SetText(""); }

// A slider's value becomes 0, an option button is deselected.
void ValueFalse(Control* c) {
  if (auto* option = dynamic_cast<OptionButton*>(c)) {
    option->SetValue(false);
  } else if (auto* slider = dynamic_cast<Slider*>(c)) {
    slider->SetValue(0);
  } else {
    As<ScrollBar>(c).SetValue(0);
  }
}

void FirstEntry(Control* c) {
  auto& combo = As<ComboBox>(c);
  combo.SetText(combo.List(0));
}

// Wave and Map pages: text boxes emptied, options and sliders off, scroll bars only disabled.
// The other pages: combo boxes back to their first entry.
void ResetByTag(const ControlList& list, bool withCombos, bool withScrollBars) {
  for (Control* c : list) {
    if (c == nullptr) throw std::runtime_error("missing control in a page control list");
    const std::string& tag = c->Tag();
    if (tag == "txt") {
      EmptyText(c);
    } else if (tag == "sld" || tag == "opt") {
      ValueFalse(c);
    } else if (tag == "cbo" && withCombos) {
      FirstEntry(c);
    } else if (tag == "hsc" && withScrollBars) {
      // keeps its position
    } else {
      continue;  // a spin button, or a kind this page does not reset: left as it is
    }
    c->SetEnabled(false);
  }
}

void ClearToneExtras(const EditorView& view) {
  TabPages& pages = Need(view.pages, "tab pages");
  Need(pages.picEnv1, "picEnv1").Cls();
  Need(pages.picEnv2, "picEnv2").Cls();
  Need(pages.lblEnv1Mode, "lblEnv1Mode").SetCaption("");
  Need(pages.lblEnv2Mode, "lblEnv2Mode").SetCaption("");
}

void ClearMapExtras(const EditorView& view, const PageControlLists& lists) {
  auto& zones = Need(view.lblZone, "lblZone");
  for (int index : zones.Indexes()) {
    if (index == 0)
      zones(0).SetVisible(false);
    else
      zones.Unload(index);
  }
  Need(view.picMap, "picMap").Cls();
  auto& keys = Need(view.pnlKey, "pnlKey");
  for (int i = 0; i < 72; ++i)
    if (!lists.BlackKey[static_cast<std::size_t>(i % 12)]) keys(i).SetBackColor(kWhite);
}

}  // namespace

void ClearObjDisplay(const EditorView& view, const PageControlLists& lists, EditFlags& flags, Link& link,
                     std::uint8_t kind) {
  flags.SuppressChange = true;
  const bool done = Trap(link, "ClearObjDisplay()", "Error clearing Object display", false, [&] {
    Need(view.txtObjectName, "txtObjectName").SetLocked(true);
    switch (kind) {
      case 0:
        ResetByTag(lists.WaveControls, false, true);
        break;
      case 1:
        ResetByTag(lists.ToneControls, true, false);
        ResetByTag(lists.ToneControls2, true, false);
        ClearToneExtras(view);
        break;
      case 2:
        ResetByTag(lists.MapControls, false, true);
        ClearMapExtras(view, lists);
        break;
      case 3:
        ResetByTag(lists.PresetControls, true, false);
        break;
      case 4:
        ResetByTag(lists.MultiControls, true, false);
        break;
      case 18:
        ResetByTag(lists.GlobalControls, true, false);
        break;
      default:
        break;
    }
    return true;
  });
  // Also after a failure: a flag left set would silently swallow every later edit.
  (void)done;
  flags.SuppressChange = false;
}

}  // namespace tavoro

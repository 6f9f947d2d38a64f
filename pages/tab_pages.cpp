#include "pages/tab_pages.h"

#include "pages/page_builder.h"

namespace tavoro {

TabPages::TabPages(QWidget* parent) {
  for (int tab = 0; tab < kTabCount; ++tab) {
    auto* backdrop = new Elastic(parent);
    backdrop->hide();
    vseTabStrip.Add(tab, backdrop);
    backdrops_[static_cast<std::size_t>(tab)] = backdrop;
  }
  BuildPreset1(&vseTabStrip(kPreset1));
  BuildPreset2(&vseTabStrip(kPreset2));
  BuildMap(&vseTabStrip(kMap));
  BuildTone1(&vseTabStrip(kTone1));
  BuildTone2(&vseTabStrip(kTone2));
  BuildTone3(&vseTabStrip(kTone3));
  BuildWave(&vseTabStrip(kWave));
  BuildGlobal(&vseTabStrip(kGlobal));
}

TabPages::~TabPages() {
  // Backdrops that nobody took over are ours to delete.
  for (auto& backdrop : backdrops_) {
    QWidget* widget = backdrop.data();
    if (widget != nullptr && widget->parentWidget() == nullptr) delete widget;
  }
}

}  // namespace tavoro

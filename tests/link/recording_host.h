#pragma once
// A stand-in for the main window as the link sees it: records every status-bar write and the
// progress window's unloads.

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "link/host.h"

namespace tavoro::testing {

class RecordingHost : public LinkHost {
 public:
  void SetPanelText(int panel, const std::string& text) override {
    panels[panel] = text;
    panelWrites.emplace_back(panel, text);
  }
  bool ProgressWindowActive() override { return progressActive; }
  void UnloadProgressWindow() override {
    progressActive = false;
    ++progressUnloads;
  }

  std::map<int, std::string> panels;
  std::vector<std::pair<int, std::string>> panelWrites;
  bool progressActive = false;
  int progressUnloads = 0;
};

}  // namespace tavoro::testing

#pragma once
// The main window's side of the bulk and single downloads: the pages are filled by the page
// fillers, the header, panels and commands are the window's own controls.

#include <cstdint>
#include <string>

#include "objects/download_host.h"

namespace tavoro {

class frmMain;

class WindowDownloadHost : public DownloadHost {
 public:
  explicit WindowDownloadHost(frmMain& w) : w_(w) {}

  bool LoadDisplay(std::uint8_t kind) override;
  void ClearObjDisplay(std::uint8_t kind) override;
  void SetMousePointer(int pointer) override;
  void SetCommandEnabled(Command command, bool enabled) override;
  std::string ObjectNumText() override;
  void SetObjectNumText(const std::string& text) override;
  void SetObjectNameText(const std::string& text) override;
  void SetObjectNumLocked(bool locked) override;
  void SetObjectNameLocked(bool locked) override;
  void SetObjectNumForeColor(long colour) override;
  std::string PageLabel() override;
  std::string PanelTag(int panel) override;

 private:
  frmMain& w_;
};

}  // namespace tavoro

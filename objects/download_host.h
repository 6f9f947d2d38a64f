#pragma once
// What the bulk and single downloads need of the main window beyond the link's own host: the
// page fillers and the page clearing, the object header, the status-bar panels' tags, the mouse
// pointer and the delete and stereo-merge commands. Kept narrow so the downloads can be driven
// and tested without the whole window.

#include <cstdint>
#include <string>

namespace tavoro {

class DownloadHost {
 public:
  virtual ~DownloadHost() = default;

  // Fills the page of kind 0-4 from the current record, or the Global page (18) from the Global
  // data; true when the page was filled (a filler that fails shows its own box).
  virtual bool LoadDisplay(std::uint8_t kind) = 0;
  // Empties and switches off the page of one kind (0-4, 18).
  virtual void ClearObjDisplay(std::uint8_t kind) = 0;

  // The window's mouse pointer: 11 hourglass, 0 default.
  virtual void SetMousePointer(int pointer) = 0;

  enum class Command { DeleteObject, DeleteMenu, StereoMerge, StereoMergeMenu };
  virtual void SetCommandEnabled(Command command, bool enabled) = 0;

  // The object header: the number box, the name box and the prefix label of the page shown.
  virtual std::string ObjectNumText() = 0;
  virtual void SetObjectNumText(const std::string& text) = 0;
  virtual void SetObjectNameText(const std::string& text) = 0;
  virtual void SetObjectNumLocked(bool locked) = 0;
  virtual void SetObjectNameLocked(bool locked) = 0;
  // Colour 0x00BBGGRR of the number box's text (0 black: the value shown is committed).
  virtual void SetObjectNumForeColor(long colour) = 0;
  // "w#", "t#", "m#", "p#" or "mu#".
  virtual std::string PageLabel() = 0;

  // The tag of status-bar panel 1 to 9 (panels 1-5 carry the page prefixes).
  virtual std::string PanelTag(int panel) = 0;
};

}  // namespace tavoro

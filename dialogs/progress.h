#pragma once
// frmProgress, the small window that runs beside a long exchange with the instrument: a text the
// operation writes, and a moving hourglass (the clip HourGlas.avi from the home directory, or a
// still hourglass when the clip is missing or cannot be played). While it is loaded the pointer
// is busy over it and over the main window.
//
// The operations hold it through ProgressRef: the reply wait may close it at any time (a
// time-out, a refusal), after which the operation's writes and its own unload do nothing.

#include <QPointer>
#include <string>

#include "platform/controls/animation.h"
#include "platform/controls/form.h"
#include "platform/controls/panels.h"

namespace tavoro {

inline constexpr const char* kHourGlassClip = "HourGlas.avi";

class frmProgress : public plat::ctl::Form {
 public:
  // mainWindow: whose pointer turns busy while this window is loaded (may be null).
  frmProgress(QWidget* mainWindow, std::string homeDir);

  plat::ctl::Elastic* vseProgress = nullptr;
  plat::ctl::Panel3D* pnlProgress = nullptr;
  plat::ctl::Label* lblProgress = nullptr;
  plat::ctl::Animation* aniProgress = nullptr;
  plat::ctl::Label* imgHourGlass = nullptr;

  // HomeDir, the path separator and the clip's name.
  static std::string ClipPath(const std::string& homeDir);

 private:
  void OnLoad();
  void OnUnload();

  QPointer<QWidget> main_;
  std::string homeDir_;
};

// A guarded hold on a shown progress window.
class ProgressRef {
 public:
  ProgressRef() = default;
  // Loads a new progress window with the caption and the text and shows it, not modal.
  static ProgressRef Show(QWidget* mainWindow, const std::string& homeDir, const std::string& caption,
                          const std::string& text);
  void Set(const std::string& caption, const std::string& text);
  void Unload();
  // The window while it is loaded, else nullptr.
  frmProgress* get() const;

 private:
  QPointer<frmProgress> form_;
};

}  // namespace tavoro

#include "platform/controls/form.h"

#include <QCloseEvent>

#include "platform/controls/control.h"
#include "platform/ui/wait.h"

namespace plat::ctl {

Form::Form(QWidget* owner) : QWidget(owner, Qt::Dialog) { setAttribute(Qt::WA_DeleteOnClose, false); }

Form::~Form() = default;

void Form::Load() {
  if (loaded_ || unloaded_) return;
  loaded_ = true;
  Raise(Form_Load);
}

void Form::Show(int mode) {
  QPointer<Form> self(this);
  Load();
  if (!self || !loaded_) return;
  const bool wasVisible = isVisible();
  auto bringUp = [&] {
    show();
    raise();
    activateWindow();
    if (!wasVisible) Raise(Form_Activate);
  };

  if (mode != kModal) {
    if (modalDepth_ > 0 && windowModality() != Qt::NonModal) {
      // The modal Show that is running returns once the handler does; the window stays up.
      modalEnded_ = true;
      hide();
      setWindowModality(Qt::NonModal);
    }
    bringUp();
    return;
  }
  if (modalDepth_ > 0) {
    if (windowModality() == Qt::NonModal) {
      hide();
      setWindowModality(Qt::ApplicationModal);
      modalEnded_ = false;
    }
    bringUp();
    return;
  }

  if (wasVisible && windowModality() == Qt::NonModal) hide();
  setWindowModality(Qt::ApplicationModal);
  modalEnded_ = false;
  ++modalDepth_;
  bringUp();
  // Waits until the window is down when control is back here: a handler that hid the window and
  // showed it again before returning leaves it modal.
  bool gone = false;
  QObject watch;
  QObject::connect(this, &QObject::destroyed, &watch, [&gone] { gone = true; });
  auto over = [this, &gone] { return gone || !loaded_ || !isVisible() || modalEnded_; };
  while (!over()) {
    if (WaitUntil(over) == WaitResult::Closing) break;
  }
  if (gone) return;
  --modalDepth_;
  modalEnded_ = false;
  if (windowModality() != Qt::NonModal) {
    const bool up = isVisible();
    if (up) hide();
    setWindowModality(Qt::NonModal);
    if (up) show();
  }
}

void Form::Hide() { hide(); }

void Form::Unload() {
  if (!loaded_) return;
  int cancel = 0;
  QPointer<Form> self(this);
  Raise(Form_Unload, cancel);
  if (!self || cancel != 0) return;
  loaded_ = false;
  unloaded_ = true;
  hide();
  deleteLater();
}

std::string Form::Caption() const { return FromQ(windowTitle()); }
void Form::SetCaption(const std::string& caption) { setWindowTitle(ToQ(caption)); }
void Form::SetMousePointer(int pointer) { plat::ctl::SetMousePointer(this, pointer); }
int Form::MousePointer() const { return plat::ctl::MousePointer(this); }

void Form::closeEvent(QCloseEvent* event) {
  event->ignore();
  if (loaded_) Unload();
}

}  // namespace plat::ctl

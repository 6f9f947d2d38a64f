#pragma once
// A window of the program with the life of the program's forms: it is loaded once (Form_Load
// runs), shown modal or not as often as wanted, hidden, and unloaded (Form_Unload runs, the
// window goes and is deleted once control is back in the event loop, never under a running
// handler).
//
// - Load: runs Form_Load the first time only; Show loads first when needed.
// - Show(kModal): shows the window above the others and returns only once it is hidden or
//   unloaded and the handler that did so has returned. A window that a handler hides and shows
//   again before returning stays modal. Show(kModeless) on a window in a modal Show makes it an
//   ordinary window: that modal Show returns when the handler returns, the window stays up.
//   A second Show(kModal) on a window already in a modal Show only makes it visible again.
// - Form_Activate: raised by every Show that makes the window visible (not when a message box
//   over it closes).
// - Unload: Form_Unload(cancel) first; a cancel other than 0 keeps the window loaded. Closing
//   the window from its title bar unloads it the same way.
//
// One instance per form: FormSlot hands out the loaded instance, or makes a new one once the
// last was unloaded.

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

namespace plat::ctl {

class Form : public QWidget {
 public:
  enum ShowMode : int { kModeless = 0, kModal = 1 };

  explicit Form(QWidget* owner = nullptr);
  ~Form() override;

  bool Loaded() const { return loaded_; }
  bool Unloaded() const { return unloaded_; }  // unloaded, waiting to be deleted
  bool InModalShow() const { return modalDepth_ > 0; }

  void Load();
  void Show(int mode = kModeless);
  void Hide();
  void Unload();

  std::string Caption() const;
  void SetCaption(const std::string& caption);
  // The window's mouse pointer (control.h): 0 default, 11 hourglass, 13 arrow and hourglass.
  void SetMousePointer(int pointer);
  int MousePointer() const;

  std::function<void()> Form_Load;
  std::function<void()> Form_Activate;
  std::function<void(int& cancel)> Form_Unload;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  bool loaded_ = false;
  bool unloaded_ = false;
  int modalDepth_ = 0;
  bool modalEnded_ = false;  // Show(kModeless) during a modal Show
};

// The one instance of a form kind. Get() returns the live instance, or makes a new one (not yet
// loaded) when there is none or the last one was unloaded.
template <class F>
class FormSlot {
 public:
  explicit FormSlot(std::function<F*()> make) : make_(std::move(make)) {}
  F& Get() {
    F* form = form_.data();
    if (form == nullptr || form->Unloaded()) {
      form = make_();
      form_ = form;
    }
    return *form;
  }
  // The live, loaded instance or nullptr.
  F* Loaded() const { return form_ && form_->Loaded() ? form_.data() : nullptr; }

 private:
  std::function<F*()> make_;
  QPointer<F> form_;
};

}  // namespace plat::ctl

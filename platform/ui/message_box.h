#pragma once
// The one message-box service. The program shows a QMessageBox; tests install a recorder that
// answers at once, so nothing ever blocks a test.

#include <functional>
#include <string>
#include <vector>

class QMessageBox;

namespace plat {

enum class BoxIcon { None, Critical, Question, Exclamation, Information };
enum class BoxButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class BoxResult { Ok, Cancel, Yes, No };

struct BoxRequest {
  std::string title;  // empty: the application's title
  std::string text;   // may hold "\r\n" line breaks
  BoxIcon icon = BoxIcon::None;
  BoxButtons buttons = BoxButtons::Ok;
};

// Shows the box (modal) over the window that shows it, and returns the button chosen.
BoxResult ShowMessageBox(const BoxRequest& request);

// Replaces the box with `answer` (tests); an empty function restores the real box.
using BoxHandler = std::function<BoxResult(const BoxRequest&)>;
void SetMessageBoxHandler(BoxHandler answer);

// Called with each real box once it is showing (for headless runs that must not wait on a box:
// the hook may take a picture and close the box with QDialog::reject, which answers as Escape
// does). An empty function removes it.
using BoxShownHook = std::function<void(QMessageBox& box, const BoxRequest& request)>;
void SetMessageBoxShownHook(BoxShownHook hook);

// A test helper: records every box and answers with `reply` (Ok by default). Installs itself on
// construction and puts back what answered before (normally the real box) when destroyed.
class BoxRecorder {
 public:
  explicit BoxRecorder(BoxResult reply = BoxResult::Ok);
  ~BoxRecorder();
  BoxRecorder(const BoxRecorder&) = delete;
  BoxRecorder& operator=(const BoxRecorder&) = delete;
  std::vector<BoxRequest> boxes;
  BoxResult reply;

 private:
  BoxHandler previous_;
};

}  // namespace plat

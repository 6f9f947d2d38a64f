#pragma once
// The common ground of every window control: the properties the program addresses by name on
// any kind of control (Name, Index, Tag, Enabled, Visible, geometry in twips) and the events
// that every control can raise (GotFocus, LostFocus, MouseDown, MouseUp, KeyDown).
//
// Events are plain std::function members named as the events are named in the program
// (`txtDCA.Change = ...`). A control raises an event only when a handler is set; it raises it
// synchronously, on the UI thread, from user actions and - where the control says so - from the
// program's own property writes. A handler may replace handlers, change properties or unload the
// control that raised it: the control never touches itself after raising unless it is still alive.
//
// Texts are byte strings, one character per byte (Latin-1), as the program's texts are
// everywhere else; ToQ and FromQ convert at the Qt boundary.
//
// Colours are the program's colour numbers: 0x00BBGGRR (red in the low byte), so 0 is black,
// 255 pure red and 0xFFFFFF white.
//
// Geometry is in twips, 15 to a pixel (a 96-dot screen), relative to the control's container.

#include <QColor>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <string>

namespace plat::ctl {

class ControlEvents;

inline constexpr int kTwipsPerPixel = 15;
inline constexpr int PixelsFromTwips(int twips) { return (twips >= 0 ? twips + kTwipsPerPixel / 2 : twips - kTwipsPerPixel / 2) / kTwipsPerPixel; }
inline constexpr int TwipsFromPixels(int pixels) { return pixels * kTwipsPerPixel; }

QColor ColorFromNumber(long number);
long NumberFromColor(const QColor& color);

QString ToQ(const std::string& latin1);
std::string FromQ(const QString& text);  // characters beyond Latin-1 become '?'

// Mouse buttons and shift states as the mouse events report them.
enum MouseButton : int { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };
enum ShiftState : int { kShiftMask = 1, kCtrlMask = 2, kAltMask = 4 };

// Raises an event: calls a copy of the handler, so a handler that replaces itself stays valid.
template <class... Params, class... Args>
void Raise(const std::function<void(Params...)>& event, Args&&... args) {
  if (!event) return;
  auto handler = event;
  handler(std::forward<Args>(args)...);
}

class Control {
 public:
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  QWidget* Widget() const { return widget_; }

  const std::string& Name() const { return name_; }
  void SetName(std::string name);
  // The member's Index in its control array, -1 for a single control.
  int Index() const { return index_; }
  void SetIndex(int index) { index_ = index; }
  const std::string& Tag() const { return tag_; }
  void SetTag(std::string tag) { tag_ = std::move(tag); }

  // The control's own Enabled and Visible, whatever its container's state.
  bool Enabled() const;
  virtual void SetEnabled(bool enabled);
  bool Visible() const;
  void SetVisible(bool visible);

  int Left() const;
  int Top() const;
  int Width() const;
  int Height() const;
  void SetLeft(int twips);
  void SetTop(int twips);
  void SetWidth(int twips);
  void SetHeight(int twips);
  void Move(int left, int top, int width, int height);

  void SetFocus();
  void Refresh();

  // Copies what a newly loaded control-array member takes over from its model (the array's
  // lowest member): Name, Tag, place and size, font and Enabled. Kinds with more extend it.
  virtual void CopyPropertiesFrom(const Control& model);

  std::function<void()> GotFocus;
  std::function<void()> LostFocus;
  std::function<void(int button, int shift, int x, int y)> MouseDown;  // x, y in twips
  std::function<void(int button, int shift, int x, int y)> MouseUp;
  std::function<void(int& keyCode, int shift)> KeyDown;

 protected:
  explicit Control(QWidget* self);
  // Mouse buttons pressed in a child that covers the control (a list's viewport) raise the
  // control's MouseDown and MouseUp, at the place within the control.
  void ListenToPart(QWidget* part);

 private:
  QWidget* widget_;
  ControlEvents* events_;  // a child of the widget, so it outlives this part of the control
  std::string name_;
  std::string tag_;
  int index_ = -1;
};

// The control a widget belongs to (the widget itself, or the nearest control among its
// ancestors below its window), or nullptr.
Control* ControlOf(const QWidget* widget);

// The window's active control: the control that holds the window's focus, or last held it while
// the window is inactive. A control that disables itself while it has the focus stays the
// active control until the focus is given to another control.
Control* ActiveControl(const QWidget* window);
// The active control of the active window (or of the window that last had an active control).
Control* ScreenActiveControl();

// The window's mouse pointer: 0 default, 11 hourglass, 13 arrow with hourglass (other numbers
// show the default pointer).
void SetMousePointer(QWidget* window, int pointer);
int MousePointer(const QWidget* window);

}  // namespace plat::ctl

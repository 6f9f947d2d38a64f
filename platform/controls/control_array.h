#pragma once
// A control array: like controls sharing one Name, told apart by their Index. Indexes may be
// sparse (`sldPreset` has members 0, 1, 4, 12 and 17 to 24). The array's event handlers receive
// the member's Index first, then the event's own arguments:
//
//   ControlArray<TextBox> txtDCA("txtDCA");
//   txtDCA.Add(0, new TextBox(frame));
//   txtDCA.On(&TextBox::KeyPress, [](int index, int& key) { ... });
//
// A handler set with On applies to the members present and to every member added or loaded
// later. The window owns the members through their Qt parents; the array only refers to them,
// and forgets a member that is destroyed.
//
// Load adds a member at run time, made like the array's lowest member (its container, Name, Tag,
// size, font, captions) and hidden, as a freshly loaded member is; Unload removes such a member.
// Members placed by the window (Add) cannot be unloaded. Reaching a member that does not exist
// throws ControlArrayError.

#include <QPointer>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/controls/control.h"

namespace plat::ctl {

struct ControlArrayError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

template <class T>
class ControlArray {
  static_assert(std::is_base_of_v<Control, T> && std::is_base_of_v<QWidget, T>);

 public:
  explicit ControlArray(std::string name) : name_(std::move(name)) {}
  ControlArray(const ControlArray&) = delete;
  ControlArray& operator=(const ControlArray&) = delete;

  const std::string& Name() const { return name_; }

  // Takes a control the window made as member `index`; returns it.
  T& Add(int index, T* control) {
    if (!control) throw ControlArrayError(name_ + ": no control given for index " + std::to_string(index));
    if (Exists(index)) throw ControlArrayError(name_ + "(" + std::to_string(index) + ") is already loaded");
    Enter(index, control, false);
    return *control;
  }

  // Loads a new member like the lowest member, in the same container, hidden.
  T& Load(int index) {
    if (Exists(index)) throw ControlArrayError(name_ + "(" + std::to_string(index) + ") is already loaded");
    T* model = Lowest();
    if (!model) throw ControlArrayError(name_ + ": no member to load a copy of");
    T* copy = new T(model->parentWidget());
    copy->CopyPropertiesFrom(*model);
    copy->setVisible(false);
    Enter(index, copy, true);
    return *copy;
  }

  // Removes a member loaded at run time.
  void Unload(int index) {
    auto it = members_.find(index);
    if (it == members_.end() || !it->second.control) throw ControlArrayError(MissingText(index));
    if (!it->second.loaded) throw ControlArrayError(name_ + "(" + std::to_string(index) + ") was not loaded at run time");
    T* c = it->second.control;
    members_.erase(it);
    c->hide();
    c->deleteLater();
    c->setParent(nullptr);
  }

  bool Exists(int index) const {
    auto it = members_.find(index);
    return it != members_.end() && it->second.control;
  }

  T& operator()(int index) const {
    auto it = members_.find(index);
    T* control = it == members_.end() ? nullptr : it->second.control.data();
    if (!control) throw ControlArrayError(MissingText(index));
    return *control;
  }

  // The indexes of the members, ascending.
  std::vector<int> Indexes() const {
    std::vector<int> out;
    for (const auto& [i, m] : members_)
      if (m.control) out.push_back(i);
    return out;
  }
  int Count() const { return static_cast<int>(Indexes().size()); }
  int LBound() const {
    auto v = Indexes();
    if (v.empty()) throw ControlArrayError(name_ + " has no members");
    return v.front();
  }
  int UBound() const {
    auto v = Indexes();
    if (v.empty()) throw ControlArrayError(name_ + " has no members");
    return v.back();
  }

  // Sets the array's handler of one event of its members: `event` is the member's event
  // (&TextBox::Change), `handler` takes the Index and then the event's arguments.
  template <class C, class... Args, class F>
  void On(std::function<void(Args...)> C::*event, F handler) {
    static_assert(std::is_base_of_v<C, T>);
    std::function<void(int, Args...)> h(std::move(handler));
    auto bind = [event, h](T& control) {
      const int index = control.Index();
      static_cast<C&>(control).*event = [h, index](Args... args) { h(index, std::forward<Args>(args)...); };
    };
    for (auto& [i, m] : members_)
      if (m.control) bind(*m.control);
    binders_.push_back(std::move(bind));
  }

 private:
  struct Member {
    QPointer<T> control;
    bool loaded = false;
  };

  T* Lowest() const {
    for (const auto& [i, m] : members_)
      if (m.control) return m.control;
    return nullptr;
  }

  void Enter(int index, T* control, bool loaded) {
    control->SetName(name_);
    control->SetIndex(index);
    members_[index] = Member{control, loaded};
    for (auto& bind : binders_) bind(*control);
  }

  std::string MissingText(int index) const { return "Control array element '" + name_ + "(" + std::to_string(index) + ")' doesn't exist"; }

  std::string name_;
  std::map<int, Member> members_;
  std::vector<std::function<void(T&)>> binders_;
};

}  // namespace plat::ctl

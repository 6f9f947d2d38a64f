#pragma once
// An activity lamp: the only thing the program does with its lamps is switch them on and off.
// The main window backs the two lamps with Glimmet controls when the library is registered, and
// with PlainLamp otherwise (and in tests).

namespace plat {

class Lamp {
 public:
  virtual ~Lamp() = default;
  virtual void SetValue(bool on) = 0;
  virtual bool Value() const = 0;  // what was last set (tests and the plain lamp's drawing)
};

class PlainLamp : public Lamp {
 public:
  void SetValue(bool on) override { on_ = on; }
  bool Value() const override { return on_; }

 private:
  bool on_ = false;
};

}  // namespace plat

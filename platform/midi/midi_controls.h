#pragma once
// The MIDI input and output controls: the program's only road to the instrument.
//
// They behave like the port controls the editor was designed around: a numeric Action property
// (1 open, 2 close, 4 start, 5 stop, 6 release/next, 7 transmit), a device number, name and count,
// an open state, status filters and, on the input side, a queue of received messages whose head is
// "held" until action 6 releases it. Failures throw MidiControlError (the callers' error traps turn
// it into the usual box); the Error signal reports asynchronous backend faults.
//
// Backends: RtMidi (JACK or ALSA) for real ports, and an in-process loopback (see loopback.h).
// The backend is chosen by TAVORO_MIDI_API (jack, alsa, loopback), else JACK when a server runs,
// else ALSA. A backend that cannot start reports zero devices; nothing throws out of a getter.
// Received messages reach the Message signal on the UI thread, never re-entered.
//
// Details the callers rely on:
// - Open needs a device number inside 0..DeviceCount()-1 (output: -1 is the first port) and a
//   closed port; Start and Transmit need an open port. Stop, Close and Release are harmless on a
//   closed port or an empty queue. Any other action number is refused (ErrBadParameter).
// - The input queues messages only while open and started; Stop keeps the queue, Close empties
//   it. Filters hold until changed (a close keeps them).
// - Message is raised once for each queued message, oldest first, and only while that message
//   is still queued: a handler that releases several messages is not called again for them. While
//   a handler runs (it may wait in a nested event loop) messages only queue.
// - Transmit sends the System Exclusive message loaded since the last transmit; with none loaded
//   it sends the short message of the status byte's length (1-3 bytes). Malformed messages are
//   refused (ErrBadParameter) and nothing is sent.

#include <QObject>
#include <cstdint>
#include <deque>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/bytes.h"

namespace plat {

struct MidiControlError : std::runtime_error {
  int code;
  MidiControlError(int c, const std::string& what) : std::runtime_error(what), code(c) {}
};

namespace midi {
enum Action : int { Open = 1, Close = 2, Start = 4, Stop = 5, Release = 6, Transmit = 7 };

// Codes of MidiControlError and of the Error signal (numbered like the port drivers' own codes).
enum ErrorCode : int {
  ErrFailed = 1,       // the MIDI system refused (a driver error)
  ErrBadDevice = 2,    // device number out of range, or the device is gone
  ErrAllocated = 4,    // the port is already open
  ErrNotOpen = 5,      // start or transmit on a port that is not open
  ErrQueueFull = 7,    // the input queue is full: a received message was dropped
  ErrBadParameter = 11 // an action the control does not have, or a message that cannot be sent
};
// The text for one of the codes above; empty for any other code.
std::string ErrorText(int code);

// Test hook: every control made from now on uses this backend ("jack", "alsa", "loopback");
// an empty name goes back to TAVORO_MIDI_API, else JACK when a server runs, else ALSA.
void SetBackendOverride(const std::string& api);
// The backend a control made now would use: "jack", "alsa", "loopback", or "none" when the
// chosen MIDI system cannot start (such a control reports zero devices).
std::string ChosenBackend();
}  // namespace midi

// One received message as the input control holds it.
struct MidiMessage {
  std::uint8_t status = 0;
  std::uint8_t data1 = 0;
  std::uint8_t data2 = 0;
  Bytes sysex;  // the whole System Exclusive message F0..F7; empty for a short message
};

class MIDIInput : public QObject {
  Q_OBJECT
 public:
  explicit MIDIInput(QObject* parent = nullptr);
  ~MIDIInput() override;

  void SetAction(int action);
  int DeviceID() const;
  void SetDeviceID(int id);
  std::string DeviceName() const;  // of the device now selected; empty when none
  int DeviceCount() const;
  int PortOpen() const;  // 1 or more when open
  void SetFilter(std::uint8_t status, bool filterOut);
  bool Filter(std::uint8_t status) const;

  // The queue: count, and the held (first) message's fields.
  int MessageCount() const;
  std::uint8_t MessageStatus() const;
  std::uint8_t MessageData1() const;
  std::uint8_t MessageData2() const;
  Bytes SysExMessage() const;

 signals:
  void Message();
  void Error(int code, QString text);

 private:
  struct Impl;
  std::unique_ptr<Impl> d_;
};

// The name of output device -1, the system default (which opens the first port).
inline constexpr const char* kDefaultOutputName = "Default Output (first port)";

class MIDIOutput : public QObject {
  Q_OBJECT
 public:
  explicit MIDIOutput(QObject* parent = nullptr);
  ~MIDIOutput() override;

  void SetAction(int action);
  int DeviceID() const;
  void SetDeviceID(int id);  // -1 is the system default output (the first port)
  std::string DeviceName() const;  // kDefaultOutputName for -1; empty when there is no device
  int DeviceCount() const;
  int PortOpen() const;

  void SetMessageStatus(std::uint8_t status);
  void SetMessageData1(std::uint8_t d);
  void SetMessageData2(std::uint8_t d);
  void SetSysExMessage(const Bytes& message);

 signals:
  void Error(int code, QString text);

 private:
  struct Impl;
  std::unique_ptr<Impl> d_;
};

}  // namespace plat

#pragma once
// The instrument link: the state shared by everything that talks to the instrument, the send,
// the reply wait, the input handler, the ports and the settings.
//
// One request at a time: MidiOutLongMsg sends a framed message, GetVeskResponse waits for its one
// reply, which the input handler puts into the mailbox ReplyBuffer. The mailbox is emptied before
// every send, and System Exclusive that arrives while no reply is awaited is dropped, so a reply
// always belongs to its request. Everything runs on the UI thread; the waits run nested event
// loops in which the input handler and the reply timer fire.
//
// The link references (does not own) the MIDI controls, the two lamps, the main window's narrow
// host interface and the start-up trace; an application object owns them all.

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>

#include "link/error.h"
#include "link/frame.h"
#include "link/host.h"
#include "link/settings.h"
#include "link/status.h"
#include "link/trace.h"
#include "link/trap.h"
#include "platform/bytes.h"
#include "platform/midi/midi_controls.h"
#include "platform/ui/lamp.h"

namespace tavoro {

// The reply mailbox: its head is the message a reply wait takes next. Messages that arrive
// together while a reply is awaited queue behind it in arrival order, so the input handler
// never has to wait for the head to be taken.
class ReplyQueue {
 public:
  bool empty() const { return q_.empty(); }
  std::size_t size() const { return q_.size(); }
  // The head; an empty message when nothing is pending.
  const plat::Bytes& front() const;
  void push(plat::Bytes m) { q_.push_back(std::move(m)); }
  plat::Bytes take();
  void clear() { q_.clear(); }

 private:
  std::deque<plat::Bytes> q_;
};

struct LinkParts {
  plat::MIDIInput& ctlMIDIin;
  plat::MIDIOutput& ctlMIDIout;
  plat::Lamp& ledMIDIin;
  plat::Lamp& ledMIDIout;
  LinkHost& host;
  StartupTrace& trace;
};

class Link {
 public:
  explicit Link(const LinkParts& parts);
  ~Link();
  Link(const Link&) = delete;
  Link& operator=(const Link&) = delete;

  // --- state -----------------------------------------------------------------------------
  plat::Bytes SysExHeader = MakeSysExHeader();
  bool MidiOutBusy = false;     // a message was sent and its reply has not begun to arrive
  bool MidiInBusy = false;      // incoming data is being handled or a reply is not yet consumed
  std::uint32_t LedTimerId = 0; // the lamp-off timer last armed; 0 = none armed since start
  ReplyQueue ReplyBuffer;       // the mailbox
  bool ReplyTimedOut = false;   // set by the reply timer's tick
  std::int16_t LinkState = 0;   // 0 not yet known, 1 online, -1 offline
  Settings settings;
  QTimer tmrVeskrespond;        // the reply time-out

  plat::MIDIInput& ctlMIDIin;
  plat::MIDIOutput& ctlMIDIout;
  plat::Lamp& ledMIDIin;
  plat::Lamp& ledMIDIout;
  LinkHost& host;
  StartupTrace& trace;

  // --- frame and send ----------------------------------------------------------------------
  // SysExHeader, the device id SysExDeviceId, the body, F7.
  plat::Bytes Frame(const plat::Bytes& body) const;
  // Sends one whole framed message; False after its error box. The mailbox is emptied first.
  // A message that is not F0, data bytes 00-7F, F7 is refused through the error path. Once the
  // program is closing nothing is sent (False, no box).
  bool MidiOutLongMsg(const plat::Bytes& SysExData);

  // --- reply wait --------------------------------------------------------------------------
  // Waits for the reply to the message just sent. Timeout in milliseconds (scaled by the test
  // hook plat::ScaledTimeout), -1 = none; Mode 1 = status mode, other = reply mode.
  VeskResponse GetVeskResponse(int Timeout, int Mode);
  // The reply timer's tick.
  void tmrVeskrespond_Timer();

  // --- input -------------------------------------------------------------------------------
  // The input control's message event: takes every queued message. Connected by the constructor.
  void ctlMIDIin_Message();
  // The controls' error events: a box with the control's text unless Code is 0 or 8.
  void ctlMIDIin_Error(int Code, const std::string& Text);
  void ctlMIDIout_Error(int Code, const std::string& Text);

  // --- out lamp blink for short messages ---------------------------------------------------
  // Out lamp on; switched off 100 ms after the last arming.
  void ArmLedTimer();
  void LedOffTimerProc(std::uint32_t timerId);
  // Echoes the short message the input control holds to the output, blinking the out lamp.
  void MidiThruEcho();

  // --- ports -------------------------------------------------------------------------------
  bool OpenInputDevice();
  bool OpenOutputDevice();

  // --- settings ----------------------------------------------------------------------------
  bool GetRegistry();
  bool SetRegistry();

  // --- error path --------------------------------------------------------------------------
  // Both busy flags False, the in lamp and then the out lamp off.
  void ClearBusyAndLamps();

  // Test tooling: called, in order, with every control operation the link performs and every
  // trace line it writes (whether or not tracing is on), e.g. "in.action 5", "in.device 0",
  // "in.filter F9 1", "out.action 1", "trace OpenInputDevice()". Empty by default.
  std::function<void(const std::string&)> onControlLog;

 private:
  VeskResponse TimeOut();
  VeskResponse EndForClosing();
  VeskResponse TakeReply(int Mode);
  void UnloadProgressIfActive();
  void ShowErrorEvent(int Code, const std::string& Text);
  void Log(const std::string& what);
  void Trace(const std::string& text);
  void Trace(const std::string& first, const std::string& second);
  void InAction(int action);
  void OutAction(int action);
  void InFilter(std::uint8_t status, bool on);
  void InDevice(int id);
  void OutDevice(int id);

  bool replyAwaited_ = false;   // a reply to the last send may still come
  bool lastSendFailed_ = false; // the last MidiOutLongMsg failed: no reply can come
  bool ledTimerArmed_ = false;  // LedTimerId names a timer that has not fired or been killed
  QObject context_;             // receiver of the controls' signals
};

}  // namespace tavoro

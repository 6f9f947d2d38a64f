#include "link/link.h"

#include <stdexcept>

#include "platform/ui/message_box.h"
#include "platform/ui/one_shot_timer.h"
#include "platform/ui/wait.h"

namespace tavoro {

namespace {
constexpr int kLedBlinkMs = 100;

std::string Hex2(std::uint8_t b) {
  static const char* digits = "0123456789ABCDEF";
  return {digits[b >> 4], digits[b & 15]};
}
}  // namespace

// --- mailbox ---------------------------------------------------------------------------------

const plat::Bytes& ReplyQueue::front() const {
  static const plat::Bytes none;
  return q_.empty() ? none : q_.front();
}

plat::Bytes ReplyQueue::take() {
  if (q_.empty()) return {};
  plat::Bytes m = std::move(q_.front());
  q_.pop_front();
  return m;
}

// --- error path ------------------------------------------------------------------------------

void RunErrorPath(Link& link, std::string_view procName, std::string_view message) {
  // While the program closes, a procedure fails because its wait was ended: nothing to tell.
  if (!plat::WaitsEnding()) MidiErrorMsg(-1, procName, message);
  link.ClearBusyAndLamps();
}

void ShowErrorBox(std::string_view procName, std::string_view message) { MidiErrorMsg(-1, procName, message); }

void Link::ClearBusyAndLamps() {
  MidiOutBusy = false;
  MidiInBusy = false;
  ledMIDIin.SetValue(false);
  ledMIDIout.SetValue(false);
}

// --- construction ----------------------------------------------------------------------------

Link::Link(const LinkParts& parts)
    : ctlMIDIin(parts.ctlMIDIin),
      ctlMIDIout(parts.ctlMIDIout),
      ledMIDIin(parts.ledMIDIin),
      ledMIDIout(parts.ledMIDIout),
      host(parts.host),
      trace(parts.trace) {
  tmrVeskrespond.setSingleShot(true);
  QObject::connect(&tmrVeskrespond, &QTimer::timeout, &context_, [this] { tmrVeskrespond_Timer(); });
  QObject::connect(&ctlMIDIin, &plat::MIDIInput::Message, &context_, [this] { ctlMIDIin_Message(); });
  QObject::connect(&ctlMIDIin, &plat::MIDIInput::Error, &context_,
                   [this](int code, const QString& text) { ctlMIDIin_Error(code, text.toStdString()); });
  QObject::connect(&ctlMIDIout, &plat::MIDIOutput::Error, &context_,
                   [this](int code, const QString& text) { ctlMIDIout_Error(code, text.toStdString()); });
}

Link::~Link() {
  if (ledTimerArmed_) plat::TimeKillEvent(LedTimerId);
}

// --- control operations, logged for tests ----------------------------------------------------

void Link::Log(const std::string& what) {
  if (onControlLog) onControlLog(what);
}

void Link::Trace(const std::string& text) {
  Log("trace " + text);
  trace.Line(text);
}

void Link::Trace(const std::string& first, const std::string& second) {
  Log("trace " + first + "|" + second);
  trace.Line(first, second);
}

void Link::InAction(int action) {
  Log("in.action " + std::to_string(action));
  ctlMIDIin.SetAction(action);
}

void Link::OutAction(int action) {
  Log("out.action " + std::to_string(action));
  ctlMIDIout.SetAction(action);
}

void Link::InFilter(std::uint8_t status, bool on) {
  Log("in.filter " + Hex2(status) + (on ? " 1" : " 0"));
  ctlMIDIin.SetFilter(status, on);
}

void Link::InDevice(int id) {
  Log("in.device " + std::to_string(id));
  ctlMIDIin.SetDeviceID(id);
}

void Link::OutDevice(int id) {
  Log("out.device " + std::to_string(id));
  ctlMIDIout.SetDeviceID(id);
}

// --- frame and send --------------------------------------------------------------------------

plat::Bytes Link::Frame(const plat::Bytes& body) const {
  return SysExFrame(SysExHeader, static_cast<std::uint8_t>(settings.SysExDeviceId), body);
}

bool Link::MidiOutLongMsg(const plat::Bytes& SysExData) {
  // Whatever is still in the mailbox belongs to an earlier request.
  ReplyBuffer.clear();
  replyAwaited_ = false;
  // Once the program closes nothing more goes to the instrument: what still runs only winds
  // down, and the ports are about to close.
  if (plat::WaitsEnding()) {
    lastSendFailed_ = true;
    return false;
  }
  const bool sent = Trap(*this, "MidiOutLongMsg()", "Error transmitting MIDI data to Vesk", false, [&] {
    if (!IsSendableSysEx(SysExData)) throw std::invalid_argument("not one System Exclusive message of data bytes");
    if (onControlLog) Log("out.sysex " + plat::ToHex(SysExData));
    ctlMIDIout.SetMessageStatus(kSysExStart);
    ctlMIDIout.SetSysExMessage(SysExData);
    ledMIDIout.SetValue(true);
    MidiOutBusy = true;
    replyAwaited_ = true;
    OutAction(plat::midi::Start);
    OutAction(plat::midi::Transmit);
    OutAction(plat::midi::Stop);
    return true;
  });
  if (!sent) replyAwaited_ = false;
  lastSendFailed_ = !sent;
  return sent;
}

// --- reply wait ------------------------------------------------------------------------------

void Link::tmrVeskrespond_Timer() {
  tmrVeskrespond.stop();
  ReplyTimedOut = true;
}

void Link::UnloadProgressIfActive() {
  if (host.ProgressWindowActive()) host.UnloadProgressWindow();
}

VeskResponse Link::GetVeskResponse(int Timeout, int Mode) {
  VeskResponse failed;
  failed.outcome = VeskResponse::Outcome::Failed;
  auto onError = [this] {
    replyAwaited_ = false;
    tmrVeskrespond.stop();
    RunErrorPath(*this, "GetVeskResponse()", "Vesk response error");
  };
  VeskResponse r = TrapWith(onError, failed, [&]() -> VeskResponse {
    if (plat::WaitsEnding()) return EndForClosing();
    const bool bounded = Timeout >= 0;
    if (!bounded && lastSendFailed_) {
      // The send failed and showed its box: no reply can come, and nothing would end the wait.
      replyAwaited_ = false;
      ClearBusyAndLamps();
      VeskResponse none;
      none.outcome = VeskResponse::Outcome::TimedOut;
      none.text = std::string(kTimedOutText);
      return none;
    }
    replyAwaited_ = true;
    plat::WaitResult result;
    if (!bounded) {
      result = plat::WaitUntil([this] { return !ReplyBuffer.empty(); });
    } else {
      ReplyTimedOut = false;
      tmrVeskrespond.setInterval(plat::ScaledTimeout(Timeout));
      tmrVeskrespond.start();
      result = plat::WaitUntil([this] { return !ReplyBuffer.empty() || ReplyTimedOut; });
      tmrVeskrespond.stop();
    }
    if (result == plat::WaitResult::Closing) return EndForClosing();
    // A reply that came in together with the time-out still counts.
    if (!ReplyBuffer.empty()) return TakeReply(Mode);
    return TimeOut();
  });
  replyAwaited_ = false;
  return r;
}

VeskResponse Link::TakeReply(int Mode) {
  replyAwaited_ = false;
  plat::Bytes reply = ReplyBuffer.take();
  VeskResponse r;
  if (Mode != kStatusMode) {
    r.outcome = VeskResponse::Outcome::Reply;
    r.text = reply.text();
    r.reply = std::move(reply);
    return r;
  }
  const std::uint8_t status = reply.at(kStatusPos);  // a reply too short for a status fails here
  r.outcome = VeskResponse::Outcome::Reply;
  r.status = status;
  r.text = std::to_string(status);
  r.reply = std::move(reply);
  if (status != 0) {
    UnloadProgressIfActive();
    MidiErrorMsg(-1, "Vesk Error", StatusText(status));
    ClearBusyAndLamps();
  }
  return r;
}

VeskResponse Link::TimeOut() {
  // From here on a reply to this request is late: the input handler drops it, also while the
  // box below is open, and the state is set once more after the box.
  replyAwaited_ = false;
  UnloadProgressIfActive();
  ClearBusyAndLamps();
  MidiErrorMsg(-1, "", "The specified Vesk Device is not responding");
  ClearBusyAndLamps();
  ReplyBuffer.clear();
  if (ctlMIDIin.MessageCount() > 0) InAction(plat::midi::Release);
  if (LinkState == 1) {
    LinkState = -1;
    host.SetPanelText(kPanelLinkState, "OFFLINE");
  }
  ReplyTimedOut = false;
  VeskResponse r;
  r.outcome = VeskResponse::Outcome::TimedOut;
  r.text = std::string(kTimedOutText);
  return r;
}

VeskResponse Link::EndForClosing() {
  replyAwaited_ = false;
  tmrVeskrespond.stop();
  ReplyBuffer.clear();
  ClearBusyAndLamps();
  ReplyTimedOut = false;
  VeskResponse r;
  r.outcome = VeskResponse::Outcome::Closing;
  r.text = std::string(kTimedOutText);
  return r;
}

// --- input -----------------------------------------------------------------------------------

void Link::ctlMIDIin_Message() {
  // A control failing in the middle of the queue ends the event without a box; the in lamp
  // and MidiInBusy are released unless a reply waits in the mailbox for its taker.
  auto onError = [this] {
    if (ReplyBuffer.empty()) {
      MidiInBusy = false;
      ledMIDIin.SetValue(false);
    }
  };
  TrapWith(onError, false, [&] {
    if (ctlMIDIin.MessageCount() <= 0) return true;  // nothing arrived: nothing changes
    MidiOutBusy = false;
    ledMIDIout.SetValue(false);
    MidiInBusy = true;
    ledMIDIin.SetValue(true);
    while (ctlMIDIin.MessageCount() > 0) {
      plat::Bytes sysex = ctlMIDIin.SysExMessage();
      if (!sysex.empty()) {
        if (replyAwaited_) {
          ReplyBuffer.push(std::move(sysex));  // MidiInBusy and the in lamp stay for the taker
        } else if (ReplyBuffer.empty()) {
          // Nobody asked for it: dropped, and it must not lock the link.
          MidiInBusy = false;
          ledMIDIin.SetValue(false);
        }
      } else {
        if (ReplyBuffer.empty()) {
          MidiInBusy = false;
          ledMIDIin.SetValue(false);
        }
        if (settings.MidiThru == 1) MidiThruEcho();
      }
      InAction(plat::midi::Release);
    }
    return true;
  });
}

void Link::MidiThruEcho() {
  // An echo that cannot go out is not worth a box; the next message is handled all the same.
  TrapSilent(false, [&] {
    ctlMIDIout.SetMessageStatus(ctlMIDIin.MessageStatus());
    ctlMIDIout.SetMessageData1(ctlMIDIin.MessageData1());
    ctlMIDIout.SetMessageData2(ctlMIDIin.MessageData2());
    OutAction(plat::midi::Release);
    ArmLedTimer();
    OutAction(plat::midi::Start);
    OutAction(plat::midi::Transmit);
    OutAction(plat::midi::Stop);
    return true;
  });
}

void Link::ShowErrorEvent(int Code, const std::string& Text) {
  if (Code == 0 || Code == 8) return;
  plat::BoxRequest box;
  box.text = Text;
  box.icon = plat::BoxIcon::None;
  box.buttons = plat::BoxButtons::Ok;
  plat::ShowMessageBox(box);
}

void Link::ctlMIDIin_Error(int Code, const std::string& Text) { ShowErrorEvent(Code, Text); }
void Link::ctlMIDIout_Error(int Code, const std::string& Text) { ShowErrorEvent(Code, Text); }

// --- out lamp blink --------------------------------------------------------------------------

void Link::ArmLedTimer() {
  ledMIDIout.SetValue(true);
  // Only a timer that is still pending is killed: an id that has fired may name someone
  // else's timer by now.
  if (LedTimerId != 0 && ledTimerArmed_) plat::TimeKillEvent(LedTimerId);
  LedTimerId = plat::TimeSetEvent(kLedBlinkMs, [this](std::uint32_t id) { LedOffTimerProc(id); });
  ledTimerArmed_ = LedTimerId != 0;
}

void Link::LedOffTimerProc(std::uint32_t timerId) {
  // Runs on the UI thread. A timer replaced by a later arming never switches the lamp off early.
  if (timerId != LedTimerId) return;
  ledTimerArmed_ = false;
  ledMIDIout.SetValue(false);
}

}  // namespace tavoro

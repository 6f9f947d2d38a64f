#include "emulator/program/midi_ports.h"

#include <rtmidi/RtMidi.h>

#include <cstdio>
#include <stdexcept>

#ifdef VESK_EMULATOR_HAVE_JACK
#include <jack/jack.h>
#endif

namespace emu {
namespace {

RtMidi::Api ApiOf(const std::string& api) { return api == "jack" ? RtMidi::UNIX_JACK : RtMidi::LINUX_ALSA; }

void Warn(RtMidiError::Type type, const std::string& text, void* problems) {
  if (type == RtMidiError::DEBUG_WARNING) return;
  // While the ports are being opened every complaint counts (a JACK client that could not reach
  // its server is only a warning to RtMidi); later ones are reported and the program goes on.
  if (problems)
    static_cast<std::string*>(problems)->assign(text);
  else if (type != RtMidiError::WARNING)
    std::fprintf(stderr, "vesk-emulator: MIDI error: %s\n", text.c_str());
}

template <class Port>
int FindPort(Port& port, const std::string& part) {
  const unsigned n = port.getPortCount();
  for (unsigned i = 0; i < n; ++i)
    if (port.getPortName(i).find(part) != std::string::npos) return static_cast<int>(i);
  return -1;
}

// The system's name of a port of ours, found from the other side's list.
template <class Probe>
std::string SystemName(RtMidi::Api api, const std::string& name) {
  try {
    Probe probe(api, "vesk-emulator probe");
    probe.setErrorCallback(&Warn, nullptr);
    const int i = FindPort(probe, name);
    if (i >= 0) return probe.getPortName(static_cast<unsigned>(i));
  } catch (const RtMidiError&) {
  }
  return name;
}

#ifdef VESK_EMULATOR_HAVE_JACK
void Quiet(const char*) {}
#endif

}  // namespace

bool JackServerRunning() {
#ifdef VESK_EMULATOR_HAVE_JACK
  jack_set_error_function(&Quiet);
  jack_set_info_function(&Quiet);
  jack_status_t status{};
  jack_client_t* client = jack_client_open("vesk-emulator-probe", JackNoStartServer, &status);
  if (!client) return false;
  jack_client_close(client);
  return true;
#else
  return false;
#endif
}

MidiPorts::MidiPorts() = default;
MidiPorts::~MidiPorts() { close(); }

void MidiPorts::open(const std::string& api, const std::string& name, const std::string& connectTo,
                     Receive receive) {
  receive_ = std::move(receive);
  const RtMidi::Api a = ApiOf(api);
  if (a == RtMidi::UNIX_JACK && !JackServerRunning()) throw std::runtime_error("no JACK server is running");
  std::string problem;
  try {
    in_ = std::make_unique<RtMidiIn>(a, name, 1024);
    out_ = std::make_unique<RtMidiOut>(a, name);
    in_->setErrorCallback(&Warn, &problem);
    out_->setErrorCallback(&Warn, &problem);
    in_->ignoreTypes(false, true, true);  // System Exclusive on; timing and active sensing off
    in_->setCallback(&MidiPorts::onMessage, this);
    if (connectTo.empty()) {
      in_->openVirtualPort(name);
      out_->openVirtualPort(name);
      inputName_ = SystemName<RtMidiOut>(a, name);
      outputName_ = SystemName<RtMidiIn>(a, name);
    } else {
      const int src = FindPort(*in_, connectTo), dst = FindPort(*out_, connectTo);
      if (src < 0 || dst < 0) throw std::runtime_error("no MIDI ports of \"" + connectTo + "\" to connect to");
      in_->openPort(static_cast<unsigned>(src), name);
      out_->openPort(static_cast<unsigned>(dst), name);
      inputName_ = name + " <- " + in_->getPortName(static_cast<unsigned>(src));
      outputName_ = name + " -> " + out_->getPortName(static_cast<unsigned>(dst));
    }
    if (!problem.empty()) throw std::runtime_error(problem);
    in_->setErrorCallback(&Warn, nullptr);
    out_->setErrorCallback(&Warn, nullptr);
  } catch (const std::runtime_error&) {
    close();
    throw;
  } catch (const RtMidiError& e) {
    close();
    throw std::runtime_error(e.getMessage());
  }
}

void MidiPorts::close() {
  if (in_) {
    in_->cancelCallback();
    in_->closePort();
  }
  if (out_) out_->closePort();
  in_.reset();
  out_.reset();
}

void MidiPorts::send(const Message& m) {
  if (!out_) return;
  try {
    out_->sendMessage(&m);
  } catch (const RtMidiError& e) {
    std::fprintf(stderr, "vesk-emulator: send failed: %s\n", e.getMessage().c_str());
  }
}

void MidiPorts::onMessage(double, std::vector<unsigned char>* message, void* self) {
  auto* ports = static_cast<MidiPorts*>(self);
  if (message && !message->empty() && ports->receive_) ports->receive_(*message);
}

}  // namespace emu

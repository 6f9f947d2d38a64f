#pragma once
// Link start-up: Initialise runs once, inside the main window's load, before the window is shown.
// It checks that MIDI input and output exist, reads the settings, opens both ports, has the page
// control lists built, prods the instrument with front-panel key 0 and, from the answer, starts
// online (the current page refreshed) or offline (every page cleared, deleting and stereo merge
// off).
//
// A missing or unusable MIDI port is fatal: after "Cannot initialise MIDI interface(s)...Exiting"
// Initialise returns Fatal and its caller must end the program at once with a failure code,
// without closing the main window (so no settings are written back).

#include <cstdint>

#include "link/link.h"

namespace tavoro {

// What Initialise needs of the main window beyond the link's own host.
class StartupHost {
 public:
  virtual ~StartupHost() = default;

  // The window's commands that start-up switches on and off.
  enum class Command { LoadBank, DeleteObject, DeleteMenu, StereoMerge, StereoMergeMenu };
  virtual void SetCommandEnabled(Command command, bool enabled) = 0;

  // The seven page control lists and BlackKey, built in their order.
  virtual void BuildControlLists() = 0;
  // Empties and switches off the page of one object kind (0-4, 18 Global).
  virtual void ClearObjDisplay(std::uint8_t kind) = 0;
  // The download of every kind's directory and first object and of the Global data; true when
  // all of it was read.
  virtual bool AllObjectsDump() = 0;
  // The main window's page refresh.
  virtual void Tavorotab_Click() = 0;
  // The instrument's free sample memory in kilowords, from the last directory status read.
  virtual std::int32_t FreeRamKw() = 0;

  // Edit state that start-up sets.
  virtual void SetWaveScrollIndex(std::int16_t index) = 0;
  virtual void SetSuppressChange(bool on) = 0;
};

enum class InitResult {
  Online,   // the instrument answered the prod and every online step ran
  Offline,  // no answer or an error status: every page cleared
  Failed,   // a run-time failure (reported), or the downloads of the online path failed
  Fatal,    // no usable MIDI port: the program must end now
};

inline constexpr const char* kCannotInitialiseMidi = "Cannot initialise MIDI interface(s)...Exiting";

InitResult Initialise(Link& link, StartupHost& host);

}  // namespace tavoro

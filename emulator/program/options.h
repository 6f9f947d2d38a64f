#pragma once
// The command line of vesk-emulator (see main.cpp for the list of flags).

#include <optional>
#include <string>
#include <vector>

#include "emulator/core/vesk.h"

namespace emu {

struct Options {
  std::string api;  // "jack", "alsa", or empty: JACK when a server runs, else ALSA
  std::string name = "Vesk Emulator";
  std::string connect;  // a client whose ports to connect to, instead of open ports
  int deviceId = 0;
  Faults faults;
  int faultCount = -1;
  int diskDelayMs = 0;  // a slow disk: the answers to load bank requests leave this much later
  Listing listing;
  bool verbose = false;
  bool help = false;
};

// Parses argv[1..]; on a bad flag returns nothing and sets `error`.
std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error);
std::string Usage();

}  // namespace emu

#include "emulator/program/options.h"

#include <charconv>
#include <map>

namespace emu {
namespace {

bool ToInt(const std::string& s, int lo, int hi, int& out) {
  int v = 0;
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc{} || p != s.data() + s.size() || v < lo || v > hi) return false;
  out = v;
  return true;
}

// "K:N" or "K:N,N,N": an object kind 0-4, then numbers 0-65535.
bool KindNumbers(const std::string& s, int& kind, std::vector<int>& numbers) {
  const auto colon = s.find(':');
  if (colon == std::string::npos || !ToInt(s.substr(0, colon), 0, kObjectKinds - 1, kind)) return false;
  numbers.clear();
  std::size_t from = colon + 1;
  while (true) {
    const auto comma = s.find(',', from);
    int n = 0;
    if (!ToInt(s.substr(from, comma == std::string::npos ? std::string::npos : comma - from), 0, 0xFFFF, n)) return false;
    numbers.push_back(n);
    if (comma == std::string::npos) return true;
    from = comma + 1;
  }
}

}  // namespace

std::string Usage() {
  return "usage: vesk-emulator [--api jack|alsa] [--name NAME] [--connect CLIENT] [--device-id N]\n"
         "                     [--delay MS] [--disk-delay MS] [--silent] [--late MS]\n"
         "                     [--unsolicited MS] [--repeat N]\n"
         "                     [--mangle short|garbled|truncated|over-long|wrong-kind|non-nibble]\n"
         "                     [--mangle-kind K] [--status N] [--busy] [--fault-count N]\n"
         "                     [--only status|directory|dump|global|key|upload[:K]]\n"
         "                     [--dir-order K:N,N,...] [--lowest K:N] [--verbose]\n";
}

std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error) {
  static const std::map<std::string, Mangle> kMangles = {
      {"short", Mangle::Short},         {"garbled", Mangle::Garbled},      {"truncated", Mangle::Truncated},
      {"over-long", Mangle::OverLong},  {"wrong-kind", Mangle::WrongKind}, {"non-nibble", Mangle::NonNibble}};
  Options o;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= args.size()) {
        error = a + " needs a value";
        return false;
      }
      out = args[++i];
      return true;
    };
    auto number = [&](int lo, int hi, int& out) {
      std::string v;
      if (!value(v)) return false;
      if (!ToInt(v, lo, hi, out)) {
        error = a + ": " + v + " is not a number from " + std::to_string(lo) + " to " + std::to_string(hi);
        return false;
      }
      return true;
    };
    std::string v;
    if (a == "--help" || a == "-h") {
      o.help = true;
    } else if (a == "--api") {
      if (!value(o.api)) return {};
      if (o.api != "jack" && o.api != "alsa") {
        error = "--api must be jack or alsa";
        return {};
      }
    } else if (a == "--name") {
      if (!value(o.name)) return {};
    } else if (a == "--connect") {
      if (!value(o.connect)) return {};
    } else if (a == "--device-id") {
      if (!number(0, 127, o.deviceId)) return {};
    } else if (a == "--delay") {
      if (!number(0, 600000, o.faults.replyDelayMs)) return {};
    } else if (a == "--disk-delay") {
      if (!number(0, 600000, o.diskDelayMs)) return {};
    } else if (a == "--silent") {
      o.faults.silent = true;
    } else if (a == "--late") {
      if (!number(1, 600000, o.faults.lateMs)) return {};
    } else if (a == "--unsolicited") {
      o.faults.unsolicited = true;
      if (!number(0, 600000, o.faults.unsolicitedGapMs)) return {};
    } else if (a == "--repeat") {
      if (!number(1, 100, o.faults.repeat)) return {};
    } else if (a == "--mangle") {
      if (!value(v)) return {};
      auto it = kMangles.find(v);
      if (it == kMangles.end()) {
        error = "--mangle: unknown damage " + v;
        return {};
      }
      o.faults.mangle = it->second;
    } else if (a == "--mangle-kind") {
      if (!number(0, 6, o.faults.mangleKind)) return {};
    } else if (a == "--status") {
      if (!number(1, 127, o.faults.forcedStatus)) return {};
    } else if (a == "--busy") {
      o.faults.forcedStatus = status::Busy;
    } else if (a == "--fault-count") {
      if (!number(1, 1000000, o.faultCount)) return {};
    } else if (a == "--only") {
      static const std::map<std::string, Request> kRequests = {
          {"status", Request::DirStatus}, {"directory", Request::Directory}, {"dump", Request::Dump},
          {"global", Request::Global},    {"key", Request::Key},             {"upload", Request::Upload}};
      if (!value(v)) return {};
      const auto colon = v.find(':');
      auto it = kRequests.find(v.substr(0, colon));
      int kind = -1;
      if (it == kRequests.end() || (colon != std::string::npos && !ToInt(v.substr(colon + 1), 0, 6, kind))) {
        error = "--only: " + v + " is not a request such as dump:1";
        return {};
      }
      o.faults.only = it->second;
      o.faults.onlyKind = kind;
    } else if (a == "--dir-order" || a == "--lowest") {
      int kind = 0;
      std::vector<int> numbers;
      if (!value(v)) return {};
      if (!KindNumbers(v, kind, numbers) || (a == "--lowest" && numbers.size() != 1)) {
        error = a + ": " + v + (a == "--lowest" ? " is not K:N" : " is not K:N,N,...");
        return {};
      }
      if (a == "--lowest")
        o.listing.lowest[static_cast<std::size_t>(kind)] = numbers[0];
      else
        o.listing.order[static_cast<std::size_t>(kind)] = numbers;
    } else if (a == "--verbose" || a == "-v") {
      o.verbose = true;
    } else {
      error = "unknown flag " + a;
      return {};
    }
  }
  return o;
}

}  // namespace emu

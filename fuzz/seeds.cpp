// Writes the fuzz seeds: the instrument emulator's replies for every kind of its default bank,
// one directory per parser. Usage: fuzz_seeds DIR
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "emulator/core/vesk.h"

namespace {

namespace fs = std::filesystem;

void Write(const fs::path& dir, const std::string& name, const emu::Message& m) {
  fs::create_directories(dir);
  std::ofstream out(dir / name, std::ios::binary);
  out.write(reinterpret_cast<const char*>(m.data()), static_cast<std::streamsize>(m.size()));
}

// Every reply the instrument sends to one request.
std::vector<emu::Message> Ask(emu::Vesk& vesk, std::vector<std::uint8_t> body) {
  emu::Message m{0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F};
  m.insert(m.end(), body.begin(), body.end());
  m.push_back(0xF7);
  std::vector<emu::Message> out;
  for (auto& r : vesk.handle(m)) out.push_back(std::move(r.bytes));
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_seeds DIR\n");
    return 2;
  }
  const fs::path root = argv[1];
  emu::Vesk vesk;
  const char* dumpDirs[] = {"wave_dump", "tone_dump", "map_dump", "preset_dump", "multi_dump"};
  for (int k = 0; k < emu::kObjectKinds; ++k) {
    const auto kind = static_cast<emu::Kind>(k);
    for (const auto& [num, dump] : vesk.bank().of(kind)) {
      Write(root / dumpDirs[k], std::to_string(num), vesk.dump(kind, num));
      if (kind == emu::Kind::Map) {
        // Each zone of the Map, addressed by its low key.
        const std::size_t zones = (dump.size() - 84) / 32;
        for (std::size_t z = 0; z < zones; ++z) {
          const std::size_t b = 84 + 32 * z;
          const std::uint8_t key = static_cast<std::uint8_t>(dump[b + 4 - 1] * 16 + dump[b + 5 - 1]);
          for (const auto& r : Ask(vesk, {0x01, 0x06, 0x00, 0x00, 0x00, 0x02, static_cast<std::uint8_t>(key >> 4),
                                          static_cast<std::uint8_t>(key & 15), static_cast<std::uint8_t>(num >> 4),
                                          static_cast<std::uint8_t>(num & 15)}))
            Write(root / "map_zone_dump", std::to_string(num) + "_" + std::to_string(z), r);
        }
      }
    }
    const auto t = static_cast<std::uint8_t>(k);
    for (const auto& r : Ask(vesk, {0x12, 0x01, 0x01, t})) Write(root / "dir_status", std::to_string(k), r);
    for (const auto& r : Ask(vesk, {0x12, 0x02, 0x01, t})) Write(root / "dir", std::to_string(k), r);
  }
  int n = 0;
  for (const auto& r : Ask(vesk, {0x11, 0x02, 0x01, 0x00})) Write(root / "global_replies", "bank" + std::to_string(n++), r);
  for (std::uint8_t p = 1; p <= 5; ++p)
    for (const auto& r : Ask(vesk, {0x11, 0x03, 0x02, p, 0x00})) Write(root / "global_replies", "parm" + std::to_string(p), r);
  for (const auto& r : Ask(vesk, {0x32, 0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x01, 0x00, 0x00}))
    Write(root / "global_replies", "tune", r);
  return 0;
}

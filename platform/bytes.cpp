#include "platform/bytes.h"

#include <cstdio>

namespace plat {

std::string ToHex(const Bytes& b) {
  std::string out;
  out.reserve(b.size() * 3);
  char buf[4];
  for (std::size_t i = 0; i < b.size(); ++i) {
    std::snprintf(buf, sizeof buf, "%02X", b.vec()[i]);
    if (i) out += ' ';
    out += buf;
  }
  return out;
}

}  // namespace plat

#include "platform/com/guid.h"

#include <cstdio>

namespace plat::com {

std::string FormatGuid(const GUID& g) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", static_cast<unsigned>(g.data1),
                unsigned{g.data2}, unsigned{g.data3}, unsigned{g.data4[0]}, unsigned{g.data4[1]}, unsigned{g.data4[2]},
                unsigned{g.data4[3]}, unsigned{g.data4[4]}, unsigned{g.data4[5]}, unsigned{g.data4[6]},
                unsigned{g.data4[7]});
  return buf;
}

}  // namespace plat::com

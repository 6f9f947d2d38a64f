#pragma once
// The request messages of the object transfer, in the parts ReqObjectDump takes: the request
// kind, the command part and the argument part (left out of the message for the Global
// requests).

#include <cstdint>

#include "objects/obj_types.h"
#include "platform/bytes.h"

namespace tavoro {

struct DumpRequest {
  std::uint8_t Kind = 0;
  plat::Bytes Cmd;
  plat::Bytes Arg;
};

// The dump of object `number` of kinds 0-4: 01 kind 00 00 00 02, then the number's four nibbles.
// A negative number throws CodecError.
DumpRequest ObjectDumpRequest(ObjType kind, int number);
// One zone of a Map, addressed by the zone's low key and the Map's number, two nibbles each.
DumpRequest MapZoneDumpRequest(int lowKey, int mapNumber);
DumpRequest ObjDirStatusRequest(std::uint8_t kind);
DumpRequest ObjDirRequest(std::uint8_t kind);
DumpRequest BankNameRequest();
// Global parameter 1-5.
DumpRequest GlobalParmRequest(std::uint8_t parm);
DumpRequest MasterTuneRequest();

}  // namespace tavoro

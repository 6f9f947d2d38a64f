#include "objects/requests.h"

#include "objects/codec.h"

namespace tavoro {

namespace {
plat::Bytes DumpCmd(ObjType kind) { return plat::Bytes{0x01, Code(kind), 0x00, 0x00, 0x00, 0x02}; }
}  // namespace

DumpRequest ObjectDumpRequest(ObjType kind, int number) { return {Code(kind), DumpCmd(kind), NumberNibbles(number)}; }

DumpRequest MapZoneDumpRequest(int lowKey, int mapNumber) {
  plat::Bytes arg = ByteNibbles(lowKey);
  arg += ByteNibbles(mapNumber);
  return {Code(ObjType::MapZone), DumpCmd(ObjType::MapZone), arg};
}

DumpRequest ObjDirStatusRequest(std::uint8_t kind) { return {kReqDirStatus, plat::Bytes{0x12, 0x01, 0x01}, plat::Bytes{kind}}; }

DumpRequest ObjDirRequest(std::uint8_t kind) { return {kReqDir, plat::Bytes{0x12, 0x02, 0x01}, plat::Bytes{kind}}; }

DumpRequest BankNameRequest() { return {kReqGlobal, plat::Bytes{0x11, 0x02, 0x01, 0x00}, {}}; }

DumpRequest GlobalParmRequest(std::uint8_t parm) { return {kReqGlobal, plat::Bytes{0x11, 0x03, 0x02, parm, 0x00}, {}}; }

DumpRequest MasterTuneRequest() {
  return {kReqGlobal, plat::Bytes{0x32, 0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x01, 0x00, 0x00}, {}};
}

}  // namespace tavoro

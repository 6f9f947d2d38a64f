#pragma once
// The instrument's checks of an uploaded object: values a parameter upload may not carry.
// Each returns true when the dump may be stored.

#include "emulator/core/bank.h"
#include "emulator/core/layouts.h"
#include "emulator/core/wire.h"

namespace emu {

// A whole dump of kind Wave .. Multi whose length and nibbles were already checked; `stored` is
// the dump it replaces.
bool ValuesAcceptable(Kind kind, const Message& upload, const Message& stored);

// One zone's 32 nibbles starting at `base`.
bool ZoneAcceptable(const Message& m, std::size_t base);

// True when zone `zone` of a Map dump may take the keys of the zone data at `base` of `m`: its
// key range stays above the previous zone's high key and below the next zone's low key.
bool ZoneFitsBetweenNeighbours(const Message& mapDump, int zone, const Message& m, std::size_t base);

// The zone of a Map dump that a key addresses: the zone whose low key is the key, else the one
// whose high key is the key, else the first zone that contains the key; -1 when none.
int FindZone(const Message& mapDump, int key);

// The number of zones a Map dump says it has (LastZone + 1), -1 when it cannot be read.
int ZoneCount(const Message& mapDump);

}  // namespace emu

#pragma once
// The bulk download (every kind's directory status, directory and first object, then the Global
// data) and the single download (one object read again and its page refilled).
//
// Both run under the link's error trap. The bulk download shows its progress in status panel 7
// and in the start-up trace and the hourglass while it runs; it stops after the kind during which
// the link went offline. The single download takes the object's number from the header's number
// box and shows the number of the directory entry at the kind's directory index afterwards.

#include <cstdint>
#include <string>

#include "objects/download_host.h"
#include "objects/transfer.h"

namespace tavoro {

// Status-bar panels the downloads write beside the kinds' own panels.
inline constexpr int kPanelFreeRam = 6, kPanelActivity = 7;

// True when all five kinds and the Global data were processed; false when the link was or went
// offline, when the program is closing, or after the error box "AllObjectsDump()" (no directory
// entry carries the kind's lowest number in use: the kind's directory index is then -1).
bool AllObjectsDump(ObjectTransfer& transfer, DownloadHost& host);

// Reads object kind 0-4 again and refills its page; any other kind does nothing. The kind's
// directory index and PresetLayerSel are never changed.
void ObjectDownload(ObjectTransfer& transfer, DownloadHost& host, std::uint8_t ObjType);

// "Free RAM: 1520 kw".
std::string FreeRamText(std::int32_t freeRamKw);
// "Current Bank: " and the bank name, "Current Bank: -" when the name is empty.
std::string CurrentBankText(const GlobalRecord& global);

}  // namespace tavoro

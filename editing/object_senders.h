#pragma once
// The object header's senders: selecting another object of the page's kind by its number (a
// number that does not exist selects the next higher one that does) and renaming the current
// object.

#include <cstdint>
#include <string>

#include "editing/edit_context.h"
#include "objects/download_host.h"
#include "objects/records.h"
#include "platform/controls/control.h"
#include "platform/controls/text_box.h"

namespace tavoro {

// CurNum is the current record's Number; DirIndex, Status and Dir the kind's store items
// (DirIndex is updated); ObjType the page's kind (0-4, 18); Txt the number box, Spn its spin
// button (only its Name is read). The chosen object is read and its page refilled through
// `downloads`. False when nothing was to be done, True otherwise.
bool Change_ObjectNum(EditContext& ctx, DownloadHost& downloads, std::int16_t CurNum, std::int16_t& DirIndex,
                      const ObjDirStatus& Status, const ObjDir& Dir, std::uint8_t ObjType, plat::ctl::TextBox& Txt,
                      const plat::ctl::Control& Spn);

// Renames object ObjNum of kind ObjType (5 for a Map: only its header is sent) to the text of
// the name box, committed with Enter in it; ObjName is the record's name and takes the new name
// without its surrounding blanks. True when the instrument accepted the rename.
bool Change_ObjectName(EditContext& ctx, std::int16_t ObjNum, std::string& ObjName, std::uint8_t ObjType);

}  // namespace tavoro

#pragma once
// Stepping through a kind's directory from a number the page shows: the spin buttons that pick
// a zone's Tone, a layer's Map or a part's Preset, and the header's object stepper. Every walk
// stays inside the directory: at an end, or in an empty directory, there is no step.

#include <optional>

#include "objects/obj_types.h"
#include "objects/records.h"
#include "platform/controls/text_box.h"

namespace tavoro {

class EditProtocol;

// The number of the existing object next to `shown` in `direction` (-1 down, +1 up): the first
// entry, from the end downwards or from the start upwards, that is the number one step on or
// lies beyond it. Nothing when that step leaves the status's range of numbers in use or no entry
// lies that way.
std::optional<int> StepToExisting(const ObjDir& dir, const ObjDirStatus& status, long shown, int direction);

// The number a typed number selects: moved into the status's range of numbers in use, then up to
// the first existing object at or above it. Nothing when the directory is empty.
std::optional<int> ExistingAtOrAbove(const ObjDir& dir, const ObjDirStatus& status, long typed);

// The directory position one step on from `position` (-1 down, +1 up); nothing at either end and
// when the position designates no entry.
std::optional<int> StepPosition(const ObjDir& dir, int position, int direction);

// Whether the instrument holds objects of the kind: when the stored status says none, the
// status is read again (and the directory with it); still none shows the "Load ... Object" box
// with `title` and `text`.
bool KindKnown(EditProtocol& edit, ObjType kind, const char* title, const char* text);

// A spin button's step over the objects of a kind: nothing when the step leaves the numbers in
// use; after the "Load ... Object" box when the instrument holds none; otherwise the box shows
// the next existing object's number, and its change handler commits it.
void StepBoxToExisting(EditProtocol& edit, plat::ctl::TextBox& box, ObjType kind, long shown, int direction,
                       const char* title, const char* text);

}  // namespace tavoro

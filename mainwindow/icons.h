#pragma once
// The pictures of the main window's command buttons, drawn here.

#include <QIcon>

namespace tavoro {

enum class CommandPicture { Download, LoadBank, Delete, StereoMerge, Config, Stats, Audition };

QIcon CommandIcon(CommandPicture picture);

}  // namespace tavoro

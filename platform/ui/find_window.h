#pragma once
// Finding a top-level window by its title, as the main window does at exit to close the side
// windows still loaded. Any top-level widget counts, shown or hidden; the title is compared
// whole and without regard to case.

#include <string_view>

class QWidget;

namespace plat {

// The first top-level widget titled `title`, or null.
QWidget* FindTopLevelWindow(std::string_view title);

}  // namespace plat

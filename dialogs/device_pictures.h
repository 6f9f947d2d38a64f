#pragma once
// The pictures of the instrument's disk devices in the load bank window, drawn here: CD-ROM (type
// 0), hard disk (1), Zip or Jaz cartridge drive (2) and floppy disk drive (3).

#include <QPixmap>

namespace tavoro {

// A 48 by 48 picture of the device type; a null pixmap for any other type.
QPixmap DevicePicture(int devType);

}  // namespace tavoro

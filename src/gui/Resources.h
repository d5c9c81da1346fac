#pragma once

#include <QPixmap>
#include <QString>

namespace vendra {

// Makes the pictures compiled into the program available under ":/"; safe to call repeatedly.
void LoadResources();

// A PNG picture compiled into the program, such as ":/icons/vendra.png". Read as PNG without
// asking Qt's image format plugins whether they know the file better: that question loads every
// plugin installed (GIF, ICO, JPEG and their libraries), which costs more than the picture itself.
QPixmap PngPicture(const QString& path);

}  // namespace vendra

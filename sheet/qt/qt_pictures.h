// The program's pictures as Qt pixmaps: bitmap resources by id, the window
// icon, and a stand-in for a picture the program does not have.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

#include <cstdint>

namespace grazefall::qtui {

// Bitmap resource `id`; a null pixmap when there is none or it does not decode.
QPixmap ResourcePixmap(int32_t id);
// A .bmp file scaled to `width` x `height`; null when it does not decode.
QPixmap FilePixmap(const QString& path, int width, int height);
// A plain grey box of the given size, for a picture that is missing.
QPixmap PlaceholderPixmap(int width, int height);
// The program's icon at every size it has, transparent where pixel (0, 0) is.
QIcon ProgramIcon();

}  // namespace grazefall::qtui

#pragma once
// The program's icons: the main icon (drawn, so it needs no resource file)
// and the pictures of the launcher buttons (the style's standard icons).

#include <QIcon>
#include <QImage>
#include <QStyle>

namespace tessaro {

QIcon AppIcon();
// The main icon at size x size; needs no display (the package's icons).
QImage AppIconImage(int size);
QIcon StandardIcon(QStyle::StandardPixmap which);

// Pictures the style does not offer at launcher size, drawn at 32 x 32.
enum class DrawnIcon { SerialLine, Folder, Monitor, Terminal };
QIcon MakeDrawnIcon(DrawnIcon which);

}  // namespace tessaro

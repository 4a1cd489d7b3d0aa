#pragma once
// The program's icons: the main icon (drawn, so it needs no resource file)
// and the pictures of the launcher buttons (the style's standard icons).

#include <QIcon>
#include <QStyle>

namespace tessaro {

QIcon AppIcon();
QIcon StandardIcon(QStyle::StandardPixmap which);

}  // namespace tessaro

#pragma once
// The program's two fonts: the proportional Japanese font of every window
// and the fixed one of text views. The historical family names come first,
// then Japanese-capable fonts that Linux machines carry.

#include <QFont>

namespace tessaro {

QFont ProportionalFont(int pixelSize = 12);
QFont FixedFont(int pixelSize = 12);

}  // namespace tessaro

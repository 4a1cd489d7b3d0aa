#pragma once
// The frame of the program's fixed-size dialogs: title, system menu and
// close box, no resizing.

#include <Qt>

namespace tessaro {

inline constexpr Qt::WindowFlags kFixedDialogFlags =
    Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowCloseButtonHint;

}  // namespace tessaro

#pragma once
// The printer the program prints on, as the system's "current printer" was:
// one for the whole run, chosen in the print settings dialog and restored at
// start. Made on first use (a QApplication must exist) and never destroyed,
// since the print support plugin may be gone by the time static objects are.

class QPrinter;

namespace tessaro {

QPrinter& CurrentPrinter();

}  // namespace tessaro

#pragma once
// The current printer's settings kept between runs: its name in the
// settings file and its page and job settings (paper, orientation, margins,
// duplex, copies, colour, resolution) serialised into the print settings
// file. The print settings dialog saves them; the main window restores them
// silently when it is first shown.

#include <QStringList>
#include <string>

class QPrinter;

namespace tessaro {

struct AppPaths;

// The settings of printer as opaque bytes, and back onto a printer (false,
// changing nothing, when the bytes are not a complete record).
std::string SerializePrinterSettings(const QPrinter& printer);
bool ApplyPrinterSettings(QPrinter& printer, const std::string& settings);

// False when the print settings file could not be written.
bool SavePrinterSettings(const QPrinter& printer, const AppPaths& paths);

// Selects the stored printer when it is among availablePrinters, then
// applies its stored settings; any step that fails leaves the rest as it
// is. True when the stored printer and its settings were both taken.
bool RestorePrinterSettings(QPrinter& printer, const AppPaths& paths,
                            const QStringList& availablePrinters);
// As above with the system's printer list, and nothing is touched (no
// printer made) when no print settings file exists.
bool RestoreCurrentPrinter(const AppPaths& paths);

}  // namespace tessaro

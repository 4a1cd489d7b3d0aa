#pragma once
// The printer chosen in the print settings dialog, kept between runs: its
// name in the settings file ([Printer] Name) and its settings in the print
// settings file. The settings are opaque here (the GUI serialises them);
// the file wraps them in a header with a magic and a format version, so a
// file of an older format or of another program is never applied.

#include <optional>
#include <string>

namespace tessaro {

struct PrinterChoice {
  std::string name;      // as the system lists it; empty: no printer chosen
  std::string settings;  // opaque settings of that printer
};

// Writes the name (a failure there is ignored, as the name alone restores
// nothing) and replaces the print settings file atomically. False when the
// print settings file could not be written; the old file then stays.
bool SavePrinterChoice(const std::string& settingsFile, const std::string& printSettingsFile,
                       const PrinterChoice& choice);

struct StoredPrinterChoice {
  std::string name;                     // never empty
  std::optional<std::string> settings;  // none: empty, old or foreign file
};

// Nothing when the print settings file is missing or no name is stored;
// otherwise the name, with the settings when the file holds ours.
std::optional<StoredPrinterChoice> LoadPrinterChoice(const std::string& settingsFile,
                                                     const std::string& printSettingsFile);

// The file's bytes for the settings, and back (nothing for anything that
// is not exactly one record of the current format).
std::string EncodePrinterSettings(const std::string& settings);
std::optional<std::string> DecodePrinterSettings(const std::string& bytes);

}  // namespace tessaro

#pragma once
// tessaro-cli coef [--high-speed] [--set TAB CODE VALUE]: the recorder's
// control coefficients. Without --set it prints "serial: ...", then per tab
// a line "[ROM]", "[EEP]", "[BATT]", "[FILE1]" ... and its rows as the
// coefficient view holds them, header row first, fields joined by ";".
// --set writes one coefficient as the view's editor does: TAB is EEP, BATT
// or FILEn, CODE the tuple number, VALUE as typed in the editor (a bit
// value as shown, "81h", or in decimal); it is checked like the editor
// checks it, then "sent: <command>" and the row rebuilt from the
// recorder's reply are printed. The ROM is refused.

#include <string>
#include <vector>

#include "cli/CliCommand.h"

namespace CLI {
class App;
}

namespace tessaro {

struct CoefArguments {
  std::vector<std::string> set;  // TAB CODE VALUE
  bool highSpeed = false;        // the main window's high-speed flag: Mnp for 128-byte recorders
  std::string pdf;               // also print the tables to this PDF file
  bool shade = false;            // shade the fixed columns and the header row
  bool overwrite = false;        // replace an existing PDF file
};

void BindCoefArguments(CLI::App& command, CoefArguments& arguments);
int RunCoef(CliContext& context, const CoefArguments& arguments);

}  // namespace tessaro

#pragma once
// The measurement mode of every channel: how many channels are in use, each
// channel's mode code and the codes it accepts, read from and written to
// the recorder. The dialog and tessaro-cli share these steps.
//
//   MeasurementModes modes;
//   StepResult read = ReadMeasurementModes(line, progress, db, modes);
//   modes.channelCount = modes.ClampedCount(3);
//   modes.channels[0].mode = 12;           // one of modes.channels[0].codes
//   StepResult written = WriteMeasurementModes(line, progress, modes);

#include <map>
#include <string>
#include <vector>

#include "core/collect/StepResult.h"
#include "core/support/DefinitionDb.h"

namespace tessaro {

class LineContext;
class ProgressReporter;

// Channel slots the settings hold; a recorder reporting more gets this many.
inline constexpr int kMaxModeChannels = 32;

struct ChannelModes {
  int mode = 0;            // current mode code
  std::vector<int> codes;  // settable codes, as the recorder listed them
};

struct MeasurementModes {
  int maxChannels = 0;
  int channelCount = 1;                // 1..maxChannels
  int baseAddress = 0;                 // EEP tuple of channel 1's mode
  std::vector<ChannelModes> channels;  // maxChannels entries
  std::map<int, ModeTexts> texts;      // of every listed code
  ModeTextWidths widths;               // over all listed codes
  bool unknownCodes = false;           // a listed code has no texts

  // The requested count limited to 1..maxChannels.
  int ClampedCount(int requested) const;
  // Whether channel (1-based) exists and lists the code.
  bool Settable(int channel, int code) const;
  // The code's texts in columns ("[A ][B ][C ]"), aligned over all codes.
  std::string ListText(int code) const;
  // The same without padding ("[A][B][C]").
  std::string PlainText(int code) const;
};

// Reads the maximum and used channel counts, finds where the modes live and
// reads every channel's mode and settable codes, with the percentage on
// progress. An unknown code flashes the outdated-definitions message once.
StepResult ReadMeasurementModes(LineContext& line, ProgressReporter& progress,
                                const DefinitionDb& db, MeasurementModes& modes);

// Writes the channel count, then the modes of the channels in use. A
// refusal fails the step.
StepResult WriteMeasurementModes(LineContext& line, ProgressReporter& progress,
                                 const MeasurementModes& modes);

// What a pasted text makes of a channel's mode: the code, or the failure
// text when there is no text, it is not an integer, or the channel does not
// list it.
struct PastedMode {
  int code = 0;
  std::string failure;  // empty: code is settable
};
PastedMode ParsePastedMode(const std::string* clipboardText, const ChannelModes& channel);

}  // namespace tessaro

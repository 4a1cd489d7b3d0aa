#include "cli/ModesCommand.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <cstdio>
#include <string>

#include "cli/CliDefinitions.h"
#include "cli/StderrProgress.h"
#include "core/settings/CodeList.h"
#include "core/settings/MeasurementModes.h"
#include "core/support/Messages.h"

namespace tessaro {
namespace {

// "CH=CODE" with two decimal integers.
std::optional<std::pair<int, int>> ParseChannelMode(const std::string& text) {
  const char* const end = text.data() + text.size();
  int channel = 0, code = 0;
  const auto [equals, channelError] = std::from_chars(text.data(), end, channel);
  if (channelError != std::errc() || equals == end || *equals != '=') return std::nullopt;
  const auto [last, codeError] = std::from_chars(equals + 1, end, code);
  if (codeError != std::errc() || last != end) return std::nullopt;
  return std::make_pair(channel, code);
}

// Applies the request to what was read; the first thing that does not fit
// the recorder as text, empty when all does.
std::string Apply(const ModesArguments& arguments, MeasurementModes& modes) {
  if (arguments.channels) {
    if (*arguments.channels < 1 || *arguments.channels > modes.maxChannels)
      return "tessaro-cli: --channels must be 1.." + std::to_string(modes.maxChannels);
    modes.channelCount = *arguments.channels;
  }
  for (const auto& [channel, code] : arguments.modes) {
    if (channel < 1 || channel > modes.channelCount)
      return "tessaro-cli: channel " + std::to_string(channel) +
             " is not in use (channels: " + std::to_string(modes.channelCount) + ")";
    if (!modes.Settable(channel, code))
      return "tessaro-cli: channel " + std::to_string(channel) + " does not accept mode " +
             std::to_string(code);
    modes.channels[static_cast<size_t>(channel - 1)].mode = code;
  }
  return {};
}

void PrintModes(const MeasurementModes& modes, std::ostream& out) {
  out << "max channels: " << modes.maxChannels << "\n"
      << "channels: " << modes.channelCount << "\n";
  char number[24];
  for (size_t i = 0; i < modes.channels.size(); ++i) {
    const ChannelModes& channel = modes.channels[i];
    std::snprintf(number, sizeof number, "%.5zu", i + 1);
    out << number << "\t" << channel.mode << "\t" << modes.PlainText(channel.mode) << "\t"
        << CodeListText(channel.codes) << "\n";
  }
  out.flush();
}

}  // namespace

void BindModesArguments(CLI::App& command, ModesArguments& arguments) {
  command.add_option("--channels", arguments.channels, "channels in use, 1..max")->type_name("N");
  command
      .add_option_function<std::vector<std::string>>(
          "--set",
          [&arguments](const std::vector<std::string>& texts) {
            for (const std::string& text : texts) {
              const auto setting = ParseChannelMode(text);
              if (!setting) throw CLI::ValidationError("--set", "CH=CODE, not " + text);
              arguments.modes.push_back(*setting);
            }
          },
          "the mode code of a channel (from 1)")
      ->type_name("CH=CODE");
}

int RunModes(CliContext& context, const ModesArguments& arguments) {
  DefinitionDb db;
  if (!OpenDefinitions(db, {}, context.err)) return kExitFailed;
  StderrProgress progress(context.err);
  StderrProgress::CancelOnInterrupt();
  progress.SetCaption(LoadMessage(MsgModeReadCaption));
  MeasurementModes modes;
  const StepResult read = ReadMeasurementModes(*context.line, progress, db, modes);
  progress.Finish();
  if (!read) {
    context.err << read.message << std::endl;
    return kExitFailed;
  }
  if (arguments.channels || !arguments.modes.empty()) {
    const std::string refused = Apply(arguments, modes);
    if (!refused.empty()) {
      context.err << refused << std::endl;
      return kExitFailed;
    }
    const StepResult written = WriteMeasurementModes(*context.line, progress, modes);
    if (!written) {
      context.err << written.message << std::endl;
      return kExitFailed;
    }
  }
  PrintModes(modes, context.out);
  return kExitOk;
}

}  // namespace tessaro

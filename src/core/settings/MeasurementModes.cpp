#include "core/settings/MeasurementModes.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>

#include "core/recorder/RecorderReply.h"
#include "core/recorder/RecorderSession.h"
#include "core/recorder/TupleNumbers.h"
#include "core/settings/CodeList.h"
#include "core/support/Messages.h"

namespace tessaro {
namespace {

using tuples::kModeSeries;

// Recorders with the older numbering hold the interval right after their
// 20 mode tuples.
constexpr int kOlderModeChannels = tuples::kIntervalSeries.older - kModeSeries.older;

int ReadMaxChannels(RecorderSession& session) {
  const int64_t max =
      ReplyInteger(session.ReadTuple(Area::Rom, tuples::kRomMaxChannels, MsgMaxChannelsReadFailed));
  Require(max > 0, MsgMaxChannelsReadFailed);
  return static_cast<int>(std::min<int64_t>(max, kMaxModeChannels));
}

void ReadChannel(RecorderSession& session, const DefinitionDb& db, int channel,
                 MeasurementModes& modes) {
  ChannelModes& slot = modes.channels[static_cast<size_t>(channel - 1)];
  const std::string mode = session.AskRequired(
      Area::Eep.ReadCommand(modes.baseAddress + channel - 1), MsgModeReadFailed);
  slot.mode = ReplyCode(mode);
  slot.codes =
      ReadCodeList(session.Ask("askmode" + std::to_string(channel), MsgModeListReadFailed));
  for (const int code : slot.codes) {
    if (modes.texts.count(code)) continue;
    ModeTexts texts = db.FindModeTexts(code);
    if (texts.a.empty() && !modes.unknownCodes) {
      modes.unknownCodes = true;
      session.Progress().FlashError(LoadMessage(MsgDefinitionsOutdated));
    }
    modes.texts.emplace(code, std::move(texts));
  }
}

// A printable excerpt of a text for a message.
std::string Excerpt(const std::string& text) {
  constexpr int kShownCharacters = 32;
  std::string shown;
  int characters = 0;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    const bool starts = (byte & 0xC0) != 0x80;  // not a UTF-8 continuation byte
    if (starts && ++characters > kShownCharacters) break;
    shown += byte < 0x20 || byte == 0x7f ? '?' : c;
  }
  return shown;
}

}  // namespace

int MeasurementModes::ClampedCount(int requested) const {
  return std::clamp(requested, 1, std::max(1, maxChannels));
}

bool MeasurementModes::Settable(int channel, int code) const {
  return channel >= 1 && channel <= static_cast<int>(channels.size()) &&
         ListsCode(channels[static_cast<size_t>(channel - 1)].codes, code);
}

std::string MeasurementModes::ListText(int code) const {
  const auto found = texts.find(code);
  return ModeListText(found != texts.end() ? found->second : ModeTexts{}, widths);
}

std::string MeasurementModes::PlainText(int code) const {
  const auto found = texts.find(code);
  return ModeListText(found != texts.end() ? found->second : ModeTexts{}, {});
}

StepResult ReadMeasurementModes(LineContext& line, ProgressReporter& progress,
                                const DefinitionDb& db, MeasurementModes& modes) {
  modes = MeasurementModes{};
  RecorderSession session(line, progress);
  return RunOperation([&] {
    session.Status(MsgLineChecking);
    session.CheckLine();
    modes.maxChannels = ReadMaxChannels(session);
    const int64_t count = ReplyInteger(
        session.ReadTuple(Area::Eep, tuples::kChannelCount, MsgChannelCountReadFailed));
    const bool older = !session.ReadTuplePresent(Area::Eep, kModeSeries.newer, MsgModeReadFailed);
    modes.baseAddress = older ? kModeSeries.older : kModeSeries.newer;
    if (older) modes.maxChannels = std::min(modes.maxChannels, kOlderModeChannels);
    modes.channelCount = count <= 0 || count > modes.maxChannels ? 1 : static_cast<int>(count);

    modes.channels.resize(static_cast<size_t>(modes.maxChannels));
    for (int i = 0; i < modes.maxChannels; ++i) {
      session.Percent(i * 100 / modes.maxChannels);
      session.CheckCancel();
      ReadChannel(session, db, i + 1, modes);
    }
    std::vector<ModeTexts> listed;
    for (const auto& [code, texts] : modes.texts) listed.push_back(texts);
    modes.widths = MeasureModeTexts(listed);
    session.Percent(100);
  });
}

StepResult WriteMeasurementModes(LineContext& line, ProgressReporter& progress,
                                 const MeasurementModes& modes) {
  RecorderSession session(line, progress);
  return RunOperation([&] {
    session.AskRequired(
        Area::Eep.WriteCommand(tuples::kChannelCount, std::to_string(modes.channelCount)),
        MsgChannelCountWriteFailed);
    for (int i = 0; i < modes.channelCount && i < static_cast<int>(modes.channels.size()); ++i) {
      session.AskRequired(
          Area::Eep.WriteCommand(modes.baseAddress + i,
                                 std::to_string(modes.channels[static_cast<size_t>(i)].mode)),
          MsgModeWriteFailed);
    }
  });
}

PastedMode ParsePastedMode(const std::string* clipboardText, const ChannelModes& channel) {
  if (clipboardText == nullptr) return {0, LoadMessage(MsgClipboardNotPastable)};
  std::string text = *clipboardText;
  auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
  text.erase(text.begin(), std::find_if_not(text.begin(), text.end(), blank));
  text.erase(std::find_if_not(text.rbegin(), text.rend(), blank).base(), text.end());
  int code = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), code);
  if (text.empty() || error != std::errc() || end != text.data() + text.size())
    return {0, FormatMessage(MsgNotAnInteger, Excerpt(*clipboardText).c_str())};
  if (code == 0 || !ListsCode(channel.codes, code))
    return {0, LoadMessage(MsgClipboardNoSettableMode)};
  return {code, {}};
}

}  // namespace tessaro

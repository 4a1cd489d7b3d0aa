#pragma once
// Recorder profiles in INI files. A file starts from DefaultProfile() and
// overrides what it names:
//   [Recorder]  Description, Version, Model, SubModel, RomVersion, Serial,
//               Date (text | none), Capability (number | none),
//               RingCountTuple, DataAreaSizeTuple (yes | no), MaxChannels,
//               DataAreaSize, DataStart, Numbering (new | old), FileStride,
//               Clock (YYMMDDhhmmss), UserMemos (texts joined by "|")
//   [Settings]  Channels, Modes (list), Interval, PreTimer, Sampling
//               (number | none), ModeList, ModeList<n> (channel n), IntervalList,
//               PreTimerList, SamplingList (code list | none)
//   [Rings]     Count, StartStep (seconds between ring starts, default one
//               week back), and defaults for every ring:
//   [Ring<n>]   Modes, Intervals, Decimals, DataTypes, Bytes (lists; one
//               value applies to every channel), Records, Start, Memos
//               (joined by "|"), HasMemos, Has805 (yes | no), BatteryLow
//               (record index | none)
// Lists are comma-separated numbers.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "sim/RecorderProfile.h"

namespace tessaro::sim {

std::optional<RecorderProfile> ParseProfile(const std::string& iniText, const std::string& name,
                                            std::string& error);

// A path (containing "/" or ending ".ini"), or a name looked up as
// NAME.ini in ProfileDirectories(); "default" without a file is the
// built-in recorder.
std::optional<RecorderProfile> LoadProfile(const std::string& nameOrPath, std::string& error);

// The folder "sim" beside the executable, the installed share/tessaro/sim,
// then the source tree's data/sim.
std::vector<std::string> ProfileDirectories();

// Name and description of every profile found, "default" first.
std::vector<std::pair<std::string, std::string>> ListProfiles();

// Bytes per record a channel of this mode and data type takes by default.
int NaturalBytes(int mode, int dataType);

}  // namespace tessaro::sim

#include "sim/ProfileLoader.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "core/support/IniFile.h"
#include "sim/SimCalendar.h"

namespace tessaro::sim {

namespace {

namespace fs = std::filesystem;

// Reading errors travel as exceptions inside this file only.
struct ProfileError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class Reader {
 public:
  explicit Reader(const IniFile& ini) : ini_(ini) {}

  std::optional<std::string> Text(const std::string& section, const std::string& key) const {
    return ini_.Find(section, key);
  }

  bool IsNone(const std::string& section, const std::string& key) const {
    const auto value = Text(section, key);
    return value && Lower(*value) == "none";
  }

  std::optional<int64_t> Number(const std::string& section, const std::string& key) const {
    const auto value = Text(section, key);
    if (!value) return std::nullopt;
    return ParseNumber(*value, section, key);
  }

  std::optional<bool> Flag(const std::string& section, const std::string& key) const {
    const auto value = Text(section, key);
    if (!value) return std::nullopt;
    const std::string v = Lower(*value);
    if (v == "yes" || v == "true" || v == "1") return true;
    if (v == "no" || v == "false" || v == "0") return false;
    throw ProfileError(section + "/" + key + ": expected yes or no, got \"" + *value + "\"");
  }

  std::optional<std::vector<int>> List(const std::string& section, const std::string& key) const {
    const auto value = Text(section, key);
    if (!value) return std::nullopt;
    std::vector<int> list;
    std::stringstream stream(*value);
    std::string item;
    while (std::getline(stream, item, ',')) {
      list.push_back(static_cast<int>(ParseNumber(item, section, key)));
    }
    if (list.empty()) throw ProfileError(section + "/" + key + ": empty list");
    return list;
  }

  std::optional<std::vector<std::string>> Texts(const std::string& section,
                                                const std::string& key) const {
    const auto value = Text(section, key);
    if (!value) return std::nullopt;
    std::vector<std::string> texts;
    if (Lower(*value) == "none" || value->empty()) return texts;
    std::stringstream stream(*value);
    std::string item;
    while (std::getline(stream, item, '|')) texts.push_back(item);
    return texts;
  }

  // "none" empties the setting; a value replaces it; no key keeps it.
  void OptionalNumber(const std::string& section, const std::string& key,
                      std::optional<int>& out) const {
    if (IsNone(section, key)) {
      out.reset();
    } else if (auto v = Number(section, key)) {
      out = static_cast<int>(*v);
    }
  }
  void OptionalText(const std::string& section, const std::string& key,
                    std::optional<std::string>& out) const {
    if (IsNone(section, key)) {
      out.reset();
    } else if (auto v = Text(section, key)) {
      out = *v;
    }
  }

  std::optional<DateTimeFields> Time(const std::string& section, const std::string& key) const {
    const auto value = Text(section, key);
    if (!value) return std::nullopt;
    const auto fields = ParseClockDigits(*value);
    if (!fields)
      throw ProfileError(section + "/" + key + ": expected YYMMDDhhmmss, got \"" + *value + "\"");
    return fields;
  }

 private:
  static std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
  }

  static int64_t ParseNumber(const std::string& text, const std::string& section,
                             const std::string& key) {
    size_t used = 0;
    int64_t value = 0;
    const size_t first = text.find_first_not_of(" \t");
    const size_t last = text.find_last_not_of(" \t");
    const std::string trimmed =
        first == std::string::npos ? "" : text.substr(first, last - first + 1);
    try {
      value = std::stoll(trimmed, &used);
    } catch (const std::exception&) {
      used = 0;
    }
    if (trimmed.empty() || used != trimmed.size()) {
      throw ProfileError(section + "/" + key + ": \"" + text + "\" is not a number");
    }
    return value;
  }

  const IniFile& ini_;
};

// One list value per channel: a single value applies to all.
int PerChannel(const std::vector<int>& list, size_t channel) {
  return list.size() == 1 ? list[0] : list[std::min(channel, list.size() - 1)];
}

void ReadRing(const Reader& in, const std::string& section, RingProfile& ring) {
  const auto modes = in.List(section, "Modes");
  const auto intervals = in.List(section, "Intervals");
  const auto decimals = in.List(section, "Decimals");
  const auto types = in.List(section, "DataTypes");
  const auto bytes = in.List(section, "Bytes");
  if (modes) {
    ring.channels.assign(modes->size(), ChannelProfile{});
    for (size_t c = 0; c < modes->size(); ++c) ring.channels[c].mode = (*modes)[c];
  }
  for (size_t c = 0; c < ring.channels.size(); ++c) {
    ChannelProfile& ch = ring.channels[c];
    if (intervals) ch.interval = PerChannel(*intervals, c);
    if (decimals) ch.decimals = PerChannel(*decimals, c);
    if (types) {
      ch.dataType = PerChannel(*types, c);
    } else if (modes) {
      ch.dataType = ch.mode == 138 ? 6 : ch.mode == 159 ? 150 : 1;
    }
    if (bytes) {
      ch.bytes = PerChannel(*bytes, c);
    } else if (modes || types) {
      ch.bytes = NaturalBytes(ch.mode, ch.dataType);
    }
  }
  if (auto records = in.Number(section, "Records")) ring.records = *records;
  if (auto start = in.Time(section, "Start")) ring.start = *start;
  if (auto memos = in.Texts(section, "Memos")) ring.memos = *memos;
  if (auto flag = in.Flag(section, "HasMemos")) ring.hasMemos = *flag;
  if (auto flag = in.Flag(section, "Has805")) ring.has805 = *flag;
  if (in.IsNone(section, "BatteryLow")) {
    ring.batteryLowRecord.reset();
  } else if (auto low = in.Number(section, "BatteryLow")) {
    ring.batteryLowRecord = *low;
  }
}

void ReadRecorder(const Reader& in, RecorderProfile& p) {
  const std::string s = "Recorder";
  if (auto v = in.Text(s, "Description")) p.description = *v;
  if (auto v = in.Text(s, "Version")) p.version = *v;
  if (auto v = in.Number(s, "Model")) p.model = static_cast<int>(*v);
  if (auto v = in.Number(s, "SubModel")) p.subModel = static_cast<int>(*v);
  if (auto v = in.Number(s, "RomVersion")) p.romVersion = static_cast<int>(*v);
  if (auto v = in.Text(s, "Serial")) p.serial = *v;
  in.OptionalText(s, "Date", p.dateText);
  in.OptionalNumber(s, "Capability", p.capability);
  if (auto v = in.Flag(s, "RingCountTuple")) p.ringCountTuple = *v;
  if (auto v = in.Flag(s, "DataAreaSizeTuple")) p.dataAreaSizeTuple = *v;
  if (auto v = in.Number(s, "MaxChannels")) p.maxChannels = static_cast<int>(*v);
  if (auto v = in.Number(s, "DataAreaSize")) p.dataAreaSize = *v;
  if (auto v = in.Number(s, "DataStart")) p.dataStart = *v;
  if (auto v = in.Text(s, "Numbering")) {
    if (*v != "old" && *v != "new") throw ProfileError("Recorder/Numbering: expected old or new");
    p.oldNumbering = *v == "old";
  }
  if (auto v = in.Number(s, "FileStride")) p.fileStride = static_cast<int>(*v);
  if (auto v = in.Time(s, "Clock")) p.clock = *v;
  if (auto v = in.Texts(s, "UserMemos")) p.userMemos = *v;
}

void ReadSettings(const Reader& in, RecorderProfile& p) {
  const std::string s = "Settings";
  if (auto v = in.Number(s, "Channels")) p.channelCount = static_cast<int>(*v);
  if (auto v = in.List(s, "Modes")) p.modes = *v;
  if (auto v = in.Number(s, "Interval")) p.interval = static_cast<int>(*v);
  in.OptionalNumber(s, "PreTimer", p.preTimer);
  in.OptionalNumber(s, "Sampling", p.sampling);
  if (auto v = in.Text(s, "ModeList")) p.modeList = *v;
  for (int c = 1; c <= 32; ++c) {
    if (auto v = in.Text(s, "ModeList" + std::to_string(c))) {
      if (p.channelModeLists.size() < static_cast<size_t>(c))
        p.channelModeLists.resize(static_cast<size_t>(c));
      p.channelModeLists[static_cast<size_t>(c - 1)] = *v;
    }
  }
  if (auto v = in.Text(s, "IntervalList")) p.intervalList = *v;
  in.OptionalText(s, "PreTimerList", p.preTimerList);
  in.OptionalText(s, "SamplingList", p.samplingList);
}

void ReadRings(const Reader& in, const IniFile& ini, RecorderProfile& p) {
  const auto count = in.Number("Rings", "Count");
  if (!count) {
    for (size_t r = 0; r < p.rings.size(); ++r) {
      const std::string section = "Ring" + std::to_string(r);
      if (ini.HasSection(section)) ReadRing(in, section, p.rings[r]);
    }
    return;
  }
  if (*count < 0 || *count > 100) throw ProfileError("Rings/Count: must be 0..100");
  RingProfile base = p.rings.empty() ? RingProfile{} : p.rings.front();
  base.memos.clear();
  ReadRing(in, "Rings", base);
  const int64_t step = in.Number("Rings", "StartStep").value_or(-7 * 86400);
  p.rings.clear();
  for (int64_t r = 0; r < *count; ++r) {
    RingProfile ring = base;
    ring.start = FieldsFromSeconds(CalendarSeconds(base.start) + step * r);
    const std::string section = "Ring" + std::to_string(r);
    if (ini.HasSection(section)) ReadRing(in, section, ring);
    p.rings.push_back(std::move(ring));
  }
}

std::string ExecutableDirectory() {
  std::error_code error;
  const fs::path exe = fs::read_symlink("/proc/self/exe", error);
  return error ? std::string() : exe.parent_path().string();
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace

int NaturalBytes(int mode, int dataType) {
  if (mode == 138 || dataType == 6) return 6;
  if (mode == 602 || mode == 606) return 5;
  if (dataType == 2 || dataType == 23) return 4;
  return 2;
}

std::optional<RecorderProfile> ParseProfile(const std::string& iniText, const std::string& name,
                                            std::string& error) {
  IniFile ini;
  ini.SetText(iniText);
  const Reader in(ini);
  RecorderProfile profile = DefaultProfile();
  profile.name = name;
  try {
    ReadRecorder(in, profile);
    ReadSettings(in, profile);
    ReadRings(in, ini, profile);
  } catch (const ProfileError& e) {
    error = name + ": " + e.what();
    return std::nullopt;
  }
  const std::string problem = CheckProfile(profile);
  if (!problem.empty()) {
    error = name + ": " + problem;
    return std::nullopt;
  }
  return profile;
}

std::vector<std::string> ProfileDirectories() {
  std::vector<std::string> dirs;
  const std::string exeDir = ExecutableDirectory();
  if (!exeDir.empty()) {
    dirs.push_back(exeDir + "/sim");
    dirs.push_back(exeDir + "/../share/tessaro/sim");
  }
#ifdef TESSARO_SIM_PROFILE_DIR
  dirs.push_back(TESSARO_SIM_PROFILE_DIR);
#endif
  return dirs;
}

std::optional<RecorderProfile> LoadProfile(const std::string& nameOrPath, std::string& error) {
  const bool isPath = nameOrPath.find('/') != std::string::npos ||
                      (nameOrPath.size() > 4 && nameOrPath.substr(nameOrPath.size() - 4) == ".ini");
  std::string path;
  if (isPath) {
    path = nameOrPath;
  } else {
    for (const std::string& dir : ProfileDirectories()) {
      const std::string candidate = dir + "/" + nameOrPath + ".ini";
      if (fs::exists(candidate)) {
        path = candidate;
        break;
      }
    }
    if (path.empty()) {
      if (nameOrPath == "default") return DefaultProfile();
      error = "no profile named \"" + nameOrPath + "\" (try --list-profiles)";
      return std::nullopt;
    }
  }
  const auto text = ReadWholeFile(path);
  if (!text) {
    error = path + ": cannot be read";
    return std::nullopt;
  }
  return ParseProfile(*text, fs::path(path).stem().string(), error);
}

std::vector<std::pair<std::string, std::string>> ListProfiles() {
  std::vector<std::pair<std::string, std::string>> list{{"default", DefaultProfile().description}};
  for (const std::string& dir : ProfileDirectories()) {
    std::error_code error;
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(dir, error)) {
      if (entry.path().extension() == ".ini") files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
      const std::string name = file.stem().string();
      if (std::any_of(list.begin(), list.end(),
                      [&](const auto& item) { return item.first == name; }))
        continue;
      std::string problem;
      const auto profile = LoadProfile(file.string(), problem);
      list.emplace_back(name, profile ? profile->description : "(unreadable: " + problem + ")");
    }
  }
  return list;
}

}  // namespace tessaro::sim

#include "sim/Recorder.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "core/firmware/SRecord.h"
#include "sim/RecordGenerator.h"
#include "sim/SimCalendar.h"

namespace tessaro::sim {

namespace {

// ROM
constexpr int kRomModel = 100;
constexpr int kRomSubModel = 101;
constexpr int kRomVersion = 102;
constexpr int kRomAttributeSize = 106;
constexpr int kRomDataAreaSize = 107;
constexpr int kRomRingCount = 108;
constexpr int kRomMaxChannels = 109;
constexpr int kRomFileStride = 115;
constexpr int kRomCapability = 120;
// EEP
constexpr int kEepChannelCount = 202;
constexpr int kEepSerial = 210;
constexpr int kEepDate = 211;
constexpr int kEepSampling = 234;
constexpr int kEepPreTimer = 280;
// BATT
constexpr int kBattMemo = 620;
constexpr int kBattFilePointer = 640;
// FILE group
constexpr int kFileChannelCount = 202;
constexpr int kFileMemo = 620;
constexpr int kFileStart = 800;
constexpr int kFileStop = 801;
constexpr int kFileDataCount = 802;
constexpr int kFileBatteryLow = 805;
constexpr int kFileByteCount = 806;
constexpr int kFileStartPointer = 880;
constexpr int kFileStopPointer = 881;

constexpr size_t kCommandLogLimit = 10000;
constexpr int64_t kMaxRingTransfer = 256 << 20;

struct SeriesBases {
  int mode, interval, decimals, dataType, bytes;
};

SeriesBases Bases(bool old) {
  return old ? SeriesBases{240, 260, 820, 840, 860} : SeriesBases{2000, 3000, 2100, 2200, 2300};
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// A whole decimal argument (optional minus sign); nullopt for anything else.
std::optional<int> ParseNumber(std::string_view text) {
  bool negative = false;
  if (!text.empty() && text.front() == '-') {
    negative = true;
    text.remove_prefix(1);
  }
  if (text.empty() || text.size() > 9) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return negative ? -value : value;
}

// Splits "a,b" at the first comma.
bool SplitComma(std::string_view text, std::string_view& head, std::string_view& rest) {
  const size_t comma = text.find(',');
  if (comma == std::string_view::npos) return false;
  head = text.substr(0, comma);
  rest = text.substr(comma + 1);
  return true;
}

DateTimeFields LocalNow() {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

constexpr const char* kUnknownCommand = "??CMD";
constexpr const char* kAbsent = "??";
constexpr const char* kNoEntry = "??CODE";
constexpr const char* kAccepted = "!!";

}  // namespace

Recorder::Recorder(const RecorderProfile& profile, int slaveId)
    : profile_(profile), slaveId_(slaveId) {
  BuildGroups();
  BuildMemory();
  BuildBatt();
  BuildEep();
  BuildRom();
  clockBase_ = CalendarSeconds(profile_.clock.value_or(LocalNow()));
  clockSet_ = std::chrono::steady_clock::now();
}

void Recorder::AddRecords(int ring, int64_t count) {
  std::lock_guard lock(mutex_);
  profile_.rings.at(static_cast<size_t>(ring)).records += count;
  groups_.clear();
  groupOffsets_.clear();
  batt_ = TupleArea();
  rom_ = TupleArea();
  BuildGroups();
  BuildMemory();
  BuildBatt();
  BuildRom();
}

std::string Recorder::Serial() const {
  if (slaveId_ <= 0) return profile_.serial;
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, "#%03d", slaveId_ % 1000);
  return profile_.serial.substr(0, 12) + suffix;
}

void Recorder::BuildGroups() {
  const SeriesBases bases = Bases(profile_.oldNumbering);
  for (const RingProfile& ring : profile_.rings) {
    TupleArea group;
    const int channels = static_cast<int>(ring.channels.size());
    group.Put(MakeIntTuple(kFileChannelCount, kTypeInt16, channels));
    for (int c = 0; c < channels; ++c) {
      const ChannelProfile& ch = ring.channels[static_cast<size_t>(c)];
      group.Put(MakeIntTuple(static_cast<uint16_t>(bases.mode + c), kTypeInt16, ch.mode));
      group.Put(MakeIntTuple(static_cast<uint16_t>(bases.interval + c), kTypeInt16, ch.interval));
      group.Put(MakeIntTuple(static_cast<uint16_t>(bases.decimals + c), kTypeInt16, ch.decimals));
      group.Put(MakeIntTuple(static_cast<uint16_t>(bases.dataType + c), kTypeInt16, ch.dataType));
      group.Put(MakeIntTuple(static_cast<uint16_t>(bases.bytes + c), kTypeInt16, ch.bytes));
    }
    if (ring.hasMemos) {
      for (int k = 0; k < 8; ++k) {
        const std::string memo =
            k < static_cast<int>(ring.memos.size()) ? ring.memos[static_cast<size_t>(k)] : "";
        group.Put(MakeTextTuple(static_cast<uint16_t>(kFileMemo + k), kTypeMemo16, memo));
      }
    }
    const int64_t records = ring.records;
    group.Put(MakeDateTimeTuple(kFileStart, ring.start));
    group.Put(MakeDateTimeTuple(kFileStop, RecordTime(ring, records > 0 ? records - 1 : 0)));
    // The recorder counts records from 0: 802 is the last record's index.
    group.Put(MakeIntTuple(kFileDataCount, kTypeInt32, records > 0 ? records - 1 : 0));
    if (ring.has805) {
      if (ring.batteryLowRecord) {
        group.Put(MakeDateTimeTuple(kFileBatteryLow, RecordTime(ring, *ring.batteryLowRecord)));
      } else {
        group.Put(MakeRawDateTimeTuple(kFileBatteryLow, std::vector<uint8_t>(6, 0)));
      }
    }
    group.Put(MakeIntTuple(kFileByteCount, kTypeInt32, records * ring.RecordSize()));
    group.Put(MakeIntTuple(kFileStartPointer, kTypeInt32, 0));
    group.Put(MakeIntTuple(kFileStopPointer, kTypeInt32, 0));
    groups_.push_back(std::move(group));
  }
}

void Recorder::BuildMemory() {
  const int64_t size = profile_.dataAreaSize;
  memory_.assign(static_cast<size_t>(size), 0xFF);
  // Oldest ring first; the newest data overwrites the oldest when the area
  // fills, as a ring buffer does.
  int64_t position = profile_.dataStart;
  for (int r = RingCount() - 1; r >= 0; --r) {
    const RingProfile& ring = profile_.rings[static_cast<size_t>(r)];
    groups_[static_cast<size_t>(r)].Put(
        MakeIntTuple(kFileStartPointer, kTypeInt32, position % size));
    for (int64_t e = 0; e < ring.records; ++e) {
      for (uint8_t byte : GenerateRecord(ring, r, e)) {
        memory_[static_cast<size_t>(position % size)] = byte;
        ++position;
      }
    }
    groups_[static_cast<size_t>(r)].Put(
        MakeIntTuple(kFileStopPointer, kTypeInt32, position % size));
  }
}

void Recorder::BuildBatt() {
  for (size_t k = 0; k < profile_.userMemos.size(); ++k) {
    batt_.Put(
        MakeTextTuple(static_cast<uint16_t>(kBattMemo + k), kTypeMemo16, profile_.userMemos[k]));
  }
  for (int r = 0; r < RingCount(); ++r) {
    batt_.Put(MakeIntTuple(static_cast<uint16_t>(kBattFilePointer + r), kTypeInt32, 0));
  }
  size_t stride = static_cast<size_t>(profile_.fileStride);
  if (stride > 0) {
    for (const TupleArea& group : groups_) stride = std::max(stride, group.EncodedSize());
  }
  size_t offset = batt_.EncodedSize();
  for (int r = 0; r < RingCount(); ++r) {
    groupOffsets_.push_back(offset);
    batt_.Put(MakeIntTuple(static_cast<uint16_t>(kBattFilePointer + r), kTypeInt32,
                           static_cast<int64_t>(offset)));
    offset += stride > 0 ? stride : groups_[static_cast<size_t>(r)].EncodedSize();
  }
  battSize_ = offset;
  if (stride > 0) profile_.fileStride = static_cast<int>(stride);
}

void Recorder::BuildEep() {
  const SeriesBases bases = Bases(profile_.oldNumbering);
  eep_.Put(MakeIntTuple(kEepChannelCount, kTypeInt16, profile_.channelCount));
  for (int i = 0; i < profile_.maxChannels; ++i) {
    const int mode = profile_.modes.empty() ? 1
                     : i < static_cast<int>(profile_.modes.size())
                         ? profile_.modes[static_cast<size_t>(i)]
                         : profile_.modes.back();
    eep_.Put(MakeIntTuple(static_cast<uint16_t>(bases.mode + i), kTypeInt16, mode));
  }
  eep_.Put(MakeTextTuple(kEepSerial, kTypeMemo16, Serial()));
  if (profile_.dateText) eep_.Put(MakeTextTuple(kEepDate, kTypeMemo16, *profile_.dateText));
  if (profile_.sampling) eep_.Put(MakeIntTuple(kEepSampling, kTypeInt16, *profile_.sampling));
  eep_.Put(MakeIntTuple(static_cast<uint16_t>(bases.interval), kTypeInt16, profile_.interval));
  if (profile_.preTimer) eep_.Put(MakeIntTuple(kEepPreTimer, kTypeInt16, *profile_.preTimer));
  // Coefficients of every value type, for the coefficient view.
  eep_.Put(MakeIntTuple(400, kTypeChar, -1));
  eep_.Put(MakeIntTuple(401, kTypeSInt16, -1234));
  eep_.Put(MakeIntTuple(402, kTypeUInt16, 65535));
  eep_.Put(MakeIntTuple(403, kTypeInt32, 123456789));
  eep_.Put(MakeRealTuple(404, kTypeReal, 1.5));
  eep_.Put(MakeRealTuple(405, kTypeDouble, -2.25e-3));
  eep_.Put(MakeTextTuple(406, kTypeMemo, "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345"));
  eep_.Put(MakeDateTimeTuple(407, {2026, 12, 8, 10, 23, 45}));
  eep_.Put(MakeIntTuple(408, kTypeBit8, 0x81));
  eep_.Put(MakeIntTuple(409, kTypeBit16, 0x00A5));
  eep_.Put(MakeIntTuple(410, kTypeBit32, 0x80000001LL));
  eep_.Put(MakeTextTuple(411, kTypeMemo16, "CALIBRATED"));
}

void Recorder::BuildRom() {
  rom_.Put(MakeIntTuple(kRomModel, kTypeInt16, profile_.model));
  rom_.Put(MakeIntTuple(kRomSubModel, kTypeInt16, profile_.subModel));
  rom_.Put(MakeIntTuple(kRomVersion, kTypeInt16, profile_.romVersion));
  rom_.Put(MakeIntTuple(kRomAttributeSize, kTypeInt32, static_cast<int64_t>(battSize_)));
  if (profile_.dataAreaSizeTuple) {
    rom_.Put(MakeIntTuple(kRomDataAreaSize, kTypeInt32, profile_.dataAreaSize));
  }
  if (profile_.ringCountTuple) rom_.Put(MakeIntTuple(kRomRingCount, kTypeInt16, RingCount()));
  rom_.Put(MakeIntTuple(kRomMaxChannels, kTypeInt16, profile_.maxChannels));
  if (profile_.fileStride > 0)
    rom_.Put(MakeIntTuple(kRomFileStride, kTypeInt32, profile_.fileStride));
  if (profile_.capability) rom_.Put(MakeIntTuple(kRomCapability, kTypeBit16, *profile_.capability));
}

SimReply Recorder::Execute(std::string_view command) {
  std::lock_guard lock(mutex_);
  if (commands_.size() >= kCommandLogLimit) commands_.erase(commands_.begin());
  commands_.emplace_back(command);
  return Dispatch(command);
}

SimReply Recorder::Dispatch(std::string_view command) {
  SimReply reply;
  auto text = [&](std::string s) {
    reply.text = std::move(s);
    return reply;
  };
  if (firmware_ == FirmwareState::Writing && (command.empty() || command.front() == 'S')) {
    return text(Firmware(command));
  }
  if (command.empty()) return text(kUnknownCommand);
  if (command == "ver") return text(profile_.version);
  if (command == "rtcr") return text(ClockDigits(FieldsFromSeconds(ClockSeconds())));
  if (StartsWith(command, "rtcw")) {
    const auto fields = ParseClockDigits(command.substr(4));
    if (!fields) return text(kAbsent);
    clockBase_ = CalendarSeconds(*fields);
    clockSet_ = std::chrono::steady_clock::now();
    return text(std::string(command.substr(4)));
  }
  if (StartsWith(command, "romr")) return text(ReadTuple(&rom_, command.substr(4), kAbsent));
  if (StartsWith(command, "eepr")) return text(ReadTuple(&eep_, command.substr(4), kAbsent));
  if (StartsWith(command, "eepw")) return text(WriteTuple(&eep_, command.substr(4)));
  if (StartsWith(command, "battr")) return text(ReadTuple(&batt_, command.substr(5), kNoEntry));
  if (StartsWith(command, "battw")) return text(WriteTuple(&batt_, command.substr(5)));
  if (StartsWith(command, "filer") || StartsWith(command, "filew")) {
    std::string_view rest;
    TupleArea* group = Group(command.substr(5), rest);
    if (group == nullptr) {
      return text(ParseNumber(command.substr(5, command.find(',') - 5)) ? kNoEntry
                                                                        : kUnknownCommand);
    }
    return text(command[4] == 'r' ? ReadTuple(group, rest, kAbsent) : WriteTuple(group, rest));
  }
  if (StartsWith(command, "askmode")) {
    const auto channel = ParseNumber(command.substr(7));
    if (!channel) return text(kUnknownCommand);
    if (*channel < 1 || *channel > profile_.maxChannels) return text(kAbsent);
    const size_t index = static_cast<size_t>(*channel - 1);
    if (index < profile_.channelModeLists.size() && !profile_.channelModeLists[index].empty()) {
      return text(profile_.channelModeLists[index]);
    }
    return text(profile_.modeList);
  }
  if (command == "askivl") return text(profile_.intervalList);
  if (command == "askprs") return text(profile_.preTimerList.value_or(kAbsent));
  if (command == "asksr") return text(profile_.samplingList.value_or(kAbsent));
  if (auto transfer = Transfer(command)) return *transfer;
  if (command == "selectrome" || command == "eromoff" || command == "eromon" ||
      command.front() == 'S') {
    return text(Firmware(command));
  }
  return text(kUnknownCommand);
}

TupleArea* Recorder::Group(std::string_view args, std::string_view& rest) {
  std::string_view ringText;
  if (!SplitComma(args, ringText, rest)) return nullptr;
  const auto ring = ParseNumber(ringText);
  if (!ring || *ring < 1 || *ring > RingCount()) return nullptr;
  return &groups_[static_cast<size_t>(*ring - 1)];
}

std::string Recorder::ReadTuple(const TupleArea* area, std::string_view arg,
                                const char* absent) const {
  const auto number = ParseNumber(arg);
  if (!number) return kUnknownCommand;
  const SimTuple* tuple = area->Find(*number);
  return tuple != nullptr ? TupleValueText(*tuple) : absent;
}

std::string Recorder::WriteTuple(TupleArea* area, std::string_view args) {
  std::string_view numberText;
  std::string_view value;
  if (!SplitComma(args, numberText, value)) return kUnknownCommand;
  const auto number = ParseNumber(numberText);
  if (!number) return kUnknownCommand;
  SimTuple* tuple = area->Find(*number);
  if (tuple == nullptr) return kNoEntry;
  if (!SetTupleValueFromText(*tuple, value)) return kAbsent;
  return TupleValueText(*tuple);
}

std::optional<SimReply> Recorder::Transfer(std::string_view command) {
  SimReply reply;
  std::string_view what;
  if (StartsWith(command, "xdm1k")) {
    reply.mode = TransferMode::Xdm1k;
    what = command.substr(5);
  } else if (StartsWith(command, "mnp")) {
    reply.mode = TransferMode::Mnp;
    what = command.substr(3);
  } else if (StartsWith(command, "xdm")) {
    reply.mode = TransferMode::Xdm;
    what = command.substr(3);
  } else {
    return std::nullopt;
  }
  // Without capability bit 4 the recorder has no 1024-byte transfer.
  if (reply.mode == TransferMode::Xdm1k && (profile_.capability.value_or(0) & 4) == 0) {
    reply.text = kUnknownCommand;
    return reply;
  }
  if (what == "rr") {
    reply.data = rom_.Encode();
  } else if (what == "ee") {
    reply.data = eep_.Encode();
  } else if (what == "bb") {
    reply.data = BattImage();
  } else if (StartsWith(what, "dd")) {
    const auto ring = ParseNumber(what.substr(2));
    if (!ring) {
      reply.text = kUnknownCommand;
      return reply;
    }
    if (*ring < 1 || *ring > RingCount()) {
      reply.text = kNoEntry;
      return reply;
    }
    reply.data = RingBytesLocked(*ring - 1);
  } else {
    reply.text = kUnknownCommand;
    return reply;
  }
  reply.text = kAccepted;
  reply.transfer = true;
  return reply;
}

std::string Recorder::Firmware(std::string_view command) {
  if (command == "selectrome") {
    firmware_ = FirmwareState::Selected;
    return kAccepted;
  }
  if (command == "eromoff") {
    if (firmware_ == FirmwareState::Idle) return kAbsent;
    firmware_ = FirmwareState::Writing;
    firmwareLines_ = 0;
    firmwareConfirmed_ = false;
    firmwareImage_.clear();
    return kAccepted;
  }
  if (command == "eromon") {
    if (firmware_ != FirmwareState::Writing) return kAbsent;
    firmware_ = FirmwareState::Idle;
    firmwareConfirmed_ = true;
    return kAccepted;
  }
  if (firmware_ != FirmwareState::Writing) return kAbsent;
  if (command.empty()) {  // a blank line of the file carries nothing
    ++firmwareLines_;
    return kAccepted;
  }
  // The loader overlooks trailing blanks.
  std::string_view line = command;
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
    line.remove_suffix(1);
  const auto record = ParseSRecord(line);
  if (!record) return kAbsent;
  if (record->type >= 1 && record->type <= 3) {
    for (size_t i = 0; i < record->data.size(); ++i) {
      firmwareImage_[record->address + static_cast<uint32_t>(i)] = record->data[i];
    }
  }
  ++firmwareLines_;
  return kAccepted;
}

std::vector<uint8_t> Recorder::BattImage() const {
  std::vector<uint8_t> image;
  image.reserve(battSize_);
  batt_.EncodeTo(image);
  for (size_t r = 0; r < groups_.size(); ++r) {
    image.resize(groupOffsets_[r], 0);
    groups_[r].EncodeTo(image);
  }
  image.resize(battSize_, 0);
  return image;
}

std::vector<uint8_t> Recorder::RingBytesLocked(int ring) const {
  const TupleArea& group = groups_[static_cast<size_t>(ring)];
  const SimTuple* count = group.Find(kFileByteCount);
  const SimTuple* start = group.Find(kFileStartPointer);
  const int64_t bytes = std::clamp<int64_t>(count ? TupleIntValue(*count) : 0, 0, kMaxRingTransfer);
  const int64_t size = static_cast<int64_t>(memory_.size());
  int64_t position = start ? TupleIntValue(*start) % size : 0;
  if (position < 0) position += size;
  std::vector<uint8_t> data(static_cast<size_t>(bytes));
  for (auto& byte : data) {
    byte = memory_[static_cast<size_t>(position)];
    if (++position == size) position = 0;
  }
  return data;
}

const TupleArea* Recorder::Area(SimArea area) const {
  switch (area) {
    case SimArea::Rom:
      return &rom_;
    case SimArea::Eep:
      return &eep_;
    default:
      return &batt_;
  }
}

std::vector<uint8_t> Recorder::AreaImage(SimArea area) const {
  std::lock_guard lock(mutex_);
  return area == SimArea::Batt ? BattImage() : Area(area)->Encode();
}

std::vector<uint8_t> Recorder::RingBytes(int ring) const {
  std::lock_guard lock(mutex_);
  if (ring < 0 || ring >= RingCount()) return {};
  return RingBytesLocked(ring);
}

RecorderImages Recorder::Images() const {
  std::lock_guard lock(mutex_);
  RecorderImages images{rom_.Encode(), eep_.Encode(), BattImage(), {}};
  for (int r = 0; r < RingCount(); ++r) images.rings.push_back(RingBytesLocked(r));
  return images;
}

int64_t Recorder::RecordCount(int ring) const {
  std::lock_guard lock(mutex_);
  if (ring < 0 || ring >= RingCount()) return 0;
  const TupleArea& group = groups_[static_cast<size_t>(ring)];
  const int64_t count = TupleIntValue(*group.Find(kFileDataCount));
  return count + (TupleIntValue(*group.Find(kFileByteCount)) > 0 ? 1 : 0);
}

int Recorder::RecordSize(int ring) const {
  if (ring < 0 || ring >= RingCount()) return 0;
  return profile_.rings[static_cast<size_t>(ring)].RecordSize();
}

std::vector<uint8_t> Recorder::GeneratedRecord(int ring, int64_t record) const {
  if (ring < 0 || ring >= RingCount()) return {};
  return GenerateRecord(profile_.rings[static_cast<size_t>(ring)], ring, record);
}

int64_t Recorder::OverwriteIndex(int ring) const {
  std::lock_guard lock(mutex_);
  if (ring < 0 || ring >= RingCount()) return -1;
  const int64_t bytes = TupleIntValue(*groups_[static_cast<size_t>(ring)].Find(kFileByteCount));
  const int size = profile_.rings[static_cast<size_t>(ring)].RecordSize();
  if (bytes <= profile_.dataAreaSize || size <= 0) return -1;
  return (bytes - profile_.dataAreaSize) / size;
}

int64_t Recorder::BatteryLowIndex(int ring) const {
  if (ring < 0 || ring >= RingCount()) return -1;
  const RingProfile& p = profile_.rings[static_cast<size_t>(ring)];
  return p.has805 && p.batteryLowRecord ? *p.batteryLowRecord : -1;
}

std::optional<std::string> Recorder::TupleText(SimArea area, int number) const {
  std::lock_guard lock(mutex_);
  const SimTuple* tuple = Area(area)->Find(number);
  if (tuple == nullptr) return std::nullopt;
  return TupleValueText(*tuple);
}

std::optional<std::string> Recorder::FileTupleText(int ring, int number) const {
  std::lock_guard lock(mutex_);
  if (ring < 0 || ring >= RingCount()) return std::nullopt;
  const SimTuple* tuple = groups_[static_cast<size_t>(ring)].Find(number);
  if (tuple == nullptr) return std::nullopt;
  return TupleValueText(*tuple);
}

int64_t Recorder::ClockSeconds() const {
  const auto elapsed = std::chrono::steady_clock::now() - clockSet_;
  return clockBase_ + std::chrono::duration_cast<std::chrono::seconds>(elapsed).count();
}

std::string Recorder::ClockText() const {
  std::lock_guard lock(mutex_);
  return ClockDigits(FieldsFromSeconds(ClockSeconds()));
}

int Recorder::FirmwareLineCount() const {
  std::lock_guard lock(mutex_);
  return firmwareLines_;
}

std::map<uint32_t, uint8_t> Recorder::FirmwareImage() const {
  std::lock_guard lock(mutex_);
  return firmwareImage_;
}

bool Recorder::FirmwareConfirmed() const {
  std::lock_guard lock(mutex_);
  return firmwareConfirmed_;
}

std::vector<std::string> Recorder::Commands() const {
  std::lock_guard lock(mutex_);
  return commands_;
}

RecorderImages BuildRecorderImages(const RecorderProfile& profile) {
  return Recorder(profile).Images();
}

}  // namespace tessaro::sim

#include "core/collect/DataFileAnalysis.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include "core/collect/FileTuple.h"
#include "core/collect/LittleEndian.h"
#include "core/collect/RecorderTuple.h"
#include "core/collect/TemporaryNames.h"
#include "core/recorder/TupleNumbers.h"
#include "core/support/AppPaths.h"
#include "core/support/DefinitionDb.h"
#include "core/support/MessageBox.h"
#include "core/support/Messages.h"

namespace tessaro {
namespace {

// Record values are turned from the recorder's big-endian words into the
// host's by swapping bytes.
static_assert(std::endian::native == std::endian::little, "records assume a little-endian host");

constexpr int kTextCut = 16;
constexpr int kMaxRingTable = kRingTableSize;

// The per-channel series, each into its field.
struct SeriesField {
  tuples::Series series;
  int ChannelInfo::*field;
};
constexpr SeriesField kSeries[] = {
    {tuples::kModeSeries, &ChannelInfo::mode},
    {tuples::kIntervalSeries, &ChannelInfo::interval},
    {tuples::kDecimalsSeries, &ChannelInfo::decimals},
    {tuples::kDataTypeSeries, &ChannelInfo::dataType},
    {tuples::kSizeSeries, &ChannelInfo::bytes},
};

std::string WithSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

bool Exists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

// The first `length` bytes of `from` into a new file `to`.
bool CopyFile(File& from, int64_t length, const std::string& to) {
  File out = File::Open(to, File::Mode::Create, 0600);
  if (!out || !from.SeekExact(0)) return false;
  std::vector<uint8_t> buffer(65536);
  while (length > 0) {
    const size_t piece = static_cast<size_t>(std::min<int64_t>(length, buffer.size()));
    if (!from.ReadExact(buffer.data(), piece) || !out.WriteExact(buffer.data(), piece))
      return false;
    length -= static_cast<int64_t>(piece);
  }
  return out.Close();
}

std::string CutText(const char* bytes, size_t size) {
  return std::string(bytes, strnlen(bytes, std::min<size_t>(size, kTextCut)));
}

// Reads the header tuples; false when one is missing or malformed.
class HeaderReader {
 public:
  explicit HeaderReader(File& file) : file_(file) {}

  // The data of tuple `number`, which must have elements of elementSize
  // bytes; at most maxCount elements are read.
  bool Read(int number, int elementSize, int maxCount, std::vector<uint8_t>& out) {
    const auto at = FindFileTuple(file_, number);
    if (!at || at->header.elementSize != elementSize || at->header.count < 1) return false;
    const int count = std::min(at->header.count, maxCount);
    out.resize(static_cast<size_t>(elementSize) * static_cast<size_t>(count));
    return file_.SeekExact(at->dataOffset) && file_.ReadExact(out.data(), out.size());
  }
  bool Int16(int number, int& value) {
    std::vector<uint8_t> v;
    if (!Read(number, 2, 1, v)) return false;
    value = static_cast<int16_t>(GetLittle16(v.data()));
    return true;
  }
  bool Int32(int number, int64_t& value) {
    std::vector<uint8_t> v;
    if (!Read(number, 4, 1, v)) return false;
    value = static_cast<int32_t>(GetLittle32(v.data()));
    return true;
  }

 private:
  File& file_;
};

bool ReadHeader(File& file, DataFileInfo& info) {
  HeaderReader h(file);
  std::vector<uint8_t> v;
  if (!h.Read(rlb::kVersion, 1, rlb::kTextSize, v)) return false;
  info.version = CutText(reinterpret_cast<const char*>(v.data()), v.size());
  if (!h.Int16(rlb::kModel, info.model) || !h.Int16(rlb::kSubModel, info.subModel) ||
      !h.Int16(rlb::kRomVersion, info.romVersion))
    return false;
  if (!h.Read(rlb::kCollectionTime, 6, 1, v)) return false;
  std::copy_n(v.begin(), 6, info.collectionTime.begin());
  if (!h.Int16(rlb::kRingCount, info.ringCount) || !h.Int32(rlb::kRomOffset, info.romOffset) ||
      !h.Int32(rlb::kEepOffset, info.eepOffset) || !h.Int32(rlb::kBattOffset, info.battOffset))
    return false;
  if (!h.Read(rlb::kRingTable, 4, kMaxRingTable, v)) return false;
  info.ringTable.fill(0);
  for (size_t n = 0; n < v.size() / 4; ++n)
    info.ringTable[n] = static_cast<int32_t>(GetLittle32(v.data() + 4 * n));
  return h.Int32(rlb::kDataAreaStart, info.dataAreaStart) &&
         h.Int32(rlb::kDataAreaEnd, info.dataAreaEnd);
}

// A stretch of the work file that recorder tuples are searched in.
struct Region {
  int64_t start;
  int64_t end;
};

class TupleReader {
 public:
  explicit TupleReader(File& file) : file_(file) {}

  std::optional<int64_t> Integer(const Region& r, int number) {
    const auto t = ReadRecorderTuple(file_, r.start, r.end, number);
    if (!t || !t->IsInteger()) return std::nullopt;
    return t->Integer();
  }
  std::optional<RecorderDateTime> DateTime(const Region& r, int number) {
    const auto t = ReadRecorderTuple(file_, r.start, r.end, number);
    if (!t || t->type != kTypeDateTime) return std::nullopt;
    return t->DateTime();
  }
  std::optional<std::string> Text(const Region& r, int number) {
    const auto t = ReadRecorderTuple(file_, r.start, r.end, number);
    if (!t || (t->type != kTypeMemo && t->type != kTypeMemo16)) return std::nullopt;
    return t->Text().substr(0, kTextCut);
  }

 private:
  File& file_;
};

bool ReadSeries(TupleReader& reader, const Region& group, const SeriesField& s,
                std::vector<ChannelInfo>& channels) {
  int base = s.series.newer;
  auto baseValue = reader.Integer(group, base);
  if (!baseValue) {
    base = s.series.older;
    baseValue = reader.Integer(group, base);
  }
  if (!baseValue) return false;
  for (size_t c = 0; c < channels.size(); ++c) {
    const auto v = reader.Integer(group, base + static_cast<int>(c));
    channels[c].*s.field = static_cast<int>(v.value_or(*baseValue));
  }
  return true;
}

// Areas follow each other in this order and end within the file; anything
// else is not an RLB file.
bool AreasFit(const DataFileInfo& info, const File& file) {
  const int64_t bounds[] = {kFileTupleHeaderSize,   info.romOffset,     info.eepOffset,
                            info.battOffset,        info.dataAreaStart, info.dataAreaEnd,
                            file.Size().value_or(0)};
  return std::is_sorted(std::begin(bounds), std::end(bounds));
}

bool ReadRing(File& file, DataFileInfo& info) {
  if (!AreasFit(info, file)) return false;

  TupleReader reader(file);
  using namespace tuples;
  const Region rom{info.romOffset, info.eepOffset};
  const Region eep{info.eepOffset, info.battOffset};
  info.dataAreaSize = reader.Integer(rom, kRomDataAreaSize).value_or(-1);
  const auto serial = reader.Text(eep, kEepSerial);
  if (!serial) return false;
  info.serialText = *serial;
  info.dateText = reader.Text(eep, kEepDate).value_or("");

  const int64_t groupStart = info.ringTable[static_cast<size_t>(info.ringIndex)];
  if (groupStart < info.battOffset || groupStart >= info.dataAreaStart) return false;
  const Region group{groupStart, info.dataAreaStart};

  const auto startPointer = reader.Integer(group, kStartPointer);
  const auto start = reader.DateTime(group, kStartTime);
  const auto stop = reader.DateTime(group, kStopTime);
  const auto count = reader.Integer(group, kDataCount);
  const auto bytes = reader.Integer(group, kByteCount);
  if (!startPointer || !start || !stop || !count || !bytes) return false;
  info.firstDataOffset = info.dataAreaStart + *startPointer;
  info.startTime = *start;
  info.stopTime = *stop;
  info.batteryLowTime = reader.DateTime(group, kBatteryLowTime).value_or(RecorderDateTime{});
  info.dataBytes = *bytes;
  info.recordCount = *count + (*bytes > 0 ? 1 : 0);
  for (int k = 0; k < kMemoCount; ++k)
    info.memos[static_cast<size_t>(k)] = reader.Text(group, kMemo + k).value_or("");

  int64_t channelCount = reader.Integer(group, kChannelCount).value_or(1);
  if (channelCount < 1 || channelCount > kMaxChannels) channelCount = 1;
  info.channels.assign(static_cast<size_t>(channelCount), ChannelInfo{});
  for (const auto& s : kSeries)
    if (!ReadSeries(reader, group, s, info.channels)) return false;

  int offset = 0;
  for (auto& ch : info.channels) {
    if (ch.bytes < 1 || ch.bytes > kMaxRecordSize - offset) return false;
    ch.offset = offset;
    offset += ch.bytes;
  }
  info.recordSize = offset;
  // A ring never holds more records than its data area (plus the one the
  // count rule adds); a damaged count would otherwise write an endless CSV.
  if (info.recordCount < 0 ||
      info.recordCount > (info.dataAreaEnd - info.dataAreaStart) / info.recordSize + 1)
    return false;
  return true;
}

int64_t OverwriteIndex(const DataFileInfo& info) {
  if (info.dataAreaSize < 0) return -1;
  // Every ring up to the analysed one shares the recorder's memory.
  const int64_t used = info.dataBytes;
  if (used <= info.dataAreaSize) return -1;
  return (used - info.dataAreaSize) / info.recordSize;
}

int64_t BatteryLowIndex(const DataFileInfo& info) {
  const auto low = DateTimeText(info.batteryLowTime);
  if (!low) return -1;
  if (*low < DateTimeTextOrInvalid(info.startTime) || *low > DateTimeTextOrInvalid(info.stopTime))
    return -1;
  const int64_t elapsed = DateTimeSeconds(info.batteryLowTime) - DateTimeSeconds(info.startTime);
  const int code = info.channels[0].interval;
  if (const int64_t span = IntervalSpan(code, 1); span > 0) return elapsed / span;
  // Intervals below one second have a whole-second span of 0.
  if (const double seconds = IntervalSeconds(code); seconds > 0)
    return static_cast<int64_t>(static_cast<double>(elapsed) / seconds);
  return 0;
}

bool Fail(int message, DataFileInfo& info) {
  info.work.Remove();
  ShowError(LoadMessage(message));
  return false;
}

}  // namespace

WorkFile MakeWorkFile(const std::string& folder) {
  const std::string dir =
      WithSlash(folder.empty() ? WritableProgramFolder(CurrentAppPaths()) : folder);
  for (int n = 0; n <= 9999; ++n) {
    OwnedTemporary made = OwnedTemporary::Create(dir + WorkFileName(n));
    if (made.IsOpen()) return WorkFile(std::move(made));
    if (errno != EEXIST) break;
  }
  return {};
}

std::optional<DataFileNames> MakeDataFileNames(const std::string& folder) {
  const std::string dir = WithSlash(folder);
  const DateTimeFields today = NowFields();
  for (int s = 0; s <= 99; ++s) {
    char name[32];
    std::snprintf(name, sizeof name, "DT%.4d%.2d%.2d%.2d", today.year, today.month, today.day, s);
    DataFileNames names{dir + name + ".CSV", dir + name + ".RLB"};
    if (!Exists(names.csvPath) && !Exists(names.rlbPath)) return names;
  }
  return std::nullopt;
}

bool AnalyseDataFile(DataFileInfo& info, const DefinitionDb& db, const std::string& workFolder) {
  info.work.Remove();
  // The header is checked on the original before anything is copied, and
  // only what it declares is copied: a device, a FIFO or a huge tail must
  // neither hang the analysis nor fill the disk.
  {
    File original = File::OpenNoWait(info.rlbPath, File::Mode::Read);
    if (!original) return Fail(MsgWorkFileCopy, info);
    if (!original.IsRegular() || !ReadHeader(original, info)) return Fail(MsgRlbHeaderError, info);
    if (!AreasFit(info, original)) return Fail(MsgRlbTupleError, info);
    info.work = MakeWorkFile(workFolder);
    const std::string workPath = info.work.Path();
    if (workPath.empty()) return Fail(MsgWorkFileCreate, info);
    if (!CopyFile(original, info.dataAreaEnd, workPath)) return Fail(MsgWorkFileCopy, info);
  }
  if (!info.work.OpenForReading()) return Fail(MsgWorkFileOpen, info);

  File& file = info.work.Handle();
  info.ringIndex = 0;
  if (!ReadHeader(file, info)) return Fail(MsgRlbHeaderError, info);
  if (!ReadRing(file, info)) return Fail(MsgRlbTupleError, info);

  info.overwriteIndex = OverwriteIndex(info);
  info.batteryLowIndex = BatteryLowIndex(info);
  info.calmThreshold = 0;

  for (auto& ch : info.channels) {
    ModeTexts texts = db.FindModeTexts(ch.mode);
    if (texts.a.empty()) {
      ShowError(FormatMessage(MsgModeNotInDb, ch.mode));
      ch.textA = ch.textB = ch.textC = ch.label = {};
      continue;
    }
    ch.textA = std::move(texts.a);
    ch.textB = std::move(texts.b);
    ch.textC = std::move(texts.c);
    ch.label = std::move(texts.label);
  }
  if (info.overwriteIndex != -1)
    ShowError(FormatMessage(MsgOverwrittenData, static_cast<int>(info.overwriteIndex)));
  if (info.batteryLowIndex != -1)
    ShowError(FormatMessage(MsgBatteryLowData, static_cast<int>(info.batteryLowIndex)));
  return true;
}

bool ReadRecord(int64_t index, DataFileInfo& info, std::vector<uint8_t>& record) {
  const int size = info.recordSize;
  if (!info.work.IsOpen() || size < 1 || size > kMaxRecordSize) return false;
  record.assign(static_cast<size_t>(size), 0);
  const int64_t ringStart = info.dataAreaStart;
  const int64_t ringEnd = info.dataAreaEnd;
  int64_t at;
  if (__builtin_mul_overflow(std::max<int64_t>(index, 0), int64_t{size}, &at) ||
      __builtin_add_overflow(at, info.firstDataOffset, &at))
    return false;
  // Past the end the ring continues at its start.
  if (at >= ringEnd && ringEnd > ringStart)
    at = ringStart + (at - ringStart) % (ringEnd - ringStart);

  File& file = info.work.Handle();
  size_t first = record.size();
  if (at < ringEnd && ringEnd < at + size) first = static_cast<size_t>(ringEnd - at);
  if (!file.SeekExact(at) || !file.ReadExact(record.data(), first)) return false;
  if (first < record.size() &&
      (!file.SeekExact(ringStart) || !file.ReadExact(record.data() + first, record.size() - first)))
    return false;
  return ConvertRecordToHost(info, record.data());
}

bool ConvertRecordToHost(const DataFileInfo& info, uint8_t* record) {
  for (const auto& ch : info.channels) {
    if (ch.offset + ch.bytes > info.recordSize) return false;
    uint8_t* p = record + ch.offset;
    int words;
    if (ch.mode == kModeDateTime || ch.dataType == kTypeDateTime) {
      words = 3;
    } else if (ch.dataType == kDataTypeTimeOfDay) {
      words = 2;
    } else if (IsWindMode(ch.mode)) {
      words = 0;
    } else {
      words = 1;
    }
    words = std::min(words, ch.bytes / 2);
    for (int w = 0; w < words; ++w) std::swap(p[2 * w], p[2 * w + 1]);
  }
  return true;
}

}  // namespace tessaro

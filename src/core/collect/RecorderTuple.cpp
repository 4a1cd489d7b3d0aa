#include "core/collect/RecorderTuple.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace tessaro {
namespace {

constexpr bool kHostIsBig = std::endian::native == std::endian::big;

// Bytes of an area image, from memory.
class MemoryRegion {
 public:
  explicit MemoryRegion(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  int64_t Size() const { return static_cast<int64_t>(bytes_.size()); }
  bool Read(int64_t offset, uint8_t* out, size_t count) {
    if (offset < 0 || offset + static_cast<int64_t>(count) > Size()) return false;
    std::memcpy(out, bytes_.data() + offset, count);
    return true;
  }

 private:
  std::span<const uint8_t> bytes_;
};

// Bytes of a file region [start, end), read through a window so that walking
// tuple by tuple does not cost one system call per tuple.
class FileRegion {
 public:
  FileRegion(File& file, int64_t start, int64_t end) : file_(file), start_(start), end_(end) {
    // A region beyond the file's end is cut there.
    if (auto size = file.Size()) end_ = std::min(end_, *size);
    if (start_ < 0 || end_ < start_) end_ = start_ = 0;
  }
  int64_t Size() const { return end_ - start_; }
  bool Read(int64_t offset, uint8_t* out, size_t count) {
    if (offset < 0 || offset + static_cast<int64_t>(count) > Size()) return false;
    if (offset < windowStart_ || offset + static_cast<int64_t>(count) >
                                     windowStart_ + static_cast<int64_t>(window_.size())) {
      const auto length = static_cast<size_t>(std::min<int64_t>(kWindow, Size() - offset));
      window_.resize(length);
      if (!file_.SeekExact(start_ + offset) || !file_.ReadExact(window_.data(), length)) {
        window_.clear();
        return false;
      }
      windowStart_ = offset;
    }
    std::memcpy(out, window_.data() + (offset - windowStart_), count);
    return true;
  }
  int64_t Start() const { return start_; }

 private:
  static constexpr int64_t kWindow = 16384;
  File& file_;
  int64_t start_;
  int64_t end_;
  std::vector<uint8_t> window_;
  int64_t windowStart_ = 0;
};

template <typename Region>
std::optional<int64_t> Find(Region& region, int number) {
  int64_t at = 0;
  bool first = true;
  uint8_t head[4];
  // Every step moves forward by at least one byte inside a finite region,
  // so the walk ends.
  while (region.Read(at, head, sizeof head)) {
    const int found = (head[0] << 8) | head[1];
    if (found == RecorderTuple::kEndNumber) return std::nullopt;
    if (first != (found == 0)) return std::nullopt;  // 0 starts an area and only there
    const auto length = static_cast<int8_t>(head[2]);
    const auto type = static_cast<int8_t>(head[3]);
    if (length < 1 || RecorderTuple::ReadSize(type) == 0) return std::nullopt;
    if (found == number) return at;
    at += length;
    first = false;
  }
  return std::nullopt;
}

template <typename Region>
std::optional<RecorderTuple> ReadAt(Region& region, int64_t at) {
  std::array<uint8_t, RecorderTuple::kMaxReadSize> bytes{};
  uint8_t head[4];
  if (!region.Read(at, head, sizeof head)) return std::nullopt;
  const int size = RecorderTuple::ReadSize(static_cast<int8_t>(head[3]));
  if (size == 0 || !region.Read(at, bytes.data(), static_cast<size_t>(size))) return std::nullopt;
  return RecorderTuple::Decode(std::span(bytes.data(), static_cast<size_t>(size)));
}

template <typename Region>
std::optional<RecorderTuple> Read(Region& region, int number) {
  const auto at = Find(region, number);
  if (!at) return std::nullopt;
  return ReadAt(region, *at);
}

void Reverse(uint8_t* bytes, size_t count) { std::reverse(bytes, bytes + count); }

}  // namespace

int RecorderTuple::ReadSize(int type) {
  switch (type) {
    case kTypeChar:
    case kTypeBit8:
    case kTypeInt16:
    case kTypeUInt16:
    case kTypeSInt16:
    case kTypeBit16:
      return 8;
    case kTypeInt32:
    case kTypeBit32:
    case kTypeReal:
      return 10;
    case kTypeDouble:
      return 14;
    case kTypeMemo:
      return 38;
    case kTypeDateTime:
      return 12;
    case kTypeMemo16:
      return 22;
    default:
      return 0;
  }
}

void ConvertTupleValue(int type, uint8_t* bytes) {
  switch (type) {
    case kTypeInt16:
    case kTypeUInt16:
    case kTypeSInt16:
    case kTypeBit16:
      if (!kHostIsBig) Reverse(bytes, 2);
      break;
    case kTypeInt32:
    case kTypeBit32:
    case kTypeReal:
      if (!kHostIsBig) Reverse(bytes, 4);
      break;
    case kTypeDouble:
      if (!kHostIsBig) Reverse(bytes, 8);
      break;
    case kTypeDateTime:
      // The program's date-time keeps its words low byte first on any host.
      for (int w = 0; w < 3; ++w) Reverse(bytes + 2 * w, 2);
      break;
    default:
      break;
  }
}

std::optional<RecorderTuple> RecorderTuple::Decode(std::span<const uint8_t> bytes) {
  if (bytes.size() < 4) return std::nullopt;
  RecorderTuple t;
  t.type = static_cast<int8_t>(bytes[3]);
  const int size = ReadSize(t.type);
  if (size == 0 || bytes.size() < static_cast<size_t>(size)) return std::nullopt;
  t.number = (bytes[0] << 8) | bytes[1];
  t.length = static_cast<int8_t>(bytes[2]);
  t.elementSize = bytes[4];
  t.count = bytes[5];
  std::memcpy(t.value.data(), bytes.data() + kHeaderSize, static_cast<size_t>(size - kHeaderSize));
  ConvertTupleValue(t.type, t.value.data());
  return t;
}

std::vector<uint8_t> RecorderTuple::EncodeValue() const {
  std::array<uint8_t, 32> stored = value;
  ConvertTupleValue(type, stored.data());
  const int size = std::min(elementSize * count, ValueSize(type));
  return std::vector<uint8_t>(stored.begin(), stored.begin() + std::max(0, size));
}

bool RecorderTuple::IsInteger() const {
  // Every 8-byte type holds an 8- or 16-bit integer.
  return ReadSize(type) == 8 || type == kTypeInt32 || type == kTypeBit32;
}

int64_t RecorderTuple::Integer() const {
  switch (type) {
    case kTypeChar:
      return static_cast<int8_t>(value[0]);
    case kTypeBit8:
      return value[0];
    case kTypeInt16:
    case kTypeSInt16: {
      int16_t v;
      std::memcpy(&v, value.data(), sizeof v);
      return v;
    }
    case kTypeUInt16:
    case kTypeBit16: {
      uint16_t v;
      std::memcpy(&v, value.data(), sizeof v);
      return v;
    }
    case kTypeInt32: {
      int32_t v;
      std::memcpy(&v, value.data(), sizeof v);
      return v;
    }
    case kTypeBit32: {
      uint32_t v;
      std::memcpy(&v, value.data(), sizeof v);
      return v;
    }
    default:
      return 0;
  }
}

void RecorderTuple::SetInteger(int64_t v) {
  switch (type) {
    case kTypeChar:
    case kTypeBit8:
      value[0] = static_cast<uint8_t>(v);
      break;
    case kTypeInt16:
    case kTypeSInt16:
    case kTypeUInt16:
    case kTypeBit16: {
      const auto w = static_cast<uint16_t>(v);
      std::memcpy(value.data(), &w, sizeof w);
      break;
    }
    case kTypeInt32:
    case kTypeBit32: {
      const auto w = static_cast<uint32_t>(v);
      std::memcpy(value.data(), &w, sizeof w);
      break;
    }
    default:
      break;
  }
}

RecorderDateTime RecorderTuple::DateTime() const {
  RecorderDateTime dt{};
  if (type == kTypeDateTime) std::copy_n(value.begin(), dt.size(), dt.begin());
  return dt;
}

void RecorderTuple::SetDateTime(const RecorderDateTime& dt) {
  if (type == kTypeDateTime) std::copy(dt.begin(), dt.end(), value.begin());
}

std::string RecorderTuple::Text() const {
  if (type != kTypeMemo && type != kTypeMemo16) return {};
  const auto size = static_cast<size_t>(ValueSize(type));
  const auto* begin = reinterpret_cast<const char*>(value.data());
  return std::string(begin, strnlen(begin, size));
}

std::optional<size_t> FindRecorderTuple(std::span<const uint8_t> area, int number) {
  MemoryRegion region(area);
  const auto at = Find(region, number);
  if (!at) return std::nullopt;
  return static_cast<size_t>(*at);
}

std::optional<RecorderTuple> ReadRecorderTuple(std::span<const uint8_t> area, int number) {
  MemoryRegion region(area);
  return Read(region, number);
}

std::optional<int64_t> FindRecorderTuple(File& file, int64_t start, int64_t end, int number) {
  FileRegion region(file, start, end);
  const auto at = Find(region, number);
  if (!at) return std::nullopt;
  return region.Start() + *at;
}

std::optional<RecorderTuple> ReadRecorderTuple(File& file, int64_t start, int64_t end, int number) {
  FileRegion region(file, start, end);
  return Read(region, number);
}

bool WriteRecorderTuple(File& file, int64_t start, int64_t end, const RecorderTuple& tuple) {
  FileRegion region(file, start, end);
  const auto at = Find(region, tuple.number);
  if (!at) return false;
  const auto found = ReadAt(region, *at);
  if (!found || found->type != tuple.type) return false;
  RecorderTuple out = tuple;
  out.elementSize = found->elementSize;
  out.count = found->count;
  const auto bytes = out.EncodeValue();
  return file.SeekExact(region.Start() + *at + RecorderTuple::kHeaderSize) &&
         file.WriteExact(bytes.data(), bytes.size());
}

bool WriteRecorderInteger(File& file, int64_t start, int64_t end, int number, int64_t value) {
  RecorderTuple t;
  t.number = number;
  t.type = kTypeInt32;
  t.SetInteger(value);
  return WriteRecorderTuple(file, start, end, t);
}

bool WriteRecorderDateTime(File& file, int64_t start, int64_t end, int number,
                           const RecorderDateTime& value) {
  RecorderTuple t;
  t.number = number;
  t.type = kTypeDateTime;
  t.SetDateTime(value);
  return WriteRecorderTuple(file, start, end, t);
}

}  // namespace tessaro

#include "core/collect/FileTuple.h"

#include <vector>

#include "core/collect/LittleEndian.h"

namespace tessaro {

void EncodeFileTupleHeader(const FileTupleHeader& header, uint8_t out[kFileTupleHeaderSize]) {
  PutLittle16(out, static_cast<uint16_t>(header.number));
  PutLittle32(out + 2, static_cast<uint32_t>(header.length));
  out[6] = static_cast<uint8_t>(header.elementSize);
  PutLittle32(out + 7, static_cast<uint32_t>(header.count));
}

FileTupleHeader DecodeFileTupleHeader(const uint8_t in[kFileTupleHeaderSize]) {
  FileTupleHeader header;
  header.number = static_cast<int16_t>(GetLittle16(in));
  header.length = static_cast<int32_t>(GetLittle32(in + 2));
  header.elementSize = in[6];
  header.count = static_cast<int32_t>(GetLittle32(in + 7));
  return header;
}

bool WriteFileTuple(File& file, int number, int elementSize, int32_t count, const void* data) {
  const int64_t size = static_cast<int64_t>(elementSize) * count;
  std::vector<uint8_t> bytes(static_cast<size_t>(kFileTupleHeaderSize + size));
  EncodeFileTupleHeader({number, static_cast<int32_t>(size + 5), elementSize, count}, bytes.data());
  if (size > 0) {
    const auto* from = static_cast<const uint8_t*>(data);
    std::copy(from, from + size, bytes.begin() + kFileTupleHeaderSize);
  }
  return file.WriteExact(bytes.data(), bytes.size());
}

std::optional<FileTupleLocation> FindFileTuple(File& file, int number) {
  const auto size = file.Size();
  if (!size) return std::nullopt;
  int64_t at = 0;
  uint8_t head[kFileTupleHeaderSize];
  // Each step moves forward by at least 11 bytes, so the walk ends.
  while (at + kFileTupleHeaderSize <= *size) {
    if (!file.SeekExact(at) || !file.ReadExact(head, sizeof head)) return std::nullopt;
    const FileTupleHeader header = DecodeFileTupleHeader(head);
    if (header.number == kFileTupleEnd) return std::nullopt;
    if (header.number == number) return FileTupleLocation{header, at + kFileTupleHeaderSize};
    if (header.length < 5) return std::nullopt;
    at += 6 + static_cast<int64_t>(header.length);
  }
  return std::nullopt;
}

}  // namespace tessaro

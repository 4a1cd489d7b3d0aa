#include "core/collect/TextFile.h"

#include <array>
#include <cstdio>

namespace tessaro {
namespace {
constexpr uint8_t kEndOfFile = 0x1A;
}  // namespace

void TTextFile::Reset() {
  file_.Close();
  saved_ = 0;
  size_ = 0;
}

bool TTextFile::OpenFile(const std::string& name) {
  Reset();
  file_ = File::Open(name, File::Mode::Read);
  if (file_) size_ = file_.Size().value_or(0);
  return CheckFile();
}

bool TTextFile::CreateFileA(const std::string& name) {
  Reset();
  file_ = File::Open(name, File::Mode::Create);
  return CheckFile();
}

void TTextFile::CloseFile() { Reset(); }

int64_t TTextFile::GetFilePos() const {
  if (!file_) return -1;
  return file_.Position().value_or(-1);
}

void TTextFile::SaveFilePos() {
  if (file_) saved_ = GetFilePos();
}

void TTextFile::LoadFilePos() {
  if (file_) file_.SeekExact(saved_);
}

int64_t TTextFile::SeekFile(int64_t offset, int origin) {
  if (!file_) return -1;
  static constexpr int kOrigins[] = {SEEK_SET, SEEK_CUR, SEEK_END};
  if (origin < 0 || origin > 2 || !file_.SeekExact(offset, kOrigins[origin])) return -1;
  return GetFilePos();
}

bool TTextFile::ReadLn(std::string& line) {
  if (!file_) return false;
  const int64_t start = GetFilePos();
  std::array<uint8_t, kMaxLine + 2> buffer;
  const ssize_t n = file_.ReadSome(buffer.data(), buffer.size());
  if (n <= 0 || buffer[0] == kEndOfFile) return false;
  for (ssize_t i = 0; i + 1 < n; ++i) {
    if (buffer[static_cast<size_t>(i)] == '\r' && buffer[static_cast<size_t>(i) + 1] == '\n') {
      if (!file_.SeekExact(start + i + 2)) return false;
      line.assign(reinterpret_cast<const char*>(buffer.data()), static_cast<size_t>(i));
      return true;
    }
  }
  return false;
}

bool TTextFile::WriteLn(const std::string& text) {
  if (!file_) return false;
  return file_.WriteExact(text.data(), text.size()) && file_.WriteExact("\r\n", 2);
}

int64_t TTextFile::Read(void* buffer, size_t count) {
  if (!file_) return 0;
  return file_.ReadSome(buffer, count);
}

int64_t TTextFile::Write(const void* buffer, size_t count) {
  if (!file_) return 0;
  return file_.WriteExact(buffer, count) ? static_cast<int64_t>(count) : -1;
}

}  // namespace tessaro

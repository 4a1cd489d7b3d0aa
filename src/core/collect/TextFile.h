#pragma once
// One text file with CR LF line ends, read line by line with one remembered
// position to step back to. Every method on a closed instance returns its
// "no file" value without touching the file system.

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/support/File.h"

namespace tessaro {

class TTextFile {
 public:
  // Longest line ReadLn returns, without its CR LF.
  static constexpr size_t kMaxLine = 511;

  TTextFile() = default;

  // Opens an existing file read only and takes its size.
  bool OpenFile(const std::string& name);
  // Creates or truncates a file for writing.
  bool CreateFileA(const std::string& name);
  void CloseFile();
  bool CheckFile() const { return file_.IsOpen(); }

  int64_t GetFilePos() const;  // -1 without a file
  void SaveFilePos();
  void LoadFilePos();
  // origin: 0 start, 1 current, 2 end; the new position or -1.
  int64_t SeekFile(int64_t offset, int origin);

  // The next line without its CR LF; false at the end, at an end-of-file
  // mark (0x1A), or when no CR LF follows within kMaxLine characters.
  bool ReadLn(std::string& line);
  // The text, then CR LF.
  bool WriteLn(const std::string& text);
  int64_t Read(void* buffer, size_t count);         // bytes read, 0 without a file
  int64_t Write(const void* buffer, size_t count);  // bytes written, 0 without a file

  int64_t FileSize() const { return size_; }
  int64_t SavedPos() const { return saved_; }

 private:
  void Reset();

  File file_;
  int64_t saved_ = 0;
  int64_t size_ = 0;
};

}  // namespace tessaro

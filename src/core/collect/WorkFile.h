#pragma once
// A temporary copy of a data file, owned by whoever made it: the analysis
// reads the copy so the original stays untouched, and the copy disappears
// when its owner goes away, on every path.

#include <string>

#include "core/support/File.h"

namespace tessaro {

class WorkFile {
 public:
  WorkFile() = default;
  // Takes ownership of an existing file at path (deleted with this object).
  explicit WorkFile(std::string path) : path_(std::move(path)) {}
  ~WorkFile() { Remove(); }
  WorkFile(WorkFile&& other) noexcept;
  WorkFile& operator=(WorkFile&& other) noexcept;
  WorkFile(const WorkFile&) = delete;
  WorkFile& operator=(const WorkFile&) = delete;

  const std::string& Path() const { return path_; }
  bool IsOpen() const { return file_.IsOpen(); }
  File& Handle() { return file_; }

  // Opens the file for reading; false when it cannot be opened.
  bool OpenForReading();
  void Close() { file_.Close(); }
  // Closes and deletes the file; afterwards the object owns nothing.
  void Remove();

 private:
  std::string path_;
  File file_;
};

}  // namespace tessaro

#pragma once
// A temporary copy of a data file, owned by whoever made it: the analysis
// reads the copy so the original stays untouched, and the copy disappears
// when its owner goes away, on every path. While it exists it is locked
// (OwnedTemporary), so a start-up sweep removes only copies whose program
// is gone.

#include <string>

#include "core/support/File.h"
#include "core/support/OwnedTemporary.h"

namespace tessaro {

class WorkFile {
 public:
  WorkFile() = default;
  // Takes ownership of a newly created temporary file.
  explicit WorkFile(OwnedTemporary temporary) : temporary_(std::move(temporary)) {}
  ~WorkFile() { Remove(); }
  WorkFile(WorkFile&& other) noexcept = default;
  WorkFile& operator=(WorkFile&& other) noexcept;
  WorkFile(const WorkFile&) = delete;
  WorkFile& operator=(const WorkFile&) = delete;

  const std::string& Path() const { return temporary_.Path(); }
  bool IsOpen() const { return file_.IsOpen(); }
  File& Handle() { return file_; }

  // Opens the file for reading; false when it cannot be opened.
  bool OpenForReading();
  void Close() { file_.Close(); }
  // Closes and deletes the file; afterwards the object owns nothing.
  void Remove();

 private:
  OwnedTemporary temporary_;  // holds the name and the lock
  File file_;                 // the reading handle
};

}  // namespace tessaro

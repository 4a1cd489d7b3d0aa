#pragma once
// An output file that appears under its name only when it is complete. The
// content goes to a temporary file beside the target (same folder, so the
// final rename is atomic); Commit flushes it to disk and renames it into
// place. A failed or abandoned output removes the temporary file and leaves
// whatever file had the target name before untouched.

#include <string>
#include <string_view>

#include "core/support/File.h"

namespace tessaro {

class SafeOutputFile {
 public:
  SafeOutputFile() = default;
  ~SafeOutputFile() { Discard(); }
  SafeOutputFile(const SafeOutputFile&) = delete;
  SafeOutputFile& operator=(const SafeOutputFile&) = delete;

  // Creates the temporary file for path; false when it cannot be made.
  bool Create(const std::string& path);
  // Writes all of data; false on a short write.
  bool Write(std::string_view data);
  // Syncs, closes and renames over the target; false when any step fails
  // (the temporary file is then removed).
  bool Commit();
  // Closes and removes the temporary file; nothing happens after Commit.
  void Discard();

  const std::string& TemporaryPath() const { return temporaryPath_; }

 private:
  std::string path_;
  std::string temporaryPath_;
  File file_;
};

}  // namespace tessaro

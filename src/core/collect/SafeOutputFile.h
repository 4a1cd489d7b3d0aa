#pragma once
// An output file that appears under its name only when it is complete. The
// content goes to a locked temporary file beside the target (same folder,
// so the final rename is atomic); Commit flushes it to disk and renames it
// into place. A failed or abandoned output removes the temporary file and
// leaves whatever file had the target name before untouched.
//
// Only a regular file the user may write is ever replaced, and only when
// the caller says the user agreed; a symbolic link is followed and the file
// it points to is replaced (the link stays). A replaced file keeps its mode
// and, where the system allows, its owner and group.

#include <string>
#include <string_view>

#include "core/support/File.h"
#include "core/support/OutputTarget.h"
#include "core/support/OwnedTemporary.h"

namespace tessaro {

class SafeOutputFile {
 public:
  using Existing = ExistingFile;

  SafeOutputFile() = default;
  ~SafeOutputFile() { Discard(); }
  SafeOutputFile(const SafeOutputFile&) = delete;
  SafeOutputFile& operator=(const SafeOutputFile&) = delete;

  // Creates the temporary file for path; false when the target is refused
  // (see above) or nothing can be made.
  bool Create(const std::string& path, Existing existing = Existing::Replace);
  // Writes all of data; false on a short write.
  bool Write(std::string_view data);
  // The open temporary file, for writers that seek and read back.
  File& Handle() { return temporary_.Handle(); }
  // Syncs to disk; the file stays under its temporary name. Commit does it
  // too when it has not been done.
  bool Flush();
  // Renames over the target; false when any step fails (the temporary file
  // is then removed).
  bool Commit();
  // Closes and removes the temporary file; nothing happens after Commit.
  void Discard();

  const std::string& TemporaryPath() const { return temporary_.Path(); }
  // Why the last step failed ("name: No space left on device"); empty when
  // no system reason is known.
  std::string Reason() const;

 private:
  bool Fail(std::string reason);

  std::string name_;  // as the caller gave it, for the reasons
  OutputTarget target_;
  Existing existing_ = Existing::Replace;
  bool flushed_ = false;
  OwnedTemporary temporary_;
  std::string reason_;
};

}  // namespace tessaro

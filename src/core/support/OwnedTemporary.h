#pragma once
// A temporary file that belongs to the process holding it: it is created
// exclusively (never through a symbolic link) and carries an exclusive flock
// until it is renamed into place or removed. A file whose lock is free has
// no living owner, so RemoveStale can clear what a killed run left behind
// without touching the temporaries of a program that is still working.
//
//   OwnedTemporary t = OwnedTemporary::Create(folder + ".name.ab12cd.tmp");
//   t.Handle().WriteExact(...);
//   t.RenameTo(folder + "name", false);   // or let it go: it is removed

#include <functional>
#include <string>

#include "core/support/File.h"

namespace tessaro {

class OwnedTemporary {
 public:
  OwnedTemporary() = default;
  ~OwnedTemporary() { Remove(); }
  OwnedTemporary(OwnedTemporary&& other) noexcept;
  OwnedTemporary& operator=(OwnedTemporary&& other) noexcept;
  OwnedTemporary(const OwnedTemporary&) = delete;
  OwnedTemporary& operator=(const OwnedTemporary&) = delete;

  // Creates path (mode 0600, read and write) and locks it. An unopened
  // object on failure, errno telling why; EEXIST: the name is taken.
  static OwnedTemporary Create(const std::string& path);

  bool IsOpen() const { return file_.IsOpen(); }
  const std::string& Path() const { return path_; }
  File& Handle() { return file_; }
  const File& Handle() const { return file_; }

  // Renames the file to target while it is still locked, then closes it;
  // with noReplace an existing target fails the rename with EEXIST. False
  // with errno set; the temporary then stays this object's.
  bool RenameTo(const std::string& target, bool noReplace);
  // Closes and deletes the file; afterwards the object owns nothing.
  void Remove();

  // Deletes each entry of folder whose name `matches` accepts and that is a
  // regular file of this user with a free lock; the number deleted.
  static int RemoveStale(const std::string& folder,
                         const std::function<bool(const std::string& name)>& matches);

 private:
  std::string path_;
  File file_;
};

}  // namespace tessaro

#pragma once
// A temporary folder for one test, removed with everything in it when the
// object goes away.

#include <string>

namespace tessaro {

class TempDir {
 public:
  TempDir();  // throws std::runtime_error when no folder can be made
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The folder, without a trailing slash.
  const std::string& Path() const { return path_; }
  // Path() + "/" + name.
  std::string Join(const std::string& name) const;
  // Writes content to Join(name), creating missing parent folders; returns the path.
  std::string WriteFile(const std::string& name, const std::string& content) const;
  // Content of Join(name); empty when it cannot be read.
  std::string ReadFile(const std::string& name) const;

  // Whole content of any file; empty when it cannot be read.
  static std::string ReadAll(const std::string& path);

 private:
  std::string path_;
};

}  // namespace tessaro

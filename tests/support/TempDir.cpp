#include "support/TempDir.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace tessaro {

TempDir::TempDir() {
  std::error_code ec;
  std::string base = std::filesystem::temp_directory_path(ec).string();
  if (ec || base.empty()) base = "/tmp";
  std::string templ = base + "/tessaro-test-XXXXXX";
  if (!::mkdtemp(templ.data())) throw std::runtime_error("cannot create a folder under " + base);
  path_ = templ;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string TempDir::Join(const std::string& name) const { return path_ + "/" + name; }

std::string TempDir::WriteFile(const std::string& name, const std::string& content) const {
  const std::string path = Join(name);
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
  std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
  return path;
}

std::string TempDir::ReadFile(const std::string& name) const { return ReadAll(Join(name)); }

std::string TempDir::ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

}  // namespace tessaro

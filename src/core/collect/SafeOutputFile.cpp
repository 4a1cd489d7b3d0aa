#include "core/collect/SafeOutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>

#include "core/collect/TemporaryNames.h"

namespace tessaro {
namespace {

constexpr mode_t kNewFileMode = 0644;  // an ordinary data file
constexpr int kNameAttempts = 100;

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string Token() {
  static constexpr char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  thread_local std::mt19937 random{std::random_device{}()};
  std::uniform_int_distribution<size_t> pick(0, sizeof kAlphabet - 2);
  std::string token(6, ' ');
  for (char& c : token) c = kAlphabet[pick(random)];
  return token;
}

// Makes the rename itself durable; a folder that cannot be synced is no
// reason to fail an otherwise complete file.
void SyncFolder(const std::string& folder) {
  File dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir) dir.Sync();
}

}  // namespace

bool SafeOutputFile::Fail(std::string reason) {
  reason_ = std::move(reason);
  return false;
}

bool SafeOutputFile::Create(const std::string& path, Existing existing) {
  Discard();
  reason_.clear();
  flushed_ = false;
  existing_ = existing;
  name_ = path;
  const size_t slash = path.find_last_of('/');
  if (path.empty() || slash == path.size() - 1) return Fail({});
  target_ = ResolveOutputTarget(path, existing);
  if (!target_.Usable()) return Fail(target_.reason);

  const std::string& real = target_.path;
  const size_t cut = real.find_last_of('/');
  const std::string folder = cut == std::string::npos ? std::string() : real.substr(0, cut + 1);
  const std::string name = cut == std::string::npos ? real : real.substr(cut + 1);
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    temporary_ = OwnedTemporary::Create(folder + OutputTemporaryName(name, Token()));
    if (temporary_.IsOpen()) break;
    if (errno != EEXIST) return Fail(FileErrorReason(path, errno));
  }
  if (!temporary_.IsOpen()) return Fail(FileErrorReason(path, EEXIST));

  const int fd = temporary_.Handle().Descriptor();
  if (target_.status == OutputTarget::Status::Existing) {
    // Owner first: a change of owner clears the set-id bits the mode restores.
    if (::fchown(fd, target_.owner, target_.group) != 0) [[maybe_unused]]
      const int kept = ::fchown(fd, static_cast<uid_t>(-1), target_.group);
    ::fchmod(fd, target_.mode);
  } else {
    ::fchmod(fd, kNewFileMode);
  }
  return true;
}

bool SafeOutputFile::Write(std::string_view data) {
  return Handle().WriteExact(data.data(), data.size()) || Fail(Reason());
}

bool SafeOutputFile::Flush() {
  if (!temporary_.IsOpen()) return false;
  if (!flushed_ && !Handle().Sync()) return Fail(Reason());
  flushed_ = true;
  return true;
}

bool SafeOutputFile::Commit() {
  if (existing_ == Existing::Ignore || !Flush()) {
    Discard();
    return false;
  }
  // The target is looked at again: it may have changed while the content
  // was written.
  const OutputTarget now = ResolveOutputTarget(target_.path, existing_);
  if (!now.Usable() || now.path != target_.path) {
    Discard();
    return Fail(now.Usable() ? FileErrorReason(name_, EEXIST) : now.reason);
  }
  const bool noReplace =
      existing_ != Existing::Replace || target_.status == OutputTarget::Status::New;
  if (!temporary_.RenameTo(target_.path, noReplace)) {
    const int error = errno;
    Discard();
    return Fail(FileErrorReason(name_, error));
  }
  SyncFolder(FolderOf(target_.path));
  return true;
}

void SafeOutputFile::Discard() { temporary_.Remove(); }

std::string SafeOutputFile::Reason() const {
  if (!reason_.empty()) return reason_;
  const int error = temporary_.Handle().LastError();
  return error != 0 ? FileErrorReason(name_, error) : std::string();
}

}  // namespace tessaro

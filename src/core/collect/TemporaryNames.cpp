#include "core/collect/TemporaryNames.h"

#include <cctype>
#include <cstdio>

#include "core/support/AppPaths.h"
#include "core/support/AppSettings.h"
#include "core/support/OwnedTemporary.h"

namespace tessaro {
namespace {

constexpr char kOutputSuffix[] = ".tessaro-tmp";
constexpr size_t kOutputSuffixSize = sizeof kOutputSuffix - 1;
constexpr size_t kTokenSize = 6;
constexpr size_t kMaxNamePart = 200;  // leaves room within the 255 bytes of a name
constexpr int kMaxWorkFile = 9999;

bool AllDigits(const std::string& text) {
  if (text.empty()) return false;
  for (const char c : text)
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

}  // namespace

std::string OutputTemporaryName(const std::string& name, const std::string& token) {
  return "." + name.substr(0, kMaxNamePart) + "." + token + kOutputSuffix;
}

bool IsOutputTemporaryName(const std::string& name) {
  // "." + at least one byte of the name + "." + token + suffix
  if (name.size() < 3 + kTokenSize + kOutputSuffixSize || name[0] != '.') return false;
  if (name.compare(name.size() - kOutputSuffixSize, kOutputSuffixSize, kOutputSuffix) != 0)
    return false;
  const size_t token = name.size() - kOutputSuffixSize - kTokenSize;
  if (name[token - 1] != '.') return false;
  for (size_t i = token; i < token + kTokenSize; ++i)
    if (!std::isalnum(static_cast<unsigned char>(name[i]))) return false;
  return true;
}

std::string WorkFileName(int n) {
  char name[32];
  std::snprintf(name, sizeof name, "CVXWIN%d.TMP", n);
  return name;
}

bool IsWorkFileName(const std::string& name) {
  constexpr size_t kHead = 6, kTail = 4;  // "CVXWIN", ".TMP"
  if (name.size() <= kHead + kTail || name.compare(0, kHead, "CVXWIN") != 0 ||
      name.compare(name.size() - kTail, kTail, ".TMP") != 0)
    return false;
  const std::string digits = name.substr(kHead, name.size() - kHead - kTail);
  if (!AllDigits(digits) || digits.size() > 4 || (digits.size() > 1 && digits[0] == '0'))
    return false;
  return std::stoi(digits) <= kMaxWorkFile;
}

int RemoveStaleTemporaries(const std::vector<std::string>& folders) {
  int removed = 0;
  for (const std::string& folder : folders) {
    if (folder.empty()) continue;
    removed += OwnedTemporary::RemoveStale(folder, [](const std::string& name) {
      return IsOutputTemporaryName(name) || IsWorkFileName(name);
    });
  }
  return removed;
}

int RemoveStaleTemporariesAtStart(const AppPaths& paths) {
  AppSettings settings;
  LoadSettings(paths.settingsFile, paths.baseFolder, settings);  // unreadable: the defaults
  return RemoveStaleTemporaries(
      std::vector<std::string>{WritableProgramFolder(paths), settings.dataFolder});
}

}  // namespace tessaro

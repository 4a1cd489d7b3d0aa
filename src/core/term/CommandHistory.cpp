#include "core/term/CommandHistory.h"

#include <algorithm>

#include "core/support/IniFile.h"

namespace tessaro {
namespace {

std::string KeyName(int index) { return "STR" + std::to_string(index); }

}  // namespace

bool CommandHistory::Add(const std::string& text) {
  if (text.empty()) return false;
  const auto found = std::find(entries_.begin(), entries_.end(), text);
  if (!entries_.empty() && found == entries_.begin()) return false;
  if (found != entries_.end()) {
    entries_.erase(found);
  } else if (entries_.size() >= kKeptEntries) {
    entries_.erase(entries_.begin() + (kKeptEntries - 1));
  }
  entries_.insert(entries_.begin(), text);
  return true;
}

bool CommandHistory::Load(const std::string& path, const std::string& section) {
  entries_.clear();
  IniFile file(path);
  if (!file.Load()) return false;
  for (int key = 0; key <= kLastKey; ++key) {
    std::string value = file.ReadString(section, KeyName(key), "");
    if (value.empty()) break;
    entries_.push_back(std::move(value));
  }
  return true;
}

bool CommandHistory::Save(const std::string& path, const std::string& section) const {
  return IniFile::Update(path, [&](IniFile& file) {
    int key = 0;
    for (; key <= kLastKey && key < static_cast<int>(entries_.size()); ++key)
      if (!file.WriteString(section, KeyName(key), entries_[key])) return false;
    for (; key <= kLastKey; ++key) file.EraseKey(section, KeyName(key));
    return true;
  });
}

}  // namespace tessaro

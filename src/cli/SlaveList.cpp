#include "cli/SlaveList.h"

#include <algorithm>
#include <sstream>

namespace tessaro {
namespace {
constexpr std::string_view kPattern = "{slave}";
}

std::optional<std::vector<int>> ParseSlaveList(const std::string& text, std::string& why) {
  std::vector<int> ids;
  std::istringstream in(text);
  std::string item;
  while (std::getline(in, item, ',')) {
    const bool digits =
        !item.empty() && item.size() <= 5 &&
        std::all_of(item.begin(), item.end(), [](char c) { return c >= '0' && c <= '9'; });
    const int id = digits ? std::stoi(item) : -1;
    if (id < 0 || id > kMaxSlaveId) {
      why = "slave ID \"" + item + "\" is not a number in 0.." + std::to_string(kMaxSlaveId);
      return std::nullopt;
    }
    if (std::find(ids.begin(), ids.end(), id) != ids.end()) {
      why = "slave ID " + item + " is listed twice";
      return std::nullopt;
    }
    ids.push_back(id);
  }
  if (ids.empty() || text.back() == ',') {
    why = "the slave list \"" + text + "\" has an empty item";
    return std::nullopt;
  }
  return ids;
}

bool HasSlavePattern(const std::string& path) { return path.find(kPattern) != std::string::npos; }

std::string ExpandSlavePath(const std::string& path, int id) {
  std::string out = path;
  const std::string text = std::to_string(id);
  for (size_t at = out.find(kPattern); at != std::string::npos;
       at = out.find(kPattern, at + text.size()))
    out.replace(at, kPattern.size(), text);
  return out;
}

}  // namespace tessaro

#pragma once
// collect --slave 1,2,5: the recorders behind one gateway, collected in
// turn; "{slave}" in a file path stands for the ID.

#include <optional>
#include <string>
#include <vector>

namespace tessaro {

constexpr int kMaxSlaveId = 0xFFFF;

// The IDs of "1,2,5" in their order; nullopt, with why, for an empty item,
// a non-number, an ID out of 0..kMaxSlaveId or a repeated ID.
std::optional<std::vector<int>> ParseSlaveList(const std::string& text, std::string& why);

bool HasSlavePattern(const std::string& path);
// path with every "{slave}" replaced by id.
std::string ExpandSlavePath(const std::string& path, int id);

}  // namespace tessaro

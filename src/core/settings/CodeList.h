#pragma once
// The recorder's lists of settable codes ("askmode%d", "askivl", "askprs",
// "asksr"): codes separated by ",", where "A:B" stands for every code from A
// to B inclusive.
//
//   ReadCodeList("1,3:5,9")   // {1, 3, 4, 5, 9}
//   ReadCodeList("??")        // {}: the recorder has no such setting

#include <cstddef>
#include <string>
#include <vector>

namespace tessaro {

// Codes one list holds at most; further codes are ignored.
inline constexpr size_t kCodeListCapacity = 64;

// The codes of a list reply in the order listed. A refusal ("??...") is an
// empty list, a range with A > B adds nothing, a token without digits or
// with a code outside int is skipped, and a token that is not a range
// counts by its leading decimal integer.
std::vector<int> ReadCodeList(const std::string& reply, size_t capacity = kCodeListCapacity);

// A code as a reply gives it: its leading decimal integer (0 when none),
// limited to the range of int.
int ReplyCode(const std::string& reply);

// "1,3,4,5,9": the codes in decimal, comma-separated.
std::string CodeListText(const std::vector<int>& codes);

// Whether the list holds the code.
bool ListsCode(const std::vector<int>& codes, int code);

}  // namespace tessaro

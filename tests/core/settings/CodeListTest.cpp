// Parsing the recorder's lists of settable codes and the paste rule of a
// channel's mode.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/settings/CodeList.h"
#include "core/settings/MeasurementModes.h"
#include "core/support/Messages.h"

namespace tessaro {
namespace {

std::vector<int> Range(int first, int last) {
  std::vector<int> codes;
  for (int64_t code = first; code <= last; ++code) codes.push_back(static_cast<int>(code));
  return codes;
}

TEST(CodeList, ParsesCodesAndRangesWithinTheCapacity) {
  std::vector<int> mixed = Range(1, 60);
  for (int code : Range(100, 103)) mixed.push_back(code);
  const struct {
    const char* reply;
    std::vector<int> codes;
  } cases[] = {
      {"1,3:5,9", {1, 3, 4, 5, 9}},
      {"7:5", {}},
      {"??", {}},
      {"??CODE", {}},
      {"", {}},
      {"a,,2,x3, 4,-", {2, 4}},        // tokens without digits are skipped
      {"3:x,12abc", {3, 12}},          // not a range: the leading digits
      {"99999999999,5", {5}},          // beyond int: skipped
      {"1:2000000000", Range(1, 64)},  // capacity, without walking the range
      {"1:60,100:110,200", mixed},
      {"2147483645:2147483647", Range(2147483645, 2147483647)},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadCodeList(c.reply), c.codes) << c.reply;
  EXPECT_EQ(CodeListText({1, 3, 4}), "1,3,4");
}

TEST(PastedMode, TakesOnlyACodeTheChannelLists) {
  const ChannelModes channel{1, {1, 3, 120}};
  const std::string notPastable = LoadMessage(MsgClipboardNotPastable);
  const std::string notSettable = LoadMessage(MsgClipboardNoSettableMode);
  const struct {
    const char* text;  // nullptr: no text on the clipboard
    int code;
    std::string failure;
  } cases[] = {
      {nullptr, 0, notPastable},
      {"120", 120, ""},
      {" 3\r\n", 3, ""},
      {"0", 0, notSettable},
      {"2", 0, notSettable},
      {"abc", 0, FormatMessage(MsgNotAnInteger, "abc")},
      {"3\n4", 0, FormatMessage(MsgNotAnInteger, "3?4")},
      {"", 0, FormatMessage(MsgNotAnInteger, "")},
  };
  for (const auto& c : cases) {
    const std::string text = c.text ? c.text : "";
    const PastedMode pasted = ParsePastedMode(c.text ? &text : nullptr, channel);
    EXPECT_EQ(pasted.code, c.code) << text;
    EXPECT_EQ(pasted.failure, c.failure) << text;
  }
}

}  // namespace
}  // namespace tessaro

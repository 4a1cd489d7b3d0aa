#include "core/term/TermText.h"

#include <gtest/gtest.h>

#include "core/term/ReceivedLines.h"

namespace tessaro {
namespace {

using Lines = std::vector<std::string>;

TEST(TermTextTest, PastedTextSplitsAtEveryKindOfLineEnd) {
  struct Case {
    const char* text;
    Lines pieces;
  };
  const Case cases[] = {
      {"ver", {"ver"}},
      {"ver\r\nrtcr", {"ver", "rtcr"}},
      {"ver\r\n", {"ver", ""}},
      {"ver\nrtcr\n", {"ver", "rtcr", ""}},
      {"ver\rrtcr", {"ver", "rtcr"}},
      {"a\n\r\nb", {"a", "", "b"}},
      {"a\r\rb", {"a", "", "b"}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitPastedText(c.text), c.pieces) << c.text;
  EXPECT_EQ(Utf8Characters("aｱ漢"), 3u);
}

TEST(TermTextTest, ReceivedBytesBecomeShownLines) {
  const std::string full(255, 'x');
  struct Case {
    const char* what;
    std::string bytes;
    Lines lines;
    std::string pending;
  };
  const Case cases[] = {
      {"CR ends, LF never shows", "ver\r\nok\r", {"ver", "ok"}, ""},
      {"control bytes as dots", "\x02 0001FFFFa\x1b\x7f\r", {". 0001FFFFa.."}, ""},
      {"double-byte kept", "\x8a\xbf\r", {"\x8a\xbf"}, ""},
      {"256 bytes break at 255", full + "yz", {full}, "yz"},
      {"a full line ends at CR without a stray dot", full + "\r", {full}, ""},
      {"LF at a full line", full + "\nz", {full}, "z"},
      {"empty lines", "\r\r", {"", ""}, ""},
  };
  for (const Case& c : cases) {
    ReceivedLines received;
    Lines lines;
    for (const char b : c.bytes)
      if (auto line = received.Feed(static_cast<uint8_t>(b))) lines.push_back(*line);
    EXPECT_EQ(lines, c.lines) << c.what;
    EXPECT_EQ(received.Pending(), c.pending) << c.what;
  }
  EXPECT_EQ(ShownReplyLines(""), Lines{""});
  EXPECT_EQ(ShownReplyLines("a\nb\x01"), Lines{"a.b."});
  EXPECT_EQ(ShownReplyLines(std::string(300, 'r')),
            (Lines{std::string(255, 'r'), std::string(45, 'r')}));
}

TEST(TermTextTest, TypedLinesAreCutWithoutSplittingCharacters) {
  const std::string kanji = "\x8a\xbf";
  std::string line(254, 'a');
  line += kanji + "b";
  EXPECT_EQ(TypedLinePieces(line), (Lines{std::string(254, 'a'), kanji + "b"}));
  EXPECT_EQ(TypedLinePieces(""), Lines{""});
  EXPECT_EQ(TypedLinePieces(std::string(510, 'c')).size(), 2u);
}

}  // namespace
}  // namespace tessaro

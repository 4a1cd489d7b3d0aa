#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "core/support/CodePage.h"

namespace tessaro {
namespace {

// The characters where the Windows mapping differs from plain Shift-JIS.
struct Pair {
  const char* cp932;
  const char* utf8;
};
constexpr Pair kWindowsMapped[] = {
    {"\x81\x60", "～"},  // U+FF5E, not U+301C
    {"\x81\x61", "∥"},   // U+2225, not U+2016
    {"\x81\x7C", "－"},  // U+FF0D, not U+2212
    {"\x81\x91", "￠"},  // U+FFE0, not U+00A2
    {"\x81\x92", "￡"},  // U+FFE1, not U+00A3
    {"\x81\xCA", "￢"},  // U+FFE2, not U+00AC
};

TEST(CodePageTest, WindowsMappingBothWays) {
  for (const Pair& p : kWindowsMapped) {
    EXPECT_EQ(Cp932ToUtf8(p.cp932), p.utf8) << p.utf8;
    EXPECT_EQ(Utf8ToCp932(p.utf8), p.cp932) << p.utf8;
    EXPECT_EQ(Utf8ToCp932Exact(p.utf8), p.cp932) << p.utf8;
  }
}

TEST(CodePageTest, AsciiBackslashAndKanaPassThrough) {
  EXPECT_EQ(Cp932ToUtf8("C:\\DATA\\a~b"), "C:\\DATA\\a~b");
  EXPECT_EQ(Utf8ToCp932("C:\\DATA\\a~b"), "C:\\DATA\\a~b");
  EXPECT_EQ(Cp932ToUtf8("\xB1\xB2\xB3"), "ｱｲｳ");  // half-width kana, one byte each
  EXPECT_EQ(Utf8ToCp932("ﾃﾞｰﾀ回収"), "\xC3\xDE\xB0\xC0\x89\xF1\x8E\xFB");
  // A trail byte equal to '\' stays inside its character: "表" is 0x95 0x5C.
  EXPECT_EQ(Cp932ToUtf8("\x95\x5C"), "表");
  EXPECT_EQ(Utf8ToCp932("表示"), "\x95\x5C\x8E\xA6");
  EXPECT_EQ(Cp932ToUtf8(""), "");
  EXPECT_EQ(Utf8ToCp932Exact(""), "");
  EXPECT_EQ(Cp932ToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(CodePageTest, UnconvertibleInput) {
  // CP932 lacks emoji and Hangul: lossy form substitutes, exact form refuses.
  EXPECT_EQ(Utf8ToCp932("a😀b한c"), "a?b?c");
  EXPECT_EQ(Utf8ToCp932("a😀b", '_'), "a_b");
  EXPECT_EQ(Utf8ToCp932Exact("a😀b"), std::nullopt);
  // Broken UTF-8.
  EXPECT_EQ(Utf8ToCp932("a\xFF"
                        "b\xE3\x81"),
            "a?b?");
  EXPECT_EQ(Utf8ToCp932Exact("a\xC3"), std::nullopt);
  // Broken CP932: a lead byte before a byte that cannot trail it, then one
  // at the end of the text.
  EXPECT_EQ(Cp932ToUtf8("a\x81 b"), "a\xEF\xBF\xBD b");
  EXPECT_EQ(Cp932ToUtf8("ok\x82"), "ok\xEF\xBF\xBD");
}

TEST(CodePageTest, LongTextAndManyThreads) {
  std::string utf8;
  std::string cp932;
  for (int i = 0; i < 3000; ++i) {
    utf8 += "測定値～";
    cp932 += "\x91\xAA\x92\xE8\x92\x6C\x81\x60";
  }
  std::vector<std::thread> threads;
  std::vector<int> ok(4, 0);
  for (int t = 0; t < 4; ++t)
    threads.emplace_back(
        [&, t] { ok[t] = Utf8ToCp932(utf8) == cp932 && Cp932ToUtf8(cp932) == utf8; });
  for (auto& th : threads) th.join();
  EXPECT_EQ(ok, std::vector<int>(4, 1));
}

}  // namespace
}  // namespace tessaro

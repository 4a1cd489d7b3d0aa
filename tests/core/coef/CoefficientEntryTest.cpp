#include "core/coef/CoefficientEntry.h"

#include <gtest/gtest.h>

#include "core/collect/RecorderTuple.h"
#include "core/support/Messages.h"

namespace tessaro {
namespace {

TEST(CoefficientEntryTest, AcceptsWhatTheEditorAcceptsInItsWriteForm) {
  const std::optional<std::string> refused;
  const struct {
    int type;
    std::string typed;
    std::optional<std::string> sent;
  } cases[] = {
      {kTypeChar, "-128", "-00128"},
      {kTypeChar, "127", "+00127"},
      {kTypeChar, "128", refused},
      {kTypeChar, "+-5", refused},
      {kTypeInt16, " 4321 ", "+04321"},
      {kTypeInt16, "-32769", refused},
      {kTypeInt16, "12a", refused},
      {kTypeInt16, "", refused},
      {kTypeSInt16, "-32768", "-32768"},
      {kTypeUInt16, "65535", "+65535"},
      {kTypeUInt16, "-1", refused},
      {kTypeUInt16, "65536", refused},
      {kTypeInt32, "+2147483647", "+2147483647"},
      {kTypeInt32, "2147483648", refused},  // no silent wrap
      {kTypeInt32, "99999999999999999999", refused},
      {kTypeInt32, "-1", refused},
      {kTypeReal, "-2.250000e-03", "-2.250000e-03"},
      {kTypeReal, "1.5", "1.500000e+00"},
      {kTypeReal, "1e39", refused},  // beyond float
      {kTypeDouble, "1e39", "1.000000e+39"},
      {kTypeDouble, "1e400", refused},
      {kTypeDouble, "1.2.3", refused},
      {kTypeDouble, "-NAN", refused},
      {kTypeDouble, "e", refused},
      {kTypeMemo, "", ""},
      {kTypeMemo, std::string(40, 'm'), std::string(31, 'm')},
      {kTypeMemo16, "0123456789ABCDEF", "0123456789ABCDE"},
      {kTypeMemo16, "x" + std::string(8, ' ') + "日本語", "x" + std::string(8, ' ') + "日本語"},
      {kTypeMemo16, "xx" + std::string(8, ' ') + "日本語", "xx" + std::string(8, ' ') + "日本"},
      {kTypeMemo, "tab\there", refused},
      {kTypeMemo, "😀", refused},  // no CP932 form
      {kTypeDateTime, "26/12/08 10:23:45", "261208102345"},
      {kTypeDateTime, "26/13/08 10:23:45", refused},
      {kTypeDateTime, "261208102345", refused},
      {kTypeBit8, "81h", "129"},
      {kTypeBit8, "165", "165"},
      {kTypeBit8, "100h", refused},
      {kTypeBit16, "00A5h", "165"},
      {kTypeBit32, "80000001h", "2147483649"},
      {kTypeBit32, "4294967295", "4294967295"},
      {kTypeBit32, "4294967296", refused},
      {kTypeBit32, "-1", refused},
      {kTypeBit32, "h", refused},
      {9, "1", refused},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.type) + " " + c.typed);
    EXPECT_EQ(EntryValueText(c.type, c.typed), c.sent);
  }
}

TEST(CoefficientEntryTest, BitValuesFromTheShownText) {
  EXPECT_EQ(ShownBitValue(kTypeBit8, "A5h"), 0xA5u);
  EXPECT_EQ(ShownBitValue(kTypeBit32, "80000001h"), 0x80000001u);
  EXPECT_EQ(ShownBitValue(kTypeBit16, "0G01h"), 0u);
  EXPECT_EQ(ShownBitValue(kTypeBit16, "A5h"), 0u);  // too few digits
  EXPECT_EQ(BitValueText(0x80000001u), "2147483649");
}

TupleRow Row(const std::string& type, const std::string& value) {
  return TupleRow{{"00001", "EEP0401", type, value, "説;明"}};
}

TEST(CoefficientEntryTest, CopyAndPasteKeepFieldsWhateverTheValueHolds) {
  const TupleRow memo = Row("メモ型", "a;b;c");
  EXPECT_EQ(CoefficientClipText(memo), "P;メモ型;a;b;c");
  const std::string clip = CoefficientClipText(memo);
  const PastedCoefficient pasted = ParsePastedCoefficient(&clip, memo);
  EXPECT_EQ(pasted.failure, "");
  EXPECT_EQ(pasted.valueText, "a;b;c");
}

TEST(CoefficientEntryTest, PasteGoesThroughTheEditorsChecks) {
  const std::string refused = LoadMessage(MsgClipboardNotPastable);
  const struct {
    TupleRow row;
    std::optional<std::string> clip;
    std::string sent;  // empty: refused
  } cases[] = {
      {Row("ビット8型", "00h"), "P;ビット8型;81h", "129"},
      {Row("日付時刻型", " "), "P;日付時刻型;26/12/08 10:23:45", "261208102345"},
      {Row("整数型", "+00001"), "P;整数型;-01234\r\n", "-01234"},
      {Row("正整数型", "+00001"), "P;整数型;+00005", ""},  // another type
      {Row("実数型", "0"), "P;実数型;-NAN", ""},
      {Row("文字型", "+00000"), "P;文字型;+00300", ""},  // out of range
      {Row("メモ16型", "x"), std::string("P;メモ16型;a\x01z"), ""},
      {Row("整数型", "+00001"), "Q;整数型;1", ""},
      {Row("整数型", "+00001"), "P;整数型", ""},
      {Row("整数型", "+00001"), std::nullopt, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.clip.value_or("(no text)"));
    const PastedCoefficient pasted = ParsePastedCoefficient(c.clip ? &*c.clip : nullptr, c.row);
    EXPECT_EQ(pasted.valueText, c.sent);
    EXPECT_EQ(pasted.failure, c.sent.empty() ? refused : "");
  }
}

}  // namespace
}  // namespace tessaro

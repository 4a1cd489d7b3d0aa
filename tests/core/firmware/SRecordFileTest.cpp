#include "core/firmware/SRecordFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/support/Messages.h"
#include "support/SRecordText.h"
#include "support/TempDir.h"

namespace tessaro {
namespace {

using testing::FirmwareRecords;
using testing::JoinLines;
using testing::SRecordLine;

const std::string kHeader = SRecordLine(0, 0, {'h', 'd', 'r'});
const std::string kData1 = SRecordLine(1, 0x0100, {1, 2, 3, 4});
const std::string kData2 = SRecordLine(1, 0x0104, {5, 6});
const std::string kEnd = SRecordLine(9, 0x0100, {});

TEST(SRecordFile, AcceptsEveryAddressWidthAndLineEnd) {
  for (int type : {1, 2, 3}) {
    for (const std::string end : {"\n", "\r\n"}) {
      const auto records = FirmwareRecords(type, 5, 0x0FF0);
      SRecordFile file;
      const StepResult parsed = file.Parse(JoinLines(records, end) + "\x1A");
      ASSERT_TRUE(parsed) << "S" << type << ": " << parsed.message;
      EXPECT_EQ(file.Records(), records);
      EXPECT_EQ(file.Summary().recordsOfType[static_cast<size_t>(type)], 5);
      EXPECT_EQ(file.Summary().dataBytes, 80);
      EXPECT_EQ(file.Summary().lowAddress, 0x0FF0u);
      EXPECT_EQ(file.Summary().highAddress, 0x103Fu);
    }
  }
  SRecordFile file;
  // No final line end, lower-case hex, an S5 count and trailing blank lines.
  std::string lower = kData2;
  for (char& c : lower) c = static_cast<char>(std::tolower(c));
  lower[0] = 'S';
  const StepResult parsed = file.Parse(kHeader + "\n" + kData1 + "\n" + lower + "\n" +
                                       SRecordLine(5, 2, {}) + "\n" + kEnd + "\n\n\r\n");
  ASSERT_TRUE(parsed) << parsed.message;
  EXPECT_EQ(file.Records().size(), 5u);
  EXPECT_EQ(file.Records()[2], lower);
}

TEST(SRecordFile, RefusesWhatWouldBeSentWrong) {
  std::string badChecksum = kData2;
  badChecksum.back() = badChecksum.back() == '0' ? '1' : '0';
  std::string badCount = kData2;
  badCount[3] = static_cast<char>(badCount[3] + 1);
  const struct {
    const char* what;
    std::string text;
    std::string message;
  } cases[] = {
      {"empty", "", LoadMessage(MsgMotEmpty)},
      {"blank lines and Ctrl-Z only", "\r\n\n\x1A", LoadMessage(MsgMotEmpty)},
      {"bad checksum", JoinLines({kHeader, kData1, badChecksum, kEnd}),
       FormatMessage(MsgMotBadChecksum, 3)},
      {"bad count", JoinLines({kHeader, badCount, kEnd}), FormatMessage(MsgMotBadCount, 2)},
      {"count too small for the address", JoinLines({"S10200FD", kEnd}),
       FormatMessage(MsgMotBadCount, 1)},
      {"short line", JoinLines({kData1.substr(0, kData1.size() - 4), kEnd}),
       FormatMessage(MsgMotBadCount, 1)},
      {"S5 count mismatch", JoinLines({kData1, kData2, SRecordLine(5, 3, {}), kEnd}),
       FormatMessage(MsgMotRecordCount, 3, 3u, 2u)},
      {"S6 count mismatch", JoinLines({kData1, SRecordLine(6, 0, {}), kEnd}),
       FormatMessage(MsgMotRecordCount, 2, 0u, 1u)},
      {"no data records", JoinLines({kHeader, kEnd}), LoadMessage(MsgMotNoData)},
      {"no end record", JoinLines({kHeader, kData1}), LoadMessage(MsgMotNoEnd)},
      {"two end records", JoinLines({kData1, kEnd, kEnd}), FormatMessage(MsgMotAfterEnd, 3)},
      {"data after the end", JoinLines({kData1, kEnd, kData2}), FormatMessage(MsgMotAfterEnd, 3)},
      {"blank line between records", JoinLines({kData1, "", kEnd}),
       FormatMessage(MsgMotNotRecord, 2)},
      {"S4", JoinLines({kData1, "S4030000FC", kEnd}), FormatMessage(MsgMotNotRecord, 2)},
      {"no S", JoinLines({kData1.substr(1), kEnd}), FormatMessage(MsgMotNotRecord, 1)},
      {"not hex", JoinLines({kData1, "S1050000ZZ00F9", kEnd}), FormatMessage(MsgMotNotRecord, 2)},
      {"bare CR inside", kData1 + "\r" + kEnd + "\n", FormatMessage(MsgMotNotRecord, 1)},
      {"Ctrl-Z inside", kData1 + "\n\x1A\n" + kEnd + "\n", FormatMessage(MsgMotNotRecord, 2)},
      {"binary",
       std::string("\x7F"
                   "ELF\x02\x01\x01\0\0\0",
                   10),
       FormatMessage(MsgMotNotRecord, 1)},
      {"non-ASCII", JoinLines({kData1, "S1\xE3\x81\x82", kEnd}), FormatMessage(MsgMotNotRecord, 2)},
      {"data past the 32-bit end",
       JoinLines({SRecordLine(3, 0xFFFFFFFE, {1, 2, 3}), "S70500000000FA"}),
       FormatMessage(MsgMotNotRecord, 1)},
  };
  for (const auto& c : cases) {
    SRecordFile file;
    const StepResult parsed = file.Parse(c.text);
    EXPECT_FALSE(parsed) << c.what;
    EXPECT_EQ(parsed.message, c.message) << c.what;
    EXPECT_TRUE(file.Records().empty()) << c.what;
  }
}

TEST(SRecordFile, LoadReadsTheWholeFileOrSaysWhyNot) {
  TempDir dir;
  const std::string text = JoinLines(FirmwareRecords(2, 3), "\r\n");
  SRecordFile file;
  ASSERT_TRUE(file.Load(dir.WriteFile("GOOD.MOT", text)));
  EXPECT_EQ(file.Records().size(), 5u);

  const StepResult missing = file.Load(dir.Join("MISSING.MOT"));
  EXPECT_EQ(missing.message, LoadMessage(MsgMotOpenFailed));
  EXPECT_FALSE(missing.reason.empty());
  EXPECT_TRUE(file.Records().empty());
  EXPECT_EQ(file.Load(dir.Path()).message, LoadMessage(MsgMotOpenFailed));  // a folder
  const std::string fifo = dir.Join("FIFO.MOT");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(file.Load(fifo).message, LoadMessage(MsgMotOpenFailed));  // never waits on it
  EXPECT_EQ(file.Load(dir.WriteFile("EMPTY.MOT", "")).message, LoadMessage(MsgMotEmpty));
}

}  // namespace
}  // namespace tessaro

#include "sim/Recorder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "sim/RecordGenerator.h"
#include "sim/SimCalendar.h"
#include "support/SimFixture.h"

namespace tessaro::sim {
namespace {

using Bytes = std::vector<uint8_t>;

std::string Ask(Recorder& recorder, const std::string& command) {
  const SimReply reply = recorder.Execute(command);
  EXPECT_FALSE(reply.transfer) << command;
  return reply.text;
}

// Walks an area image by the length bytes, as a reader does, from offset
// `start`; the offset of the tuple with this number, or -1.
int64_t FindTuple(const Bytes& image, size_t start, int number) {
  size_t at = start;
  if (at + 2 > image.size() || (image[at] << 8 | image[at + 1]) != 0) return -1;
  while (at + 3 <= image.size()) {
    const int n = image[at] << 8 | image[at + 1];
    if (n == 0xFFFF) return -1;
    if (n == number) return static_cast<int64_t>(at);
    if (static_cast<int8_t>(image[at + 2]) < 1) return -1;
    at += image[at + 2];
  }
  return -1;
}

int64_t Int32At(const Bytes& image, int64_t tuple) {
  const size_t v = static_cast<size_t>(tuple) + 6;
  return static_cast<int32_t>(image[v] << 24 | image[v + 1] << 16 | image[v + 2] << 8 |
                              image[v + 3]);
}

TEST(SimRecorder, AnswersTheCommandVocabulary) {
  Recorder recorder(DefaultProfile());
  EXPECT_EQ(Ask(recorder, ""), "??CMD");
  EXPECT_EQ(Ask(recorder, "hello"), "??CMD");
  EXPECT_EQ(Ask(recorder, "romrX"), "??CMD");
  EXPECT_EQ(Ask(recorder, "ver"), "CVX-4A Ver1.20");
  EXPECT_EQ(Ask(recorder, "romr100"), "41");
  EXPECT_EQ(Ask(recorder, "romr120"), "4");
  EXPECT_EQ(Ask(recorder, "romr108"), "4");
  EXPECT_EQ(Ask(recorder, "romr109"), "8");
  EXPECT_EQ(Ask(recorder, "romr999"), "??");
  EXPECT_EQ(Ask(recorder, "eepr210"), "CX4A00012345");
  EXPECT_EQ(Ask(recorder, "eepr2000"), "1");
  EXPECT_EQ(Ask(recorder, "eepr2002"), "3");
  EXPECT_EQ(Ask(recorder, "eepr260"), "??");
  EXPECT_EQ(Ask(recorder, "eepr3000"), "304");
  EXPECT_EQ(Ask(recorder, "battr620"), "SITE-A");
  EXPECT_EQ(Ask(recorder, "battr624"), "??CODE");
  EXPECT_EQ(Ask(recorder, "askmode1"), "1:3,120,300");
  EXPECT_EQ(Ask(recorder, "askmode0"), "??");
  EXPECT_EQ(Ask(recorder, "askmode9"), "??");
  EXPECT_NE(Ask(recorder, "askivl").find("1001:1059"), std::string::npos);
  EXPECT_EQ(Ask(recorder, "filer0,802"), "??CODE");
  EXPECT_EQ(Ask(recorder, "filer5,802"), "??CODE");
  EXPECT_EQ(Ask(recorder, "filer1,999"), "??");
  EXPECT_EQ(Ask(recorder, "xdmdd5"), "??CODE");
  EXPECT_EQ(Ask(recorder, "xdmzz"), "??CMD");
}

TEST(SimRecorder, WritesStoreAndAnswerTheStoredValue) {
  Recorder recorder(DefaultProfile());
  EXPECT_EQ(Ask(recorder, "eepw202,3"), "3");
  EXPECT_EQ(Ask(recorder, "eepr202"), "3");
  EXPECT_EQ(Ask(recorder, "eepw2001,+00120"), "120");
  EXPECT_EQ(Ask(recorder, "eepr2001"), "120");
  EXPECT_EQ(Ask(recorder, "eepw202,abc"), "??");
  EXPECT_EQ(Ask(recorder, "eepw999,1"), "??CODE");
  EXPECT_EQ(Ask(recorder, "battw621,TEXT, WITH COMMA"), "TEXT, WITH COMMA");
  EXPECT_EQ(Ask(recorder, "battr621"), "TEXT, WITH COMMA");
  EXPECT_EQ(Ask(recorder, "battw621,"), "");
  EXPECT_EQ(Ask(recorder, "battw699,x"), "??CODE");
  EXPECT_EQ(Ask(recorder, "filew2,620,NEW MEMO"), "NEW MEMO");
  EXPECT_EQ(Ask(recorder, "filer2,620"), "NEW MEMO");
  EXPECT_EQ(Ask(recorder, "filer1,620"), "NEW RING");
  EXPECT_EQ(Ask(recorder, "filew1,800,26/12/24 18:00:00"), "261224180000");
  EXPECT_EQ(recorder.FileTupleText(0, 800), "261224180000");
  EXPECT_EQ(Ask(recorder, "romw100,1"), "??CMD");
}

TEST(SimRecorder, ClockRunsAndIsSettable) {
  RecorderProfile profile = DefaultProfile();
  profile.clock = DateTimeFields{2026, 12, 31, 23, 59, 58};
  Recorder recorder(profile);
  const std::string first = Ask(recorder, "rtcr");
  EXPECT_TRUE(first == "261231235958" || first == "261231235959") << first;
  EXPECT_EQ(Ask(recorder, "rtcw000229120000"), "000229120000");
  const auto read = ParseClockDigits(Ask(recorder, "rtcr"));
  ASSERT_TRUE(read);
  const int64_t drift = CalendarSeconds(*read) - CalendarSeconds({2000, 2, 29, 12, 0, 0});
  EXPECT_GE(drift, 0);
  EXPECT_LE(drift, 2);
  EXPECT_EQ(Ask(recorder, "rtcw000230120000"), "??");
  EXPECT_EQ(Ask(recorder, "rtcw26120810234"), "??");
}

TEST(SimRecorder, TransferCommandsCarryTheAreaImages) {
  Recorder recorder(DefaultProfile());
  const SimReply rom = recorder.Execute("xdm1krr");
  ASSERT_TRUE(rom.transfer);
  EXPECT_EQ(rom.text, "!!");
  EXPECT_EQ(rom.mode, TransferMode::Xdm1k);
  EXPECT_EQ(rom.data, recorder.AreaImage(SimArea::Rom));
  EXPECT_EQ(recorder.Execute("mnpee").mode, TransferMode::Mnp);
  EXPECT_EQ(recorder.Execute("mnpee").data, recorder.AreaImage(SimArea::Eep));
  EXPECT_EQ(recorder.Execute("xdmbb").mode, TransferMode::Xdm);
  EXPECT_EQ(recorder.Execute("xdmbb").data, recorder.AreaImage(SimArea::Batt));
  EXPECT_EQ(recorder.Execute("xdm1kdd2").data, recorder.RingBytes(1));
  const RecorderImages images = BuildRecorderImages(DefaultProfile());
  EXPECT_EQ(images.rom, rom.data);
  ASSERT_EQ(images.rings.size(), 4u);
  EXPECT_EQ(images.rings[0], recorder.RingBytes(0));
  // The attribute size is the BATT image with its FILE groups.
  EXPECT_EQ(Ask(recorder, "romr106"), std::to_string(recorder.AreaImage(SimArea::Batt).size()));
}

TEST(SimRecorder, FilePointersLocateEachRingsGroup) {
  Recorder recorder(DefaultProfile());
  const Bytes batt = recorder.AreaImage(SimArea::Batt);
  for (int r = 0; r < recorder.RingCount(); ++r) {
    const int64_t pointerTuple = FindTuple(batt, 0, 640 + r);
    ASSERT_GE(pointerTuple, 0) << r;
    EXPECT_EQ(batt[static_cast<size_t>(pointerTuple) + 3], 2);  // 32-bit integer
    const int64_t group = Int32At(batt, pointerTuple);
    const int64_t byteCount = FindTuple(batt, static_cast<size_t>(group), 806);
    ASSERT_GE(byteCount, 0) << r;
    EXPECT_EQ(std::to_string(Int32At(batt, byteCount)), *recorder.FileTupleText(r, 806));
    const int64_t start = FindTuple(batt, static_cast<size_t>(group), 800);
    ASSERT_GE(start, 0);
    EXPECT_EQ(batt[static_cast<size_t>(start) + 3], 6);  // date-time
  }
  EXPECT_EQ(FindTuple(batt, 0, 640 + recorder.RingCount()), -1);
}

TEST(SimRecorder, RecordCountRuleMatchesByteCount) {
  Recorder recorder(DefaultProfile());
  for (int r = 0; r < recorder.RingCount(); ++r) {
    const int64_t dataCount = std::stoll(*recorder.FileTupleText(r, 802));
    const int64_t byteCount = std::stoll(*recorder.FileTupleText(r, 806));
    const int64_t records = dataCount + (byteCount > 0 ? 1 : 0);
    EXPECT_EQ(records, DefaultProfile().rings[static_cast<size_t>(r)].records) << r;
    EXPECT_EQ(byteCount, records * recorder.RecordSize(r)) << r;
    EXPECT_EQ(recorder.RecordCount(r), records);
  }
  EXPECT_EQ(recorder.RecordCount(3), 0);
  EXPECT_TRUE(recorder.RingBytes(3).empty());
  // The stop time is the last record's time.
  const RingProfile ring = DefaultProfile().rings[0];
  EXPECT_EQ(*recorder.FileTupleText(0, 801), ClockDigits(RecordTime(ring, ring.records - 1)));
  EXPECT_EQ(*recorder.FileTupleText(0, 801), "261201225310");
}

TEST(SimRecorder, NewRingStraddlesTheEndOfTheDataArea) {
  Recorder recorder(DefaultProfile());
  const int64_t start = std::stoll(*recorder.FileTupleText(0, 880));
  const int64_t stop = std::stoll(*recorder.FileTupleText(0, 881));
  const int64_t bytes = std::stoll(*recorder.FileTupleText(0, 806));
  const int64_t area = std::stoll(Ask(recorder, "romr107"));
  EXPECT_GT(start + bytes, area);
  EXPECT_EQ(stop, (start + bytes) % area);
  const Bytes data = recorder.RingBytes(0);
  ASSERT_EQ(static_cast<int64_t>(data.size()), bytes);
  const int size = recorder.RecordSize(0);
  for (int64_t e = 0; e < recorder.RecordCount(0); ++e) {
    const Bytes record(data.begin() + e * size, data.begin() + (e + 1) * size);
    ASSERT_EQ(record, recorder.GeneratedRecord(0, e)) << e;
  }
  EXPECT_EQ(recorder.OverwriteIndex(0), -1);
  EXPECT_EQ(recorder.BatteryLowIndex(0), -1);
  EXPECT_EQ(*recorder.FileTupleText(0, 805), "000000000000");
}

TEST(SimRecorder, OverwrittenRingKeepsOnlyItsNewestRecords) {
  Recorder recorder(SimFixture::Profile("overwritten"));
  EXPECT_EQ(Ask(recorder, "romr107"), "4000");
  EXPECT_EQ(Ask(recorder, "filer1,806"), "4800");
  EXPECT_EQ(recorder.OverwriteIndex(0), 200);
  const Bytes data = recorder.RingBytes(0);
  const int size = recorder.RecordSize(0);
  auto record = [&](int64_t e) {
    return Bytes(data.begin() + e * size, data.begin() + (e + 1) * size);
  };
  for (int64_t e = 200; e < recorder.RecordCount(0); ++e) {
    ASSERT_EQ(record(e), recorder.GeneratedRecord(0, e)) << e;
  }
  // The oldest records were overwritten by the newest (a 4000-byte ring).
  EXPECT_EQ(record(0), recorder.GeneratedRecord(0, 1000));
  EXPECT_NE(record(0), recorder.GeneratedRecord(0, 0));
  // Battery LOW at record 900: its time lies between start and stop.
  EXPECT_EQ(recorder.BatteryLowIndex(0), 900);
  EXPECT_EQ(*recorder.FileTupleText(0, 805),
            ClockDigits(RecordTime(recorder.Profile().rings[0], 900)));
}

TEST(SimRecorder, GeneratedValuesAreStoredAsARecorderStoresThem) {
  const RecorderProfile wind = SimFixture::Profile("wind");
  Recorder recorder(wind);
  // Mode 602: speed and direction, then the time of day in BCD.
  const RingProfile& ring0 = wind.rings[0];
  for (int64_t e : {1, 37, 49}) {
    const Bytes v = GenerateChannelValue(ring0, 0, 1, e);
    ASSERT_EQ(v.size(), 5u);
    const DateTimeFields t = RecordTime(ring0, e);
    EXPECT_EQ(v[2], ToBcd(t.hour));
    EXPECT_EQ(v[3], ToBcd(t.minute));
    EXPECT_EQ(v[4], ToBcd(t.second));
    EXPECT_EQ((v[0] & 0x80) != 0, e % 50 == 49);  // the missing-value flag
  }
  // Mode 138 (PULSE.TIME) first channel: a valid 6-byte time near the record's.
  const RingProfile& ring1 = wind.rings[1];
  ASSERT_EQ(ring1.channels[0].mode, 138);
  const Bytes pulse = GenerateChannelValue(ring1, 1, 0, 10);
  ASSERT_EQ(pulse.size(), 6u);
  const auto when = ParseClockDigits(BcdDigits(pulse.data()));
  ASSERT_TRUE(when);
  const int64_t offset = CalendarSeconds(*when) - CalendarSeconds(RecordTime(ring1, 10));
  EXPECT_GE(offset, 0);
  EXPECT_LT(offset, 10);
  // Analogue values are big-endian 16-bit words.
  const RingProfile analogueRing = DefaultProfile().rings[0];
  const Bytes analogue = GenerateChannelValue(analogueRing, 0, 0, 3);
  ASSERT_EQ(analogue.size(), 2u);
  EXPECT_EQ(static_cast<int16_t>(analogue[0] << 8 | analogue[1]), (3 * 3 * 37) % 4001 - 2000);
}

TEST(SimRecorder, FirmwareLoaderChecksSRecords) {
  Recorder recorder(DefaultProfile());
  const std::string s1 = "S1130000285F245F2212226A000424290008237C2A";
  EXPECT_EQ(Ask(recorder, s1), "??");  // not before "eromoff"
  EXPECT_EQ(Ask(recorder, "eromoff"), "??");
  EXPECT_EQ(Ask(recorder, "selectrome"), "!!");
  EXPECT_EQ(Ask(recorder, "eromoff"), "!!");
  EXPECT_EQ(Ask(recorder, "S00F000068656C6C6F202020202000003C"), "!!");
  EXPECT_EQ(Ask(recorder, s1), "!!");
  EXPECT_EQ(Ask(recorder, "S1130000285F245F2212226A000424290008237C2B"), "??");  // checksum
  EXPECT_EQ(Ask(recorder, "S1130000285F245F2212226A0004242900"), "??");          // short
  EXPECT_EQ(Ask(recorder, ""), "!!");
  EXPECT_EQ(Ask(recorder, "S9030000FC"), "!!");
  EXPECT_FALSE(recorder.FirmwareConfirmed());
  EXPECT_EQ(Ask(recorder, "eromon"), "!!");
  EXPECT_TRUE(recorder.FirmwareConfirmed());
  EXPECT_EQ(recorder.FirmwareLineCount(), 4);
  const auto image = recorder.FirmwareImage();
  ASSERT_EQ(image.size(), 16u);
  EXPECT_EQ(image.at(0), 0x28);
  EXPECT_EQ(image.at(15), 0x7C);
  EXPECT_EQ(Ask(recorder, ""), "??CMD");  // back to commands
}

TEST(SimRecorder, SlaveRecordersHaveTheirOwnSerial) {
  Recorder one(DefaultProfile(), 1);
  Recorder five(DefaultProfile(), 5);
  EXPECT_NE(Ask(one, "eepr210"), Ask(five, "eepr210"));
  EXPECT_LE(Ask(five, "eepr210").size(), 16u);
  Ask(one, "eepw202,2");
  EXPECT_EQ(Ask(five, "eepr202"), "4");
}

}  // namespace
}  // namespace tessaro::sim

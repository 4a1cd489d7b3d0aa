#pragma once
// Builds RLB recorder data files for tests byte by byte from the file
// layout, without the program's writer, so that readers are checked against
// the format itself. Either edit the areas of the default file (one ring of
// two 2-byte channels, three records) or describe one ring by its channels
// and records:
//
//   TestRlbFile img;                          // the default file
//   img.groups[0].Remove(800);                // edit the ring's group tuples
//   std::string bytes = img.Build();
//
//   TestRlb rlb;
//   rlb.channels = {{1, 1001, -1, 1, 2}};
//   rlb.records = {Be16(15), Be16(-3)};
//   ASSERT_TRUE(TestRlbFile(rlb).Write(path));

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/support/DateTime.h"
#include "support/RecorderArea.h"

namespace tessaro {

struct TestChannel {
  int mode = 1;
  int interval = 1001;
  int decimals = 0;
  int dataType = 1;
  int bytes = 2;
};

// One ring and the recorder it came from.
struct TestRlb {
  std::string version = "CVX-100 V1.23";
  int model = 12;
  int subModel = 3;
  int romVersion = 101;
  std::string serial = "SN-000123";
  std::string date = "2026/11/30";
  std::array<std::string, 8> memos = {"memo one", "", "", "", "", "", "", "last memo"};
  RecorderDateTime start = EncodeDateTime({2026, 12, 8, 10, 0, 0});
  RecorderDateTime stop = EncodeDateTime({2026, 12, 8, 11, 0, 0});
  bool hasBatteryLow = false;
  RecorderDateTime batteryLow{};
  int64_t dataAreaSize = -1;  // ROM tuple 107; left out when negative
  std::vector<TestChannel> channels = {TestChannel{}};
  // Stored bytes of each record (the sum of the channels' bytes each).
  std::vector<std::vector<uint8_t>> records;
  // The ring's first record stands this many records into the ring data
  // area; the records before it are the newest ones, wrapped around.
  int64_t rotation = 0;
};

struct TestRlbFile {
  std::string version = "CVX-100 V1.23";
  int model = 1234;
  int subModel = 5;
  int romVersion = 300;
  RecorderDateTime collectionTime = EncodeDateTime({2026, 12, 8, 10, 23, 45});
  int ringTableSize = 32;
  int storedRings = 1;

  RecorderArea rom;
  RecorderArea eep;
  RecorderArea batt;                 // FILE pointers are filled in by Build()
  std::vector<RecorderArea> groups;  // ring groups, group n at FILE pointer of ring n
  std::string ringData;              // the ring data area
  // Start pointer of ring 0, from the ring data area start (tuple 880), and
  // the ring's byte count (881) set to the ring data size; -1 leaves what
  // the group holds.
  int64_t startPointer = 0;
  // Ring table entries; by default entry n points at group n, the rest zero.
  std::map<int, int64_t> ringTableOverride;
  std::string trailer = "";  // bytes after the end marker

  static constexpr size_t kAreaPad = 128;
  static constexpr size_t kGroupSpacing = 2048;
  static constexpr size_t kBattTuplePart = 1024;

  // Records 0..2 at 1 s from 26/12/08 10:00:00: channel 0 (mode 1) holds
  // 100 + e, channel 1 (mode 2, one decimal) -(e + 1).
  TestRlbFile();
  explicit TestRlbFile(const TestRlb& ring);

  // Offsets found while building.
  int64_t romOffset = 0, eepOffset = 0, battOffset = 0, dataStart = 0, dataEnd = 0;

  // The file's bytes; empty when the header arithmetic is wrong.
  std::string Build();
  // Builds and writes the file; false when it cannot be written.
  bool Write(const std::string& path);
};

// Stored forms of channel values.
std::vector<uint8_t> Be16(int value);
std::vector<uint8_t> Be32(int64_t value);
std::vector<uint8_t> StoredDateTime(const DateTimeFields& fields);
std::vector<uint8_t> Concat(const std::vector<std::vector<uint8_t>>& parts);

}  // namespace tessaro

#pragma once
// Builds small RLB recorder data files for tests: one ring with the given
// channels and records (bytes as the recorder stores them), written through
// the program's own RLB writer so that the layout is the real one.
//
//   TestRlb rlb;
//   rlb.channels = {{1, 1001, -1, 1, 2}};
//   rlb.records = {Be16(15), Be16(-3)};
//   ASSERT_TRUE(WriteTestRlb(path, rlb));

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/support/DateTime.h"

namespace tessaro {

struct TestChannel {
  int mode = 1;
  int interval = 1001;
  int decimals = 0;
  int dataType = 1;
  int bytes = 2;
};

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

// Writes the file; false when the writer fails.
bool WriteTestRlb(const std::string& path, const TestRlb& rlb);

// Stored forms of channel values.
std::vector<uint8_t> Be16(int value);
std::vector<uint8_t> Be32(int64_t value);
std::vector<uint8_t> StoredDateTime(const DateTimeFields& fields);
std::vector<uint8_t> Concat(const std::vector<std::vector<uint8_t>>& parts);

}  // namespace tessaro

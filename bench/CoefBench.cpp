// Building the coefficient tables of a recorder with 512 FILE groups, the
// work a read does after the three area transfers: locating the groups,
// walking every area, the value texts and the descriptions. The areas are
// built in memory as the simulator's recorder lays them out; the groups are
// found once by the ROM stride and once by their own FILE pointers.
//
// usage: coef_bench [rounds]   (5 when not given; the best round is printed)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/coef/CoefficientReader.h"
#include "core/recorder/TupleNumbers.h"
#include "core/support/DefinitionDb.h"
#include "core/support/SilentProgress.h"
#include "sim/TupleArea.h"

namespace {

using namespace tessaro;
using Clock = std::chrono::steady_clock;

constexpr int kGroups = 512;
constexpr int kChannels = 8;

// A FILE group like a recorder's: channel series, memos, times, counts.
sim::TupleArea Group(int ring) {
  sim::TupleArea group;
  group.Put(sim::MakeIntTuple(tuples::kChannelCount, kTypeInt16, kChannels));
  for (int c = 0; c < kChannels; ++c) {
    group.Put(
        sim::MakeIntTuple(static_cast<uint16_t>(tuples::kModeSeries.newer + c), kTypeInt16, 1));
    group.Put(sim::MakeIntTuple(static_cast<uint16_t>(tuples::kIntervalSeries.newer + c),
                                kTypeInt16, 304));
    group.Put(
        sim::MakeIntTuple(static_cast<uint16_t>(tuples::kSizeSeries.newer + c), kTypeInt16, 2));
  }
  for (int k = 0; k < tuples::kFileMemoLines; ++k)
    group.Put(sim::MakeTextTuple(static_cast<uint16_t>(tuples::kMemo + k), kTypeMemo16,
                                 "RING " + std::to_string(ring)));
  group.Put(sim::MakeDateTimeTuple(tuples::kStartTime, {2026, 12, 8, 10, 0, 0}));
  group.Put(sim::MakeDateTimeTuple(tuples::kStopTime, {2026, 12, 9, 10, 0, 0}));
  group.Put(sim::MakeIntTuple(tuples::kDataCount, kTypeInt32, 1000 + ring));
  group.Put(sim::MakeIntTuple(tuples::kByteCount, kTypeInt32, 16000));
  group.Put(sim::MakeRealTuple(900, kTypeReal, 1.5));
  group.Put(sim::MakeIntTuple(901, kTypeBit16, 0xA5));
  return group;
}

TupleAreaImages Images(bool byStride) {
  sim::TupleArea rom, eep, batt;
  rom.Put(sim::MakeIntTuple(tuples::kRomRingCount, kTypeInt16, kGroups));
  eep.Put(sim::MakeIntTuple(tuples::kChannelCount, kTypeInt16, kChannels));
  std::vector<std::vector<uint8_t>> groups;
  size_t stride = 0;
  for (int r = 0; r < kGroups; ++r) {
    groups.push_back(Group(r).Encode());
    stride = std::max(stride, groups.back().size());
  }
  for (int r = 0; r < kGroups; ++r)
    batt.Put(sim::MakeIntTuple(static_cast<uint16_t>(tuples::kFilePointer + r), kTypeInt32, 0));
  const size_t first = batt.EncodedSize();
  for (int r = 0; r < kGroups; ++r)
    batt.Put(sim::MakeIntTuple(static_cast<uint16_t>(tuples::kFilePointer + r), kTypeInt32,
                               static_cast<int64_t>(first + stride * static_cast<size_t>(r))));
  if (byStride)
    rom.Put(sim::MakeIntTuple(tuples::kRomFileStride, kTypeInt32, static_cast<int64_t>(stride)));

  TupleAreaImages images{rom.Encode(), eep.Encode(), batt.Encode()};
  for (size_t r = 0; r < groups.size(); ++r) {
    images.batt.resize(first + stride * r, 0);
    images.batt.insert(images.batt.end(), groups[r].begin(), groups[r].end());
  }
  return images;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  DefinitionDb db;
  if (!db.Open(DefinitionDb::DefaultPath()))
    std::fprintf(stderr, "coef_bench: no %s, descriptions stay empty\n",
                 DefinitionDb::DefaultPath().c_str());
  for (const bool byStride : {true, false}) {
    const TupleAreaImages images = Images(byStride);
    double best = 1e9;
    size_t rows = 0;
    for (int round = 0; round < rounds; ++round) {
      SilentProgress progress;
      CoefficientTables tables;
      const auto start = Clock::now();
      const StepResult built = BuildCoefficientTables(images, kGroups, db, progress, tables);
      const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
      if (!built) {
        std::fprintf(stderr, "coef_bench: %s\n", built.message.c_str());
        return 1;
      }
      best = std::min(best, ms);
      rows = 0;
      for (const TupleTable& table : tables.tables) rows += table.rows.size();
    }
    std::printf("%s: %d FILE groups, %zu tabs of %zu rows (BATT image %zu bytes): %.1f ms\n",
                byStride ? "by ROM stride" : "by FILE pointers", kGroups, kGroups + size_t{3}, rows,
                images.batt.size(), best);
  }
  return 0;
}

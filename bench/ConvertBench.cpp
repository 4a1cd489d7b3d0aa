// Conversion speed: builds an RLB file of many records and eight channels,
// converts it into both CSV forms and compares the time with writing the
// same bytes with a plain buffered write (stdio, one fwrite per line, then
// fsync, as the converter also syncs its file before renaming it).
//
//   convert_bench [records] [folder]     (defaults: 1000000, a temporary folder)

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/collect/CsvWriter.h"
#include "core/collect/DataFileAnalysis.h"
#include "core/support/DefinitionDb.h"
#include "core/support/ProgressReporter.h"
#include "support/TestRlbFile.h"

namespace tessaro {
namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

class QuietProgress : public ProgressReporter {
 public:
  void SetCaption(const std::string&) override {}
  void SetMessage(const std::string&) override {}
  void FlashError(const std::string& message) override {
    std::fprintf(stderr, "%s\n", message.c_str());
  }
  void SetPercent(int) override { ++calls; }
  bool CancelRequested() const override { return false; }
  int calls = 0;
};

TestRlb EightChannels(int64_t records) {
  TestRlb rlb;
  rlb.channels = {{1, 1001, -1, 1, 2},  {2, 1001, -2, 1, 2},  {3, 1001, 0, 10, 2},
                  {1, 1001, -1, 11, 2}, {120, 1001, 0, 2, 4}, {300, 1001, 0, 21, 2},
                  {159, 1001, 0, 1, 2}, {1, 1001, -3, 1, 2}};
  rlb.records.reserve(static_cast<size_t>(records));
  for (int64_t i = 0; i < records; ++i) {
    const int v = static_cast<int>(i % 20000) - 10000;
    rlb.records.push_back(
        Concat({Be16(v), Be16(v / 3), Be16(static_cast<int>(i % 60000)), Be16(-v), Be32(i * 7),
                Be16(static_cast<int>(i & 0xFFFF)), Be16(static_cast<int>(i % 17)), Be16(v * 2)}));
  }
  rlb.rotation = records / 3;  // the ring wraps once
  return rlb;
}

// Writes the CSV's lines again with stdio, one fwrite per line.
double PlainWrite(const std::string& csv, const std::string& path) {
  const auto start = Clock::now();
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return -1;
  size_t at = 0;
  while (at < csv.size()) {
    size_t end = csv.find('\n', at);
    end = end == std::string::npos ? csv.size() : end + 1;
    std::fwrite(csv.data() + at, 1, end - at, f);
    at = end;
  }
  std::fflush(f);
  ::fsync(::fileno(f));
  std::fclose(f);
  return Seconds(start);
}

std::string ReadAll(const std::string& path) {
  std::string out;
  if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
    char buffer[1 << 16];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) out.append(buffer, n);
    std::fclose(f);
  }
  return out;
}

int Run(int64_t records, std::string folder) {
  if (folder.empty()) {
    char pattern[] = "/tmp/convert_bench.XXXXXX";
    if (!::mkdtemp(pattern)) return 1;
    folder = pattern;
  }
  folder += "/";
  DefinitionDb db;
  if (!db.OpenDefault()) {
    std::fprintf(stderr, "cannot open %s\n", DefinitionDb::DefaultPath().c_str());
    return 1;
  }
  const std::string rlbPath = folder + "BENCH.RLB";
  auto start = Clock::now();
  if (!TestRlbFile(EightChannels(records)).Write(rlbPath)) {
    std::fprintf(stderr, "cannot write %s\n", rlbPath.c_str());
    return 1;
  }
  std::printf("records %lld, 8 channels, RLB built in %.2f s\n", static_cast<long long>(records),
              Seconds(start));

  for (const CsvType type : {CsvType::Corvex, CsvType::Q5}) {
    const char* name = type == CsvType::Q5 ? "Q5" : "Corvex";
    DataFileInfo info;
    info.rlbPath = rlbPath;
    start = Clock::now();
    if (!AnalyseDataFile(info, db, folder)) return 1;
    const double analysis = Seconds(start);
    const std::string csvPath = folder + "BENCH_" + name + ".CSV";
    QuietProgress progress;
    start = Clock::now();
    const StepResult result = WriteCsv(type, info, csvPath, progress);
    const double convert = Seconds(start);
    if (!result) return 1;
    const std::string csv = ReadAll(csvPath);
    const double plain = PlainWrite(csv, folder + "PLAIN.CSV");
    std::printf(
        "%-6s  analysis %.3f s (work copy), CSV %.3f s, %.0f records/s, %.1f MB, "
        "plain write %.3f s, ratio %.2f, %d progress calls\n",
        name, analysis, convert, static_cast<double>(records) / convert, csv.size() / 1e6, plain,
        convert / plain, progress.calls);
    ::unlink(csvPath.c_str());
    ::unlink((folder + "PLAIN.CSV").c_str());
  }
  ::unlink(rlbPath.c_str());
  ::rmdir(folder.c_str());
  return 0;
}

}  // namespace
}  // namespace tessaro

int main(int argc, char** argv) {
  const int64_t records = argc > 1 ? std::atoll(argv[1]) : 1000000;
  return tessaro::Run(records, argc > 2 ? argv[2] : "");
}

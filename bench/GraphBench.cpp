// Graph speed and memory: builds an RLB file of many records and eight
// channels (in a child process, so that building it does not count), then
// opens it for the graph at 1600x900 without a display and prints the time
// to the first drawn graph, the time of each zoom step (the reduction, the
// series and the drawing) and the process's peak memory.
//
//   graph_bench [records] [folder]     (defaults: 1000000, a temporary folder)

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QPixmap>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "core/graph/GraphSource.h"
#include "core/support/DefinitionDb.h"
#include "support/TestRlbFile.h"
#include "ui/graph/GraphView.h"

namespace tessaro {
namespace {

using Clock = std::chrono::steady_clock;

double Millis(Clock::time_point since) {
  return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

// CPU time of the process: on a shared machine wall time also counts the
// time other programs had the processor.
double CpuMillis() {
  timespec now{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double PeakMegabytes() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Volt, temperature, humidity, a 32-bit count, combined wind with a missing
// value every 1000 records, wind direction, a date-time (not drawn) and a
// signed value: eight channels, 22 bytes a record.
bool WriteFile(const std::string& path, int64_t records) {
  TestRlb rlb;
  rlb.channels = {{1, 1001, -1, 1, 2},  {2, 1001, -1, 1, 2},   {3, 1001, -1, 10, 2},
                  {120, 1001, 0, 2, 4}, {600, 1001, -1, 1, 2}, {159, 1001, 0, 1, 2},
                  {138, 1001, 0, 6, 6}, {1, 1001, -2, 11, 2}};
  rlb.records.reserve(static_cast<size_t>(records));
  for (int64_t i = 0; i < records; ++i) {
    const int wave = static_cast<int>((i * 7) % 2000) - 1000;
    const std::vector<uint8_t> wind =
        i % 1000 == 999
            ? std::vector<uint8_t>{0x80, 0}
            : std::vector<uint8_t>{static_cast<uint8_t>(i % 50), static_cast<uint8_t>(i % 256)};
    rlb.records.push_back(
        Concat({Be16(wave), Be16(wave / 4), Be16(static_cast<int>(i % 1000)), Be32(i), wind,
                Be16(static_cast<int>(i % 18)),
                StoredDateTime({2026, 1, 1, 0, 0, static_cast<int>(i % 60)}), Be16(-wave)}));
  }
  return TestRlbFile(rlb).Write(path);
}

int Run(int64_t records, std::string folder) {
  if (folder.empty()) {
    char pattern[] = "/tmp/graph_bench.XXXXXX";
    if (!::mkdtemp(pattern)) return 1;
    folder = pattern;
  }
  folder += "/";
  const std::string path = folder + "GRAPH.RLB";
  const pid_t child = ::fork();
  if (child == 0) ::_exit(WriteFile(path, records) ? 0 : 1);
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child || status != 0) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return 1;
  }

  qputenv("QT_QPA_PLATFORM", "offscreen");
  int argc = 1;
  char name[] = "graph_bench";
  char* argv[] = {name, nullptr};
  QApplication application(argc, argv);
  DefinitionDb db;
  if (!db.OpenDefault()) {
    std::fprintf(stderr, "cannot open %s\n", DefinitionDb::DefaultPath().c_str());
    return 1;
  }
  const double baseline = PeakMegabytes();

  auto start = Clock::now();
  double cpu = CpuMillis();
  GraphSource source;
  if (!source.Open(path, db, folder)) return 1;
  const double opened = Millis(start);
  const double openedCpu = CpuMillis() - cpu;
  TGraphView view(source, QStringLiteral("GRAPH.RLB"));
  view.resize(1600, 900);
  view.show();
  QApplication::processEvents();
  view.Redraw();
  view.grab();
  const double first = Millis(start);
  const double firstCpu = CpuMillis() - cpu;
  std::printf("records %lld, 8 channels (7 drawn), 1600x900\n", static_cast<long long>(records));
  std::printf(
      "first graph      %7.1f ms wall, %.1f ms CPU (analysis and index %.1f ms wall, %.1f ms "
      "CPU; index %.1f MB)\n",
      first, firstCpu, opened, openedCpu, static_cast<double>(source.IndexBytes()) / 1e6);

  std::vector<double> steps;
  cpu = CpuMillis();
  const double anchors[] = {0.5, 0.3, 0.7, 0.1, 0.9};
  for (int i = 0; i < 30; ++i) {
    start = Clock::now();
    view.ZoomAt(0.8, anchors[i % 5]);
    view.grab();
    steps.push_back(Millis(start));
  }
  for (int i = 0; i < 30; ++i) {
    start = Clock::now();
    view.ZoomAt(1.25, anchors[i % 5]);
    view.grab();
    steps.push_back(Millis(start));
  }
  const double stepsCpu = (CpuMillis() - cpu) / static_cast<double>(steps.size());
  std::sort(steps.begin(), steps.end());
  double sum = 0;
  for (double s : steps) sum += s;
  std::printf(
      "zoom step        %7.1f ms wall mean, %.1f ms median, %.1f ms worst; %.1f ms CPU mean "
      "(%zu steps)\n",
      sum / static_cast<double>(steps.size()), steps[steps.size() / 2], steps.back(), stepsCpu,
      steps.size());
  std::printf("peak memory      %7.1f MB (%.1f MB before opening the file)\n", PeakMegabytes(),
              baseline);
  ::unlink(path.c_str());
  ::rmdir(folder.c_str());
  return 0;
}

}  // namespace
}  // namespace tessaro

int main(int argc, char** argv) {
  const int64_t records = argc > 1 ? std::atoll(argv[1]) : 1000000;
  return tessaro::Run(records, argc > 2 ? argv[2] : "");
}

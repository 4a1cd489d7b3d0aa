// Ring collection throughput against the in-process simulator:
//   1. TCP on loopback, an 8 MiB ring in 1024-byte blocks: MB/s and CPU
//      seconds (the receiving thread, and the whole process including the
//      simulator's sending thread);
//   2. a pseudo-terminal with the simulator throttled to 115200 baud: data
//      bytes per second as a fraction of the wire limit (baud / 10).
// The ring phase is timed from the first to the last progress step of the
// ring's transfer, so the identity, area transfers and the CSV file are not
// part of the figure; the CSV writing is cancelled once the ring is in.
//
// usage: collect_bench [tcp|pty]...   (both when none given)

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "core/collect/ThredTess.h"
#include "core/line/LineContext.h"
#include "core/line/LineFacade.h"
#include "core/support/DefinitionDb.h"
#include "core/support/Messages.h"
#include "sim/SimServer.h"

namespace {

using namespace tessaro;
using Clock = std::chrono::steady_clock;

double CpuSeconds(int who) {
  rusage usage{};
  getrusage(who, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Notes when the ring's percentage first moves and when it reaches 100;
// cancels the CSV writing that follows.
class RingTimer : public ProgressReporter {
 public:
  void SetCaption(const std::string&) override {}
  void SetMessage(const std::string& message) override {
    std::lock_guard lock(mutex_);
    if (message == LoadMessage(MsgNewRingReading)) inRing_ = true;
    if (message == LoadMessage(MsgRlbManagementWriting)) {
      inRing_ = false;
      done_ = true;
    }
  }
  void FlashError(const std::string&) override {}
  void SetPercent(int percent) override {
    std::lock_guard lock(mutex_);
    if (!inRing_ || percent == 0) return;
    const Mark mark{Clock::now(), CpuSeconds(RUSAGE_THREAD), CpuSeconds(RUSAGE_SELF), percent};
    if (first_.percent == 0) first_ = mark;
    last_ = mark;
  }
  bool CancelRequested() const override {
    std::lock_guard lock(mutex_);
    return done_;
  }

  struct Mark {
    Clock::time_point when;
    double threadCpu = 0;
    double processCpu = 0;
    int percent = 0;
  };
  Mark First() const { return first_; }
  Mark Last() const { return last_; }

 private:
  mutable std::mutex mutex_;
  bool inRing_ = false;
  bool done_ = false;
  Mark first_;
  Mark last_;
};

sim::RecorderProfile RingProfile(int64_t ringBytes, std::optional<int> capability) {
  sim::RecorderProfile p = sim::DefaultProfile();
  p.capability = capability;
  sim::RingProfile ring;
  for (int c = 0; c < 8; ++c) ring.channels.push_back({1, 1001, -1, 1, 2});
  ring.records = ringBytes / ring.RecordSize();
  p.rings = {ring};
  p.dataAreaSize = ringBytes * 2;
  p.dataStart = 0;
  return p;
}

struct Outcome {
  double seconds = 0;
  double bytes = 0;
  double threadCpu = 0;
  double processCpu = 0;
};

bool Collect(sim::SimServer& server, const LineSettings& settings, int64_t ringBytes,
             Outcome& outcome) {
  LineContext line;
  ApplyLineSettings(line, settings);
  LineSetSlave(line, false, 0);
  LineFlowRtsCts(line);
  LineOpen(line);
  DefinitionDb db;
  db.Open(DefinitionDb::DefaultPath());
  const std::string folder = "/tmp/collect_bench_" + std::to_string(::getpid()) + "_";
  CollectionRequest request;
  request.rlbPath = folder + "ring.RLB";
  request.csvPath = folder + "ring.CSV";
  request.saveDataFile = false;
  request.programFolder = "/tmp/";
  RingTimer timer;
  const StepResult result = TThredTess::Run(line, request, db, timer);
  LineClose(line);
  server.Stop();
  const RingTimer::Mark first = timer.First();
  const RingTimer::Mark last = timer.Last();
  if (last.percent != 100 || first.percent == 0 ||
      result.message != LoadMessage(MsgCancelPressed)) {
    std::printf("  collection did not complete the ring: %s\n", result.message.c_str());
    return false;
  }
  outcome.seconds = std::chrono::duration<double>(last.when - first.when).count();
  outcome.bytes = static_cast<double>(ringBytes) * (last.percent - first.percent) / 100.0;
  outcome.threadCpu = last.threadCpu - first.threadCpu;
  outcome.processCpu = last.processCpu - first.processCpu;
  return true;
}

void Tcp() {
  constexpr int64_t kRing = 8 << 20;
  sim::SimServer server(RingProfile(kRing, 4));
  LineSettings settings;
  settings.ComPort = "TCP/IP";
  settings.IpAddr = "127.0.0.1";
  settings.IpPort = server.StartTcp();
  Outcome o;
  std::printf("TCP loopback, %lld-byte ring, 1024-byte blocks (xdm1k):\n",
              static_cast<long long>(kRing));
  if (!Collect(server, settings, kRing, o)) return;
  std::printf("  %.1f MB/s (%.0f bytes in %.3f s)\n", o.bytes / o.seconds / 1e6, o.bytes,
              o.seconds);
  std::printf("  CPU: receiving thread %.3f s, whole process with the simulator %.3f s\n",
              o.threadCpu, o.processCpu);
}

void Pty() {
  constexpr int kBaud = 115200;
  constexpr int64_t kRing = 160 << 10;
  sim::SimServer server(RingProfile(kRing, 4));
  LineSettings settings;
  settings.ComPort = server.StartPty();
  settings.Baud = kBaud;
  server.GetFaults().Set({.baud = kBaud});
  Outcome o;
  std::printf("pseudo-terminal at %d baud, %lld-byte ring, 1024-byte blocks (xdm1k):\n", kBaud,
              static_cast<long long>(kRing));
  if (!Collect(server, settings, kRing, o)) return;
  const double rate = o.bytes / o.seconds;
  std::printf("  %.0f data bytes/s = %.3f of the wire limit (%d bytes/s)\n", rate,
              rate / (kBaud / 10.0), kBaud / 10);
  std::printf("  CPU: receiving thread %.3f s in %.1f s\n", o.threadCpu, o.seconds);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> runs(argv + 1, argv + argc);
  if (runs.empty()) runs = {"tcp", "pty"};
  for (const std::string& run : runs) {
    if (run == "tcp")
      Tcp();
    else if (run == "pty")
      Pty();
    else
      std::fprintf(stderr, "unknown run %s (tcp, pty)\n", run.c_str());
  }
  return 0;
}

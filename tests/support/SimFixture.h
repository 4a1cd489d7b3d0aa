#pragma once
// The recorder simulator in-process, for integration tests that talk to a
// recorder over a real socket or pseudo-terminal:
//
//   tessaro::SimFixture sim("wind");        // a profile shipped in data/sim
//   int port = sim.StartTcp();              // 127.0.0.1:port
//   sim.Faults().Set({.dropBlock = 2});
//   auto expected = sim.Recorder().RingBytes(0);
//
// A profile that cannot be loaded fails the test and falls back to the
// default recorder.

#include <memory>
#include <string>
#include <vector>

#include "core/line/LineContext.h"
#include "sim/ProfileLoader.h"
#include "sim/SimServer.h"

namespace tessaro {

class SimFixture {
 public:
  explicit SimFixture(const std::string& profile = "default",
                      const std::vector<int>& slaveIds = {});
  explicit SimFixture(const sim::RecorderProfile& profile, const std::vector<int>& slaveIds = {});

  // Loads a profile by name or path; ADD_FAILURE and the default when it cannot.
  static sim::RecorderProfile Profile(const std::string& nameOrPath);

  // Short close and purge pauses for a serial line to the simulator: it
  // answers at once, so the pauses a real recorder needs only slow tests.
  static void UseQuickTiming(LineContext& line);

  int StartTcp() { return server_->StartTcp(0); }
  std::string StartPty() { return server_->StartPty(); }
  void Stop() { server_->Stop(); }

  sim::SimServer& Server() { return *server_; }
  sim::Recorder& Recorder(int slaveId = -1) { return server_->GetRecorder(slaveId); }
  sim::Faults& Faults() { return server_->GetFaults(); }

 private:
  std::unique_ptr<sim::SimServer> server_;
};

}  // namespace tessaro
